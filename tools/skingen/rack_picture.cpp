#include "rack_picture.h"

#include "art_table.h"
#include "draw_kit.h"
#include "rack_layout.h"
#include "resources/geometry.h"
#include "resources/ids/bitmaps.h"

#include <QFont>
#include <QPainter>
#include <map>
#include <string>

namespace skin {
namespace {

constexpr RackLayout kLayouts[] = {
    {"rack-all", true, true, true},
    {"rack-cd", false, false, true},
    {"rack-wave-cd", false, true, true},
    {"rack-midi", true, false, false},
    {"rack-mixer", false, false, false},
};

class Art {
 public:
  const QImage& operator()(const std::string& name) {
    auto it = cache_.find(name);
    if (it == cache_.end()) {
      const ArtEntry* entry = findArt(name);
      it = cache_.emplace(name, entry ? renderArt(*entry) : QImage()).first;
    }
    return it->second;
  }
  const QImage& operator()(int number) { return (*this)(std::to_string(number)); }

 private:
  std::map<std::string, QImage> cache_;
};

void drawMixerState(QPainter& p, Art& art, const RackLayout& l) {
  // Switch column with the 3D unit present: labels, then lamps.
  const struct { int label, x, y, lampY; bool lit; } rows[] = {
      {277, 283, 33, 36, l.midi}, {278, 283, 51, 53, l.wave}, {279, 289, 69, 71, l.cd},
      {280, 283, 87, 89, false},  {276, 289, 15, 17, true},
  };
  for (const auto& r : rows) {
    p.drawImage(r.x, r.y, art(r.label));
    p.drawImage(307, r.lampY, art(r.lit ? 212 : 210));
  }
  p.drawImage(55, 91, art(190));  // master selected
  // Levels of the six channels (left, right), in lit segments.
  const struct { int x, offset, lit, dark, left, right; } meters[] = {
      {57, 18, 201, 202, 12, 12}, {104, 12, 204, 205, 10, 10}, {140, 12, 204, 205, 13, 11},
      {176, 12, 204, 205, 14, 14}, {212, 12, 204, 205, 4, 4},  {253, 12, 204, 205, 0, 0},
  };
  for (const auto& m : meters) {
    for (int side = 0; side < 2; ++side) {
      const int lit = side ? m.right : m.left;
      for (int s = 0; s < 16; ++s)
        p.drawImage(m.x + side * m.offset, 24 + s * 4, art(s < 16 - lit ? m.dark : m.lit));
    }
  }
  p.drawImage(427, 43, art(231));
  p.fillRect(450, 44, 1, 4, QColor(0, 255, 255));
}

// Playing track 3 of a program at 2:47, repeat all, the track's title on the line.
void drawCdState(QPainter& p, Art& art, int top) {
  const int digits[] = {0, 3, 0, 2, 4, 7};
  for (int i = 0; i < 6; ++i) p.drawImage(kCdDigitLefts[i], top + kCdDigitTop, art(BMP_CD_DIGIT_0 + digits[i]));
  p.drawImage(kCdStateIcon.left, top + kCdStateIcon.top, art(BMP_CD_STATE_PLAY));
  p.drawImage(kCdModeIndicator.left, top + kCdModeIndicator.top, art(BMP_CD_MODE_PROGRAM));
  p.drawImage(kCdRepeatIndicator.left, top + kCdRepeatIndicator.top, art(BMP_CD_REPEAT_ALL));
  QFont grid(QStringLiteral("Liberation Serif"));
  grid.setPixelSize(12);
  p.setFont(grid);
  const int program[] = {2, 5, 3, 9, 11, 1, 7};
  for (int k = 0; k < kCdGridPage; ++k) {
    const QRect cell(kCdGridLefts[k % 4], top + kCdGridTops[k / 4], kCdGridCell, kCdGridCell);
    p.setPen(k == 2 ? QColor(255, 0, 0) : QColor(255, 255, 0));
    if (k < 7) p.drawText(cell, Qt::AlignHCenter | Qt::AlignTop, QString::number(program[k]));
  }
  p.setPen(QColor(255, 255, 0));
  p.drawText(QRect(kCdTitleLine.left, top + kCdTitleLine.top, kCdTitleLine.width, kCdTitleLine.height),
             Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Night Drive"));
}

}  // namespace

std::span<const RackLayout> rackLayouts() { return kLayouts; }

RackTops rackTops(const RackLayout& l) {
  RackTops t{};
  t.midi = face_height(Module::Mixer);
  t.wave = t.midi + (l.midi ? face_height(Module::Midi) : 0);
  t.cd = t.wave + (l.wave ? face_height(Module::Wave) : 0);
  t.bottom = t.cd + (l.cd ? face_height(Module::Cd) : 0);
  return t;
}

QImage rackPicture(const RackLayout& layout) {
  static Art art;
  const RackTops t = rackTops(layout);
  QImage image(kRackWidth, t.bottom, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const bool shown[] = {true, layout.midi, layout.wave, layout.cd};
  const int tops[] = {0, t.midi, t.wave, t.cd};
  for (std::size_t i = 0; i < std::size(kModuleFaces); ++i)
    if (shown[i]) p.drawImage(QPoint(0, tops[i]), art(kModuleFaces[i].bitmap), QRect(0, 0, kRackWidth, kModuleFaces[i].height));

  for (const ButtonPlace& b : rackButtons()) {
    int top = 0;
    switch (b.module) {
      case Module::Mixer: top = 0; break;
      case Module::Midi: if (!layout.midi) continue; top = t.midi; break;
      case Module::Wave: if (!layout.wave) continue; top = t.wave; break;
      case Module::Cd: if (!layout.cd) continue; top = t.cd; break;
      case Module::Window: top = 0; break;
    }
    QRect r = b.rect(true).translated(0, top);
    if (b.command == kPowerCommand) r.moveTop(t.bottom - kPowerOffsetFromBottom);
    p.drawImage(r.topLeft(), art(b.upBitmap), QRect(0, 0, r.width(), r.height()));
  }

  drawMixerState(p, art, layout);
  if (layout.cd) drawCdState(p, art, t.cd);
  return image;
}

}  // namespace skin
