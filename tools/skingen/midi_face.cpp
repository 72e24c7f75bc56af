// The MIDI deck: one wide LCD with the sequencer picture, transport keys and
// search and volume keys. The two LCD faces are cut from this face, so they
// match it to the pixel wherever they are drawn.
#include "draw_kit.h"
#include "face_kit.h"
#include "painters.h"
#include "pixel_font.h"
#include "rack_layout.h"
#include "symbols.h"

#include <QPainterPath>

namespace skin {
namespace {

const QRect kLcd = toQRect(kMidiDeckFace.lcd);
const QRect kLcdFace = toQRect(kMidiDeckFace.display);  // where the two LCD faces go
const QPoint kAnimation = toQRect(kMidiDeckFace.animation).topLeft();
// The key that opens the MIDI menu, one pixel inside its click spot's right edge.
const QRect kMenuKey = toQRect(kMidiDeckFace.menu).adjusted(0, 0, -1, 0);

// The face with an empty LCD.
const QImage& bareFace() {
  static const QImage face = [] {
    QImage image = moduleFace(kFaceWidth, face_height(Module::Midi) + 1, 201, {12});
    QPainter p(&image);
    lcdWindow(p, kLcd, 3);
    p.end();
    paintedKey(image, kMenuKey, 202);
    p.begin(&image);
    engraveSymbol(p, Symbol::Note, QRectF(kMenuKey).adjusted(8, 5, -9, -5));
    printPixelTextCentred(p, QRect(444, 21, 55, 7), "SEARCH", ink::printDim);
    printPixelTextCentred(p, QRect(499, 21, 54, 7), "VOLUME", ink::printDim);
    buttonHoles(p, Module::Midi);
    caption(p, QStringLiteral("MIDI SEQUENCER"), 3);
    return image;
  }();
  return face;
}

// A MIDI socket in LCD cyan: the ring and its five pins.
void midiSocket(QPainter& p, QPointF c) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(ink::lcdCyan, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, 9.5, 9.5);
  p.setPen(Qt::NoPen);
  p.setBrush(ink::lcdCyan);
  for (double deg : {180.0, 225.0, 270.0, 315.0, 0.0}) {
    const double a = deg * M_PI / 180.0;
    p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * 5.5, 1.3, 1.3);
  }
  p.fillRect(QRectF(c.x() - 1.5, c.y() + 7.5, 3, 2), ink::lcdCyan);
  p.restore();
}

// The LCD's picture while the file information is hidden.
QImage pictureFace() {
  QImage image = bareFace().copy();
  QPainter p(&image);
  midiSocket(p, QPointF(64.5, 27.5));
  p.drawImage(kAnimation, paintMidiAnimation(kMidiDeckFace.animation.width, kMidiDeckFace.animation.height, 0));
  printText(p, QRectF(128, 15, 136, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("GENERAL MIDI"),
            sansFont(11, true), ink::lcdYellow);
  drawPixelText(p, 129, 31, "SEQUENCER", QColor(0, 200, 220));
  return image;
}

}  // namespace

QImage paintMidiFace(int, int, int) { return pictureFace(); }

QImage paintMidiLcdFace(int, int, int bitmap) {
  return bitmap == BMP_MIDI_FACE_INFO ? bareFace().copy(kLcdFace) : pictureFace().copy(kLcdFace);
}

}  // namespace skin
