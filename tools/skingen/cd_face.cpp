// The CD player: the big LCD on the left with its legends, the disc tray
// and caption on the right, the symbols of the six small round keys and
// the two rows of long keys.
#include "draw_kit.h"
#include "face_kit.h"
#include "painters.h"
#include "pixel_font.h"
#include "rack_layout.h"
#include "symbols.h"

namespace skin {
namespace {

const QRect kLcd = toQRect(kCdLcd);
const QRect kTray(300, 24, 252, 18);

// The six small round keys share one plain face; the face carries their symbols.
struct SmallKey {
  WORD command;
  Symbol symbol;
};
constexpr SmallKey kSmallKeys[] = {
    {CMD_CD_PREVIOUS, Symbol::Previous}, {CMD_CD_NEXT, Symbol::Next},      {CMD_CD_REWIND, Symbol::Rewind},
    {CMD_CD_FORWARD, Symbol::FastForward}, {CMD_CD_VOLUME_DOWN, Symbol::Minus}, {CMD_CD_VOLUME_UP, Symbol::Plus},
};

const ButtonRow& cdButton(WORD command) {
  for (const ButtonRow& row : kCdButtons)
    if (row.id == command) return row;
  return kCdButtons[0];
}

}  // namespace

QImage paintCdFace(int, int, int) {
  QImage image = moduleFace(kFaceWidth, face_height(Module::Cd) + 1, 401, {16, 60});
  recessedPlate(image, kTray, 402);
  QPainter p(&image);
  lcdWindow(p, kLcd, 2);
  // Legends printed on the glass where nothing is drawn over them.
  const QColor legend(0, 150, 170);
  const char* legends[] = {"TRACK", "MIN", "SEC"};
  const int pairWidth = kCdDigitLefts[1] - kCdDigitLefts[0] + kCdDigitWidth;
  for (int i = 0; i < 3; ++i)
    drawPixelTextCentred(p, QRect(kCdDigitLefts[2 * i], kCdDigitTop - 10, pairWidth, 7), legends[i], legend);
  p.setPen(QColor(40, 42, 46));
  // Round the track grid, clear of the title line.
  const int gridRight = kCdGridLefts[3] + kCdGridCell, gridBottom = kCdGridTops[3] + kCdGridCell;
  p.drawRect(QRect(kCdGridLefts[0] - 2, kCdGridTops[0] - 2, gridRight - kCdGridLefts[0] + 3,
                   gridBottom - kCdGridTops[0] + 3));

  // The disc tray: a slot across the right half, its lip lit from above.
  p.fillRect(QRect(kTray.left() + 8, kTray.center().y(), kTray.width() - 16, 1), QColor(0, 0, 0, 110));
  p.fillRect(QRect(kTray.left() + 8, kTray.center().y() + 1, kTray.width() - 16, 1), QColor(255, 255, 255, 25));
  printText(p, QRectF(300, 3, 252, 18), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("CD PLAYER"),
            sansFont(14, true), ink::print);
  drawPixelText(p, 303, 9, "DIGITAL AUDIO", ink::printDim);

  // The round keys sit in wells; their symbols are printed above them.
  for (const SmallKey& key : kSmallKeys) {
    const ButtonRow& row = cdButton(key.command);
    const QRect well(row.left, row.top, row.width, row.height);
    p.fillRect(well.adjusted(-1, -1, 1, 1), ink::buttonWell);
    bevel(p, well.adjusted(-2, -2, 2, 2), false, 1, 70);
    printSymbol(p, key.symbol, QRectF(row.left + 6, 57, 9, 8), ink::print);
  }
  printPixelTextCentred(p, QRect(350, 49, 53, 7), "TRACK", ink::printDim);
  printPixelTextCentred(p, QRect(414, 49, 53, 7), "SEARCH", ink::printDim);
  printPixelTextCentred(p, QRect(478, 49, 53, 7), "VOLUME", ink::printDim);
  buttonHoles(p, Module::Cd);
  return image;
}

}  // namespace skin
