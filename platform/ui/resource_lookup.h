#pragma once
// Shared by the loaders of menus, accelerators, cursors and icons.
#include "platform/ui/resources.h"

#include <QVector>

namespace ui_resources {
struct StoredBitmap {
  QImage image;          // 32-bit pixels
  QVector<QRgb> colors;  // colour table of an indexed source, else empty
};
StoredBitmap find_stored_bitmap(LPCSTR name);
bool matches(const ResourceId& id, LPCSTR name);
const ResourceTables& tables();
}  // namespace ui_resources
