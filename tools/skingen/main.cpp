// skingen OUTDIR         writes every skin bitmap as OUTDIR/<name>.png
// skingen --rack OUTDIR  writes a picture of the rack for each module layout
// skingen --icons OUTDIR NAME  writes the program icon at the desktop's usual
//                              sizes as OUTDIR/<n>x<n>/apps/NAME.png (the hicolor theme's layout)
#include "art_table.h"
#include "draw_kit.h"
#include "painters.h"
#include "rack_picture.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <exception>

namespace {

int usage() {
  std::fprintf(stderr, "usage: skingen OUTDIR | skingen --rack OUTDIR | skingen --icons OUTDIR NAME\n");
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

// The sizes desktops look for in the hicolor theme, menus (16-24) to software centres (128-256).
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

int writeIcons(const QDir& dir, const QString& name) {
  for (int size : kIconSizes) {
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    if (!dir.mkpath(folder)) {
      std::fprintf(stderr, "skingen: cannot create %s\n", qPrintable(dir.filePath(folder)));
      return 1;
    }
    if (!save(skin::paintRackIcon(size, size, 0), dir.filePath(folder + "/" + name + ".png"))) return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  const bool rack = !args.isEmpty() && args.first() == QLatin1String("--rack");
  const bool icons = !args.isEmpty() && args.first() == QLatin1String("--icons");
  if (icons) {
    if (args.size() != 3 || !QDir().mkpath(args[1])) return usage();
    return writeIcons(QDir(args[1]), args[2]);
  }
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
