// The drawing helpers the art is built from: deterministic noise, metal
// grain, bevel light direction, LCD windows, the pixel fonts and the symbols.
#include "art_test_app.h"
#include "draw_kit.h"
#include "pixel_font.h"
#include "symbols.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using skin::PixelFont;

TEST(Noise, RepeatsForASeedAndStaysInRange) {
  skin::Noise a(7), b(7), c(8);
  double sum = 0;
  bool differs = false;
  for (int i = 0; i < 10000; ++i) {
    const double va = a.signedUnit();
    ASSERT_EQ(va, b.signedUnit());
    differs |= va != c.signedUnit();
    ASSERT_GE(va, -1.0);
    ASSERT_LE(va, 1.0);
    sum += va;
  }
  EXPECT_TRUE(differs);
  EXPECT_NEAR(sum / 10000, 0.0, 0.03);
}

TEST(BrushedMetal, KeepsTheBaseColourOnAverageAndFollowsTheSeed) {
  QImage a = skin::blankImage(200, 40), b = a, c = a;
  skin::brushedMetal(a, a.rect(), QColor(60, 60, 60), 1);
  skin::brushedMetal(b, b.rect(), QColor(60, 60, 60), 1);
  skin::brushedMetal(c, c.rect(), QColor(60, 60, 60), 2);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_NEAR(meanLuma(a), 60.0, 3.0);
  // Grain runs along the rows: neighbours in a row are closer than in a column.
  double alongRow = 0, acrossRows = 0;
  for (int y = 0; y + 1 < 40; ++y)
    for (int x = 0; x + 1 < 200; ++x) {
      alongRow += std::abs(qGray(a.pixel(x, y)) - qGray(a.pixel(x + 1, y)));
      acrossRows += std::abs(qGray(a.pixel(x, y)) - qGray(a.pixel(x, y + 1)));
    }
  EXPECT_LT(alongRow, acrossRows);
}

TEST(BrushedMetal, StaysInsideItsRectangle) {
  QImage image = skin::blankImage(50, 20);
  skin::brushedMetal(image, QRect(10, 5, 20, 5), QColor(100, 100, 100), 3);
  EXPECT_EQ(image.pixel(9, 7) & 0xFFFFFF, 0u);
  EXPECT_EQ(image.pixel(30, 7) & 0xFFFFFF, 0u);
  EXPECT_EQ(image.pixel(15, 4) & 0xFFFFFF, 0u);
  EXPECT_NE(image.pixel(15, 7) & 0xFFFFFF, 0u);
}

TEST(VerticalBrushedMetal, EveryRowIsTheSame) {
  QImage image = skin::blankImage(40, 30);
  skin::verticalBrushedMetal(image, image.rect(), QColor(70, 70, 70), 5);
  for (int y = 1; y < 30; ++y) ASSERT_EQ(image.copy(0, y, 40, 1), image.copy(0, 0, 40, 1)) << y;
}

TEST(Bevel, LightComesFromTheTopLeft) {
  for (bool raised : {true, false}) {
    QImage image = skin::blankImage(20, 20);
    image.fill(QColor(100, 100, 100));
    QPainter p(&image);
    skin::bevel(p, image.rect(), raised);
    p.end();
    const int topLeft = qGray(image.pixel(5, 0)) + qGray(image.pixel(0, 5));
    const int bottomRight = qGray(image.pixel(5, 19)) + qGray(image.pixel(19, 5));
    if (raised)
      EXPECT_GT(topLeft, bottomRight);
    else
      EXPECT_LT(topLeft, bottomRight);
    EXPECT_EQ(qGray(image.pixel(10, 10)), 100) << "the inside stays untouched";
  }
}

TEST(LcdWindow, IsPureBlackInsideAndFramedOutside) {
  QImage image = skin::blankImage(40, 30);
  image.fill(QColor(90, 90, 90));
  QPainter p(&image);
  skin::lcdWindow(p, QRect(10, 8, 20, 12), 2);
  p.end();
  for (int y = 8; y < 20; ++y)
    for (int x = 10; x < 30; ++x) ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, 0u) << x << "," << y;
  EXPECT_NE(image.pixel(8, 12) & 0xFFFFFF, 0u);
  EXPECT_EQ(qGray(image.pixel(7, 12)), 90) << "the lip is only as wide as asked";
}

TEST(PixelFont, MeasuresTheNamesToFitTheirPlaces) {
  // Channel and switch labels have fixed rectangles on the mixer.
  EXPECT_LE(skin::pixelTextWidth(PixelFont::Label5x7, "MASTER"), 35);
  EXPECT_LE(skin::pixelTextWidth(PixelFont::Label5x7, "MIDI"), 22);
  EXPECT_LE(skin::pixelTextWidth(PixelFont::Label5x7, "WAVE"), 23);
  EXPECT_LE(skin::pixelTextWidth(PixelFont::Label5x7, "CD"), 11);
  EXPECT_LE(skin::pixelTextWidth(PixelFont::Label5x7, "LINE"), 23);
  EXPECT_LE(skin::pixelTextWidth(PixelFont::Label5x7, "MIC"), 17);
  EXPECT_LE(skin::pixelTextWidth(PixelFont::Label5x7, "MUTE"), 23);
  EXPECT_LE(skin::pixelTextWidth(PixelFont::Label5x7, "3D"), 11);
  EXPECT_LE(skin::pixelTextWidth(PixelFont::Tiny4x5, "PROGRAM"), 39);
  EXPECT_EQ(skin::pixelTextWidth(PixelFont::Label5x7, ""), 0);
  EXPECT_EQ(skin::pixelTextHeight(PixelFont::Label5x7), 7);
  EXPECT_EQ(skin::pixelTextHeight(PixelFont::Tiny4x5), 5);
}

TEST(PixelFont, DrawsExactlyTheGlyphsPixels) {
  QImage image = skin::blankImage(10, 9);
  QPainter p(&image);
  skin::drawPixelText(p, 1, 1, "L", Qt::white);
  p.end();
  // "L": a 7-pixel stem and a 4-pixel foot.
  int lit = 0;
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 10; ++x) lit += qGray(image.pixel(x, y)) == 255;
  EXPECT_EQ(lit, 10);
  for (int y = 1; y <= 7; ++y) EXPECT_EQ(qGray(image.pixel(1, y)), 255);
  for (int x = 1; x <= 4; ++x) EXPECT_EQ(qGray(image.pixel(x, 7)), 255);
}

TEST(PixelFont, UnknownCharactersBecomeBlanks) {
  EXPECT_EQ(skin::pixelTextWidth(PixelFont::Label5x7, "~"), skin::pixelTextWidth(PixelFont::Label5x7, " "));
  QImage image = skin::blankImage(10, 9);
  QPainter p(&image);
  skin::drawPixelText(p, 0, 0, "~", Qt::white);
  p.end();
  EXPECT_EQ(meanLuma(image), 0.0);
}

TEST(PixelFont, CentresInARectangle) {
  QImage image = skin::blankImage(21, 9);
  QPainter p(&image);
  skin::drawPixelTextCentred(p, image.rect(), "I", Qt::white);  // 3 wide, 7 high
  p.end();
  EXPECT_EQ(qGray(image.pixel(9, 1)), 255);
  EXPECT_EQ(qGray(image.pixel(11, 7)), 255);
  EXPECT_EQ(qGray(image.pixel(8, 1)), 0);
  EXPECT_EQ(qGray(image.pixel(10, 0)), 0);
}

using skin::Symbol;

double areaLeftOfCentre(const QPainterPath& path, const QRectF& box, bool left) {
  QPainterPath half;
  half.addRect(left ? QRectF(box.left() - 2, box.top() - 2, box.width() / 2 + 2, box.height() + 4)
                    : QRectF(box.center().x(), box.top() - 2, box.width() / 2 + 2, box.height() + 4));
  const QRectF r = path.intersected(half).boundingRect();
  double area = 0;
  for (double y = r.top(); y < r.bottom(); y += 0.25)
    for (double x = r.left(); x < r.right(); x += 0.25) area += path.contains(QPointF(x, y)) && half.contains(QPointF(x, y));
  return area;
}

TEST(Symbols, StayInsideTheirBox) {
  const QRectF box(10, 10, 12, 12);
  for (int s = int(Symbol::Play); s <= int(Symbol::Note); ++s) {
    const QPainterPath path = skin::symbolPath(Symbol(s), box);
    ASSERT_FALSE(path.isEmpty()) << s;
    const QRectF bounds = path.boundingRect();
    EXPECT_TRUE(box.adjusted(-3, -3, 3, 3).contains(bounds)) << "symbol " << s;
  }
}

TEST(Symbols, PointTheWayTheyShould) {
  const QRectF box(0, 0, 12, 12);
  // A triangle is heavier on the side of its base, an arrow on the side of its head.
  auto heavierLeft = [&box](Symbol s) {
    const QPainterPath path = skin::symbolPath(s, box);
    return areaLeftOfCentre(path, box, true) > areaLeftOfCentre(path, box, false);
  };
  EXPECT_TRUE(heavierLeft(Symbol::Play));
  EXPECT_TRUE(heavierLeft(Symbol::TriangleRight));
  EXPECT_FALSE(heavierLeft(Symbol::TriangleLeft));
  EXPECT_FALSE(heavierLeft(Symbol::ArrowRight));
  EXPECT_TRUE(heavierLeft(Symbol::ArrowLeft));
  // Up and down arrows are mirror images.
  const QRectF up = skin::symbolPath(Symbol::ArrowUp, box).boundingRect();
  const QRectF down = skin::symbolPath(Symbol::ArrowDown, box).boundingRect();
  EXPECT_NEAR(up.top(), box.top() + box.bottom() - down.bottom(), 0.01);
  // The plus is one solid cross: its centre is filled, its corners are not.
  const QPainterPath plus = skin::symbolPath(Symbol::Plus, box);
  EXPECT_TRUE(plus.contains(box.center()));
  EXPECT_FALSE(plus.contains(box.center() + QPointF(4, 4)));
}

}  // namespace
