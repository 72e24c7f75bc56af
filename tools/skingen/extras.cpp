// The pieces around the rack: the footer strip, the maker's badge and its
// blank, the program icon and the hand cursor.
#include "draw_kit.h"
#include "painters.h"
#include "pixel_font.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace skin {

QImage paintFooter(int width, int height, int) {
  // The rack's plinth: a dark rail with two rubber feet.
  QImage image = blankImage(width, height);
  brushedMetal(image, image.rect(), QColor(30, 31, 34), 501, 4.0);
  QPainter p(&image);
  p.fillRect(QRect(0, 0, width, 1), QColor(255, 255, 255, 45));
  p.fillRect(QRect(0, height - 1, width, 1), QColor(0, 0, 0, 200));
  for (int x : {24, width - 24 - 40}) {
    p.fillRect(QRect(x, 2, 40, height - 3), QColor(12, 12, 13));
    p.fillRect(QRect(x, 2, 40, 1), QColor(60, 60, 64));
  }
  return image;
}

QImage paintLogo(int width, int height, int withName) {
  // A brushed badge; the maker's name is engraved only in OEMLOGOBMP.
  QImage image = blankImage(width, height);
  brushedMetal(image, image.rect().adjusted(1, 1, -1, -1), QColor(150, 152, 157), 511, 5.0);
  QPainter p(&image);
  p.setPen(QColor(12, 12, 14));
  p.drawRect(image.rect().adjusted(0, 0, -1, -1));
  bevel(p, image.rect().adjusted(1, 1, -1, -1), true);
  if (withName)
    engraveText(p, QRectF(image.rect()), Qt::AlignCenter, QStringLiteral("QUORVIN"), sansFont(15, true, true));
  return image;
}

namespace {

// At menu size the drawing below smears into grey: the same three units set
// pixel by pixel on a 16-pixel grid, each a dark frame round two rows of detail.
QImage paintRackIconSmall(int width, int height) {
  QImage grid(16, 16, QImage::Format_ARGB32);
  grid.fill(Qt::transparent);
  QPainter p(&grid);
  const QColor frame(10, 10, 12), face_top(104, 106, 112), face_bottom(58, 60, 66), glass(0, 0, 0);
  const QColor silver(205, 207, 212);
  for (int top : {1, 6, 11}) {
    p.fillRect(QRect(1, top, 14, 4), frame);
    p.fillRect(QRect(2, top + 1, 12, 1), face_top);
    p.fillRect(QRect(2, top + 2, 12, 1), face_bottom);
  }
  // Meter bridge: a window with bars, two knobs.
  p.fillRect(QRect(2, 2, 7, 2), glass);
  for (int x : {3, 5, 7}) p.fillRect(QRect(x, x == 5 ? 2 : 3, 1, x == 5 ? 2 : 1), ink::ledGreen);
  p.fillRect(QRect(8, 2, 1, 2), ink::ledAmber);
  p.fillRect(QRect(10, 2, 1, 2), silver);
  p.fillRect(QRect(12, 2, 1, 2), silver);
  // Cassette deck: two windows with two reels each.
  for (int x : {2, 9}) {
    p.fillRect(QRect(x, 7, 5, 2), glass);
    p.fillRect(QRect(x + 1, 7, 1, 2), silver);
    p.fillRect(QRect(x + 3, 7, 1, 2), silver);
  }
  // CD: the orange display and three keys.
  p.fillRect(QRect(2, 12, 6, 2), glass);
  for (int x : {3, 5}) p.fillRect(QRect(x, 12, 1, 2), ink::lcdOrange);
  for (int x : {9, 11, 13}) p.fillRect(QRect(x, 12, 1, 2), silver);
  p.end();
  return grid.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace

QImage paintRackIcon(int width, int height, int) {
  // Three stacked units in miniature: a meter bridge, a cassette deck, a CD.
  if (width <= 16 && height <= 16) return paintRackIconSmall(width, height);
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(width / 32.0, height / 32.0);
  const QRectF units[] = {{2, 3, 28, 8}, {2, 12, 28, 8}, {2, 21, 28, 8}};
  for (const QRectF& u : units) {
    QLinearGradient metal(u.topLeft(), u.bottomLeft());
    metal.setColorAt(0, QColor(96, 98, 104));
    metal.setColorAt(1, QColor(40, 41, 45));
    p.setPen(QPen(QColor(10, 10, 12), 0.6));
    p.setBrush(metal);
    p.drawRoundedRect(u, 1.2, 1.2);
  }
  p.setPen(Qt::NoPen);
  // Meter bridge: a black window with green and amber bars.
  p.setBrush(Qt::black);
  p.drawRect(QRectF(4, 4.5, 14, 5));
  for (int i = 0; i < 6; ++i) {
    p.setBrush(i == 4 ? ink::ledAmber : ink::ledGreen);
    p.drawRect(QRectF(5 + i * 2.2, 9.5 - (2 + (i * 7) % 4), 1.4, 2 + (i * 7) % 4));
  }
  // Cassette deck: two windows with reels.
  for (double x : {4.0, 17.0}) {
    p.setBrush(Qt::black);
    p.drawRect(QRectF(x, 13.5, 11, 5));
    p.setBrush(QColor(200, 202, 208));
    p.drawEllipse(QPointF(x + 3, 16), 1.6, 1.6);
    p.drawEllipse(QPointF(x + 8, 16), 1.6, 1.6);
  }
  // CD: an orange display and the silver keys.
  p.setBrush(Qt::black);
  p.drawRect(QRectF(4, 22.5, 12, 5));
  p.setBrush(ink::lcdOrange);
  p.drawRect(QRectF(5.5, 24, 2, 2.5));
  p.drawRect(QRectF(8.5, 24, 2, 2.5));
  p.drawRect(QRectF(12, 24, 2, 2.5));
  p.setBrush(QColor(190, 192, 198));
  for (int i = 0; i < 3; ++i) p.drawRect(QRectF(18 + i * 3.8, 24, 3.2, 3));
  // Knobs on the first unit.
  p.drawEllipse(QPointF(22, 7), 2.2, 2.2);
  p.drawEllipse(QPointF(27, 7), 2.2, 2.2);
  return image;
}

QImage paintHandCursor(int width, int height, int) {
  // A pointing hand, black outline on white, index finger up; its tip is
  // the hot spot (kHandCursorHotSpot).
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  QPainterPath hand;
  hand.moveTo(9.5, 4);
  hand.cubicTo(9.5, 1.2, 13.5, 1.2, 13.5, 4);       // index finger tip
  hand.lineTo(13.5, 12.5);
  hand.cubicTo(13.5, 10.5, 17.5, 10.5, 17.5, 12.5);  // middle finger
  hand.lineTo(17.5, 13.5);
  hand.cubicTo(17.5, 11.5, 21.5, 11.5, 21.5, 13.5);  // ring finger
  hand.lineTo(21.5, 14.5);
  hand.cubicTo(21.5, 12.5, 25.5, 12.5, 25.5, 14.5);  // little finger
  hand.lineTo(25.5, 22);
  hand.cubicTo(25.5, 26, 23.5, 29, 21, 30);
  hand.lineTo(12, 30);
  hand.cubicTo(10, 28, 6, 23, 4.2, 19.5);            // heel of the hand
  hand.cubicTo(3, 17, 5.5, 15, 7.5, 17);             // thumb
  hand.lineTo(9.5, 19);
  hand.closeSubpath();
  p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPath(hand);
  p.setPen(QPen(Qt::black, 1.0));
  for (double x : {13.5, 17.5, 21.5}) p.drawLine(QPointF(x, 13.5), QPointF(x, 18));
  return image;
}

}  // namespace skin
