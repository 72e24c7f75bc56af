// The mixer: six pairs of level meters behind one black window, the channel
// names under them, the switch column on its own satin plate, and the
// volume, balance and channel keys on the right.
#include "draw_kit.h"
#include "face_kit.h"
#include "painters.h"
#include "pixel_font.h"

#include <array>

namespace skin {
namespace {

struct Channel {
  const char* name;
  QRect label;      // where the name is printed
  int meterLeft;    // x of the left meter
  int segmentWidth;
  int rightOffset;  // x of the right meter relative to the left one
  int unselected, selected;
};

constexpr int kMeterTop = 24;
constexpr int kSegments = 16;
constexpr int kSegmentPitch = 4;

const std::array<Channel, 6> kChannels = {{
    {"MASTER", {55, 91, 35, 9}, 57, 13, 18, 189, 190},
    {"MIDI", {103, 91, 22, 9}, 104, 9, 12, 191, 192},
    {"WAVE", {139, 91, 23, 9}, 140, 9, 12, 193, 194},
    {"CD", {181, 91, 11, 9}, 176, 9, 12, 195, 196},
    {"LINE", {211, 91, 23, 9}, 212, 9, 12, 197, 198},
    {"MIC", {249, 91, 17, 9}, 253, 9, 12, 199, 200},
}};

struct SwitchLabel {
  int bitmap;
  const char* text;
  int left;
};
constexpr SwitchLabel kSwitchLabels[] = {
    {276, "3D", 289}, {277, "MIDI", 283}, {278, "WAVE", 283}, {279, "CD", 289}, {280, "MUTE", 283},
};

const QRect kMeterWindow(50, 20, 229, 68);
// The satin plate of the switch column; its grain runs vertically, so a
// label or lamp looks the same at either of its two heights.
const QRect kSwitchPlate(281, 8, 75, 96);
const QRect kBalanceScale(427, 43, 46, 6);
const QColor kSelectedLabel = ink::ledAmber;

// The face without the channel names: the ground the labels are cut from.
const QImage& bareFace() {
  static const QImage face = [] {
    QImage image = moduleFace(577, 110, 101, {55});
    verticalBrushedMetal(image, kSwitchPlate, ink::plateMetal, 102);
    QPainter p(&image);
    bevel(p, kSwitchPlate, true, 1, 100);
    lcdWindow(p, kMeterWindow, 3);
    // Unlit segments and a graduation between the meters, so the face reads
    // as a meter bridge even before the levels are drawn.
    for (const Channel& ch : kChannels)
      for (int side = 0; side < 2; ++side)
        for (int s = 0; s < kSegments; ++s)
          p.fillRect(ch.meterLeft + side * ch.rightOffset, kMeterTop + s * kSegmentPitch, ch.segmentWidth, 2,
                     QColor(12, 30, 14));
    for (int s = 0; s <= kSegments; s += 4) {
      const int y = kMeterTop + s * kSegmentPitch - 1;
      for (int x : {92, 129, 165, 201, 238}) p.fillRect(x, y, 5, 1, QColor(70, 72, 78));
    }
    printPixelTextCentred(p, QRect(386, 14, 33, 7), "L", ink::print);
    printPixelTextCentred(p, QRect(419, 14, 63, 7), "VOLUME", ink::print);
    printPixelTextCentred(p, QRect(482, 14, 33, 7), "R", ink::print);
    lcdWindow(p, kBalanceScale, 2);
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

QImage labelled(const Channel& ch, bool selected) {
  QImage image = bareFace().copy(ch.label.adjusted(-1, -1, 2, 2));
  QPainter p(&image);
  printPixelTextCentred(p, QRect(1, 1, ch.label.width(), ch.label.height()), ch.name,
                        selected ? kSelectedLabel : ink::printDim);
  return image.copy(1, 1, ch.label.width(), ch.label.height());
}

}  // namespace

QImage paintMixerFace(int, int, int) {
  QImage image = bareFace().copy();
  QPainter p(&image);
  for (const Channel& ch : kChannels) p.drawImage(ch.label.topLeft(), labelled(ch, false));
  return image;
}

QImage paintChannelLabel(int, int, int bitmap) {
  for (const Channel& ch : kChannels) {
    if (bitmap == ch.unselected) return labelled(ch, false);
    if (bitmap == ch.selected) return labelled(ch, true);
  }
  return {};
}

QImage paintSwitchLabel(int width, int height, int bitmap) {
  for (const SwitchLabel& label : kSwitchLabels) {
    if (label.bitmap != bitmap) continue;
    // Cut from the satin plate (any height will do), then printed.
    QImage image = bareFace().copy(label.left, 40, width, height);
    QPainter p(&image);
    printPixelTextCentred(p, QRect(0, 0, width, height), label.text, ink::print);
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
