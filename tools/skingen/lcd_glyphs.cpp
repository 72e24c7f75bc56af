// The LCD's own pictures: orange dot-matrix digits with their unlit dots
// showing faintly, the state icons, the yellow mode and repeat legends, the
// MIDI level-bar animation and the turning tape reels.
#include "draw_kit.h"
#include "painters.h"
#include "pixel_font.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <cmath>

namespace skin {
namespace {

// 5 x 7 dot patterns of the digits 0-9 and the dash.
constexpr std::array<std::array<const char*, 7>, 11> kDigitDots = {{
    {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
    {".....", ".....", ".....", "#####", ".....", ".....", "....."},
}};

constexpr int kDotPitch = 3;

void dot(QPainter& p, int x, int y, bool lit) {
  if (lit) {
    p.fillRect(x, y, 2, 2, ink::lcdOrange);
    p.fillRect(x, y, 1, 1, QColor(255, 205, 120));  // the lit dot's hot corner
  } else {
    p.fillRect(x, y, 2, 2, ink::lcdOrangeGhost);
  }
}

}  // namespace

QImage paintLcdDigit(int width, int height, int digit) {
  QImage image = blankImage(width, height);
  QPainter p(&image);
  const int x0 = (width - (4 * kDotPitch + 2)) / 2 + 1;
  const int y0 = (height - (6 * kDotPitch + 2)) / 2;
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 5; ++c) dot(p, x0 + c * kDotPitch, y0 + r * kDotPitch, kDigitDots[size_t(digit)][size_t(r)][c] == '#');
  return image;
}

QImage paintStateIcon(int width, int height, int bitmap) {
  QImage image = blankImage(width, height);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(ink::lcdOrange);
  if (bitmap == 128) {
    QPainterPath triangle;
    triangle.moveTo(4, 1.5);
    triangle.lineTo(13.5, 7);
    triangle.lineTo(4, 12.5);
    triangle.closeSubpath();
    p.drawPath(triangle);
  } else if (bitmap == 129) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(4, 2, 3, 10, ink::lcdOrange);
    p.fillRect(9, 2, 3, 10, ink::lcdOrange);
  }
  return image;
}

QImage paintModeIndicator(int width, int height, int bitmap) {
  QImage image = blankImage(width, height);
  if (bitmap == 140) return image;
  QPainter p(&image);
  p.setPen(ink::lcdYellow);
  p.drawRect(0, 0, width - 1, height - 1);
  drawPixelTextCentred(p, QRect(1, 2, width - 2, 5), bitmap == 126 ? "RANDOM" : "PROGRAM", ink::lcdYellow,
                       PixelFont::Tiny4x5);
  return image;
}

QImage paintRepeatIndicator(int width, int height, int bitmap) {
  QImage image = blankImage(width, height);
  if (bitmap == 141) return image;
  QPainter p(&image);
  const QColor& c = ink::lcdYellow;
  // A closed loop with rounded corners; "repeat one" makes room for its 1.
  const int left = 2, right = bitmap == 138 ? 16 : 21;
  p.fillRect(left + 2, 2, right - left - 3, 1, c);
  p.fillRect(left + 2, 8, right - left - 3, 1, c);
  p.fillRect(left, 4, 1, 3, c);
  p.fillRect(right, 4, 1, 3, c);
  for (int x : {left + 1, right - 1})
    for (int y : {3, 7}) p.fillRect(x, y, 1, 1, c);
  // An arrowhead running right along the top, one running left along the bottom.
  const int mid = (left + right) / 2;
  p.fillRect(mid + 2, 0, 1, 5, c);
  p.fillRect(mid + 3, 1, 1, 3, c);
  p.fillRect(mid - 2, 6, 1, 5, c);
  p.fillRect(mid - 3, 7, 1, 3, c);
  if (bitmap == 138) drawPixelText(p, 19, 3, "1", c, PixelFont::Tiny4x5);
  return image;
}

QImage paintMidiAnimation(int width, int height, int frame) {
  // Seven level bars dancing to the music; frame 0 is the deck at rest.
  static constexpr int kLevels[8][7] = {
      {1, 1, 1, 1, 1, 1, 1}, {3, 6, 4, 7, 5, 3, 2}, {5, 4, 7, 5, 6, 4, 3}, {7, 5, 5, 3, 8, 5, 2},
      {4, 8, 6, 4, 6, 7, 4}, {6, 6, 8, 6, 4, 5, 3}, {3, 7, 5, 8, 5, 3, 5}, {5, 3, 6, 6, 7, 6, 2},
  };
  QImage image = blankImage(width, height);
  QPainter p(&image);
  constexpr int kSegments = 8;
  for (int b = 0; b < 7; ++b) {
    const int x = b * 5;
    for (int s = 0; s < kSegments; ++s) {
      const int y = height - 2 - s * 2;
      const bool lit = s < kLevels[frame][b];
      const QColor colour = s >= 6 ? ink::lcdYellow : ink::lcdCyan;
      p.fillRect(x, y, 4, 1, lit ? colour : QColor(colour.red() / 7, colour.green() / 7, colour.blue() / 7));
    }
  }
  return image;
}

QImage paintReel(int width, int height, int frame) {
  QImage image = blankImage(width, height);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  const QPointF c(width / 2.0, height / 2.0);
  const double flange = height / 2.0 - 1.0;
  // The wound tape, a dark brown pack with a lighter edge.
  QRadialGradient pack(c, flange * 0.8);
  pack.setColorAt(0.0, QColor(40, 24, 14));
  pack.setColorAt(0.85, QColor(88, 56, 34));
  pack.setColorAt(1.0, QColor(60, 38, 22));
  p.setBrush(pack);
  p.drawEllipse(c, flange * 0.8, flange * 0.8);
  // The flange: a smoky grey disc with three windows onto the tape, turned
  // by 30 degrees per frame so four frames make one seamless third of a turn.
  QPainterPath disc;
  disc.addEllipse(c, flange, flange);
  QPainterPath windows;
  for (int i = 0; i < 3; ++i) {
    const double a0 = (frame * 30 + i * 120) * M_PI / 180.0;
    QPainterPath window;
    window.moveTo(c + QPointF(std::cos(a0 - 0.62), std::sin(a0 - 0.62)) * (flange * 0.42));
    window.arcTo(QRectF(c.x() - flange * 0.88, c.y() - flange * 0.88, flange * 1.76, flange * 1.76),
                 -(a0 * 180 / M_PI - 38), -76);
    window.lineTo(c + QPointF(std::cos(a0 + 0.62), std::sin(a0 + 0.62)) * (flange * 0.42));
    window.closeSubpath();
    windows.addPath(window);
  }
  p.setBrush(QColor(150, 152, 158, 205));
  p.drawPath(disc.subtracted(windows));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(215, 217, 222), 1.0));
  p.drawEllipse(c, flange - 0.5, flange - 0.5);
  // The hub with its six drive teeth.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(228, 229, 232));
  p.drawEllipse(c, 6.5, 6.5);
  p.setBrush(Qt::black);
  p.drawEllipse(c, 4.2, 4.2);
  p.setBrush(QColor(228, 229, 232));
  for (int t = 0; t < 6; ++t) {
    const double a = (frame * 30 + t * 60 + 15) * M_PI / 180.0;
    p.save();
    p.translate(c);
    p.rotate(a * 180 / M_PI);
    p.drawRect(QRectF(2.2, -0.9, 2.4, 1.8));
    p.restore();
  }
  return image;
}

}  // namespace skin
