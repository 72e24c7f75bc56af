#include "face_kit.h"

#include "draw_kit.h"
#include "pixel_font.h"

#include <QLinearGradient>

namespace skin {

QImage moduleFace(int width, int height, uint32_t seed, std::initializer_list<int> leftScrewRows) {
  QImage image = blankImage(width, height);
  const int painted = height - 1;
  brushedMetal(image, QRect(0, 0, width, painted), ink::faceMetal, seed);
  brushedMetal(image, QRect(0, 0, kLeftEarWidth, painted), ink::earMetal, seed + 1);
  brushedMetal(image, QRect(kRightEarLeft, 0, width - kRightEarLeft, painted), ink::earMetal, seed + 2);
  QPainter p(&image);
  // Light from above: the plate brightens a little towards its top edge.
  QLinearGradient light(0, 0, 0, painted);
  light.setColorAt(0.0, QColor(255, 255, 255, 14));
  light.setColorAt(0.5, QColor(255, 255, 255, 0));
  light.setColorAt(1.0, QColor(0, 0, 0, 26));
  p.fillRect(QRect(0, 0, width, painted), light);
  // The grooves where the ears are bent from the front plate.
  for (int x : {kLeftEarWidth, kRightEarLeft - 1}) {
    p.fillRect(QRect(x - 1, 0, 1, painted), QColor(0, 0, 0, 150));
    p.fillRect(QRect(x, 0, 1, painted), QColor(255, 255, 255, 38));
  }
  // Top edge catches the light; the last painted row is the seam to the next unit.
  p.fillRect(QRect(0, 0, width, 1), QColor(255, 255, 255, 70));
  p.fillRect(QRect(0, 1, width, 1), QColor(255, 255, 255, 22));
  p.fillRect(QRect(0, painted - 2, width, 1), QColor(0, 0, 0, 60));
  p.fillRect(QRect(0, painted - 1, width, 1), QColor(6, 6, 7));
  p.fillRect(QRect(0, 0, 1, painted), QColor(255, 255, 255, 40));
  p.fillRect(QRect(width - 1, 0, 1, painted), QColor(0, 0, 0, 120));
  // The extra row below is never shown; keep it the seam colour.
  p.fillRect(QRect(0, painted, width, 1), QColor(6, 6, 7));
  int angle = int(seed % 60);
  for (int row : leftScrewRows) {
    screw(p, 22.5, row + 0.5, 4.0, angle);
    angle = (angle + 37) % 90;
  }
  screw(p, kRightEarLeft + 9.5, 10.5, 3.5, angle + 20);
  screw(p, kRightEarLeft + 9.5, painted - 11.5, 3.5, angle + 55);
  return image;
}

void buttonHoles(QPainter& p, Module module) {
  for (const ButtonPlace& b : rackButtons())
    if (b.module == module && !movesWith3D(b) && b.command != CMD_SOUND3D) cutOut(p, b.rect());
}

void caption(QPainter& p, const QString& text, int top) {
  printText(p, QRectF(300, top, kRightEarLeft - 306, 14), Qt::AlignRight | Qt::AlignTop, text, sansFont(11, true),
            ink::print);
}

void paintedKey(QImage& image, const QRect& rect, uint32_t seed) {
  brushedMetal(image, rect.adjusted(1, 1, -1, -1), ink::buttonMetal, seed, 5.0);
  QPainter p(&image);
  QLinearGradient sheen(0, rect.top(), 0, rect.bottom());
  sheen.setColorAt(0.0, QColor(255, 255, 255, 55));
  sheen.setColorAt(0.45, QColor(255, 255, 255, 0));
  sheen.setColorAt(1.0, QColor(0, 0, 0, 60));
  p.fillRect(rect.adjusted(1, 1, -1, -1), sheen);
  p.setPen(QColor(12, 12, 14));
  p.drawRect(rect.adjusted(0, 0, -1, -1));
  bevel(p, rect.adjusted(1, 1, -1, -1), true);
  cutOut(p, rect);
}

void menuTag(QPainter& p, const QRect& rect, const char* word) {
  p.save();
  p.fillRect(rect, QColor(24, 24, 27));
  bevel(p, rect, false, 1, 80);
  const int textWidth = pixelTextWidth(PixelFont::Label5x7, word);
  const int x = rect.left() + (rect.width() - textWidth - 8) / 2;
  const int y = rect.top() + (rect.height() - 7) / 2;
  drawPixelText(p, x, y, word, ink::print);
  // The triangle says "this opens a menu".
  for (int row = 0; row < 3; ++row) p.fillRect(x + textWidth + 3 + row, y + 2 + row, 5 - 2 * row, 1, ink::print);
  p.restore();
}

void recessedPlate(QImage& image, const QRect& rect, uint32_t seed) {
  brushedMetal(image, rect, QColor(36, 37, 40), seed, 4.0);
  QPainter p(&image);
  bevel(p, rect, false, 1, 100);
  p.fillRect(QRect(rect.left() + 1, rect.top() + 1, rect.width() - 2, 1), QColor(0, 0, 0, 60));
}

}  // namespace skin
