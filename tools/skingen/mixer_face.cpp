// The mixer: six pairs of level meters behind one black window, the channel
// names under them, the switch column on its own satin plate, and the
// volume, balance and channel keys on the right.
#include "draw_kit.h"
#include "face_kit.h"
#include "painters.h"
#include "pixel_font.h"
#include "rack_layout.h"

#include <array>

namespace skin {
namespace {

// The channels' names, in the order of the rack's channel faces.
constexpr const char* kChannelNames[] = {"MASTER", "MIDI", "WAVE", "CD", "LINE", "MIC"};
static_assert(std::size(kChannelNames) == std::size(kChannelFaces));
// The switch column's labels, in the order of its rows.
constexpr const char* kSwitchNames[] = {"MIDI", "WAVE", "CD", "MUTE", "3D"};
static_assert(std::size(kSwitchNames) == std::size(kSwitchRows));

const QRect kMeterWindow(50, 20, 229, 68);
// The satin plate of the switch column; its grain runs vertically, so a
// label or lamp looks the same at either of its two heights.
const QRect kSwitchPlate(281, 8, 75, 96);
const QColor kSelectedLabel = ink::ledAmber;

// The face without the channel names: the ground the labels are cut from.
const QImage& bareFace() {
  static const QImage face = [] {
    QImage image = moduleFace(kFaceWidth, face_height(Module::Mixer) + 1, 101, {55});
    verticalBrushedMetal(image, kSwitchPlate, ink::plateMetal, 102);
    QPainter p(&image);
    bevel(p, kSwitchPlate, true, 1, 100);
    lcdWindow(p, kMeterWindow, 3);
    // Unlit segments and a graduation between the meters, so the face reads
    // as a meter bridge even before the levels are drawn.
    for (const ChannelFace& ch : kChannelFaces)
      for (int side = 0; side < 2; ++side)
        for (int s = 0; s < kMeterSegments; ++s)
          p.fillRect(ch.meter_left + side * ch.right_offset, ch.meter_top + s * kSegmentPitch, ch.segment_width,
                     ch.segment_height, QColor(12, 30, 14));
    for (int s = 0; s <= kMeterSegments; s += 4) {
      const int y = kChannelFaces[0].meter_top + s * kSegmentPitch - 1;
      for (int x : {92, 129, 165, 201, 238}) p.fillRect(x, y, 5, 1, QColor(70, 72, 78));
    }
    printPixelTextCentred(p, QRect(386, 14, 33, 7), "L", ink::print);
    printPixelTextCentred(p, QRect(419, 14, 63, 7), "VOLUME", ink::print);
    printPixelTextCentred(p, QRect(482, 14, 33, 7), "R", ink::print);
    lcdWindow(p, toQRect(kBalanceScale), 2);
    printPixelTextCentred(p, QRect(419, 53, 63, 7), "BALANCE", ink::printDim);
    printPixelTextCentred(p, QRect(366, 73, 44, 7), "CHANNEL", ink::printDim);
    buttonHoles(p, Module::Mixer);
    printText(p, QRectF(380, 86, 172, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("QUORVIN"),
              sansFont(15, true, true), ink::print);
    printPixelTextCentred(p, QRect(380, 92, 90, 7), "AUDIO MIXER", ink::printDim);
    return image;
  }();
  return face;
}

QImage labelled(std::size_t channel, bool selected) {
  const QRect label = toQRect(kChannelFaces[channel].label);
  QImage image = bareFace().copy(label.adjusted(-1, -1, 2, 2));
  QPainter p(&image);
  printPixelTextCentred(p, QRect(1, 1, label.width(), label.height()), kChannelNames[channel],
                        selected ? kSelectedLabel : ink::printDim);
  return image.copy(1, 1, label.width(), label.height());
}

}  // namespace

QImage paintMixerFace(int, int, int) {
  QImage image = bareFace().copy();
  QPainter p(&image);
  for (std::size_t c = 0; c < std::size(kChannelFaces); ++c)
    p.drawImage(toQRect(kChannelFaces[c].label).topLeft(), labelled(c, false));
  return image;
}

QImage paintChannelLabel(int, int, int bitmap) {
  for (std::size_t c = 0; c < std::size(kChannelFaces); ++c) {
    if (bitmap == kChannelFaces[c].label_unselected) return labelled(c, false);
    if (bitmap == kChannelFaces[c].label_selected) return labelled(c, true);
  }
  return {};
}

QImage paintSwitchLabel(int width, int height, int bitmap) {
  for (std::size_t i = 0; i < std::size(kSwitchRows); ++i) {
    if (kSwitchRows[i].label != bitmap) continue;
    // Cut from the satin plate (any height will do), then printed.
    QImage image = bareFace().copy(kSwitchRows[i].label_left, 40, width, height);
    QPainter p(&image);
    printPixelTextCentred(p, QRect(0, 0, width, height), kSwitchNames[i], ink::print);
    return image;
  }
  return {};
}

QImage paintMeterSegment(int width, int height, int bitmap) {
  QImage image = blankImage(width, height);
  QPainter p(&image);
  const int kind = (bitmap - 201) % 3;  // lit, dark, lit while muted
  const QColor colours[] = {ink::ledGreen, QColor(12, 30, 14), QColor(150, 96, 30)};
  p.fillRect(image.rect(), colours[kind]);
  if (kind != 1) p.fillRect(QRect(0, 1, width, 1), colours[kind].darker(125));
  return image;
}

QImage paintSwitchLamp(int width, int height, int bitmap) {
  QImage image = bareFace().copy(307, 40, width, height);
  QPainter p(&image);
  led(p, image.rect(), ink::ledGreen, bitmap == 212);
  return image;
}

QImage paintBalanceScale(int width, int height, int) {
  QImage image = blankImage(width, height);
  QPainter p(&image);
  // Ticks every five pixels out from the centre, along the top and bottom
  // rows; the marker runs between them.
  const int centre = width / 2;
  for (int k = -4; k <= 4; ++k) {
    const QColor tick = k == 0 ? QColor(0, 170, 190) : QColor(80, 82, 88);
    p.fillRect(centre + 5 * k, 0, 1, 1, tick);
    p.fillRect(centre + 5 * k, height - 1, 1, 1, tick);
  }
  for (int x : {1, width - 1}) p.fillRect(x, 0, 1, height, QColor(120, 122, 128));
  return image;
}

}  // namespace skin
