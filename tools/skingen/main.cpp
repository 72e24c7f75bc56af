// skingen OUTDIR         writes every skin bitmap as OUTDIR/<name>.png
// skingen --rack OUTDIR  writes a picture of the rack for each module layout
#include "art_table.h"
#include "draw_kit.h"
#include "rack_picture.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <exception>

namespace {

int usage() {
  std::fprintf(stderr, "usage: skingen OUTDIR | skingen --rack OUTDIR\n");
  return 2;
}

bool save(const QImage& image, const QString& path) {
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
  return false;
}

int writeArt(const QDir& dir) {
  for (const skin::ArtEntry& entry : skin::artTable())
    if (!save(skin::renderArt(entry), dir.filePath(skin::artFileName(entry)))) return 1;
  return 0;
}

int writeRacks(const QDir& dir) {
  for (const skin::RackLayout& layout : skin::rackLayouts())
    if (!save(skin::rackPicture(layout), dir.filePath(QString::fromLatin1(layout.name) + ".png"))) return 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  const bool rack = !args.isEmpty() && args.first() == QLatin1String("--rack");
  if (args.size() != (rack ? 2 : 1)) return usage();

  QString error;
  if (!skin::loadArtFonts(error)) {
    std::fprintf(stderr, "skingen: %s\n", qPrintable(error));
    return 1;
  }
  const QString out = args.last();
  if (!QDir().mkpath(out)) {
    std::fprintf(stderr, "skingen: cannot create %s\n", qPrintable(out));
    return 1;
  }
  try {
    return rack ? writeRacks(QDir(out)) : writeArt(QDir(out));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
}
