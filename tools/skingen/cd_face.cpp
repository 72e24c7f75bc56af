// The CD player: the big LCD on the left with its legends, the disc tray
// and caption on the right, the symbols of the six small round keys and
// the two rows of long keys.
#include "draw_kit.h"
#include "face_kit.h"
#include "painters.h"
#include "pixel_font.h"
#include "symbols.h"

namespace skin {
namespace {

const QRect kLcd(40, 8, 238, 83);  // x 40-277, y 8-90
const QRect kTray(300, 24, 252, 18);

struct SmallKey {
  int left;
  Symbol symbol;
};
constexpr SmallKey kSmallKeys[] = {
    {350, Symbol::Previous}, {382, Symbol::Next},  {414, Symbol::Rewind},
    {446, Symbol::FastForward}, {478, Symbol::Minus}, {510, Symbol::Plus},
};
constexpr int kSmallKeyTop = 69;

}  // namespace

QImage paintCdFace(int, int, int) {
  QImage image = moduleFace(577, 131, 401, {16, 60});
  recessedPlate(image, kTray, 402);
  QPainter p(&image);
  lcdWindow(p, kLcd, 2);
  // Legends printed on the glass where nothing is drawn over them.
  const QColor legend(0, 150, 170);
  drawPixelTextCentred(p, QRect(62, 37, 36, 7), "TRACK", legend);
  drawPixelTextCentred(p, QRect(113, 37, 36, 7), "MIN", legend);
  drawPixelTextCentred(p, QRect(167, 37, 36, 7), "SEC", legend);
  p.setPen(QColor(40, 42, 46));
  p.drawRect(QRect(214, 14, 58, 57));  // round the track grid, clear of the title line

  // The disc tray: a slot across the right half, its lip lit from above.
  p.fillRect(QRect(kTray.left() + 8, kTray.center().y(), kTray.width() - 16, 1), QColor(0, 0, 0, 110));
  p.fillRect(QRect(kTray.left() + 8, kTray.center().y() + 1, kTray.width() - 16, 1), QColor(255, 255, 255, 25));
  printText(p, QRectF(300, 3, 252, 18), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("CD PLAYER"),
            sansFont(14, true), ink::print);
  drawPixelText(p, 303, 9, "DIGITAL AUDIO", ink::printDim);

  // The round keys sit in wells; their symbols are printed above them.
  for (const SmallKey& key : kSmallKeys) {
    const QRect well(key.left, kSmallKeyTop, 21, 16);
    p.fillRect(well.adjusted(-1, -1, 1, 1), ink::buttonWell);
    bevel(p, well.adjusted(-2, -2, 2, 2), false, 1, 70);
    printSymbol(p, key.symbol, QRectF(key.left + 6, 57, 9, 8), ink::print);
  }
  printPixelTextCentred(p, QRect(350, 49, 53, 7), "TRACK", ink::printDim);
  printPixelTextCentred(p, QRect(414, 49, 53, 7), "SEARCH", ink::printDim);
  printPixelTextCentred(p, QRect(478, 49, 53, 7), "VOLUME", ink::printDim);
  buttonHoles(p, Module::Cd);
  return image;
}

}  // namespace skin
