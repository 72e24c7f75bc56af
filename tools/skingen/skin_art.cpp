#include "skin_art.h"

#include <QFile>

namespace skin_art {

bool available() { return QFile::exists(QStringLiteral(":/skin/MIXERBMP.png")); }

}  // namespace skin_art
