// The wave module: two cassette decks side by side, each behind a door with
// its name, its lamp, the LCD window the reels turn in and the tape-counter
// bar; the shared transport, one-touch recording and the two selectors.
#include "draw_kit.h"
#include "face_kit.h"
#include "painters.h"
#include "pixel_font.h"
#include "rack_layout.h"

namespace skin {
namespace {

struct Deck {
  const char* name;
  QRect menu;  // the tag on the click spot that opens the deck's menu
  QRect door;
  QRect lcd;
  QRect bar;
  QRect lamp;
  bool nameOnLeft;
};

constexpr int kMenuTagHeight = 9;  // the tag fills the top of its click spot

Deck deck(std::size_t i, const char* name, QRect door, bool nameOnLeft) {
  const WaveDeckFace& f = kWaveDeckFaces[i];
  QRect menu = toQRect(f.menu);
  menu.setHeight(kMenuTagHeight);
  return {name, menu, door, toQRect(f.lcd), toQRect(f.bar), toQRect(f.lamp), nameOnLeft};
}

const Deck kDecks[] = {
    deck(0, "TAPE I", {41, 24, 141, 80}, true),
    deck(1, "TAPE II", {185, 24, 141, 80}, false),
};

const QImage& face() {
  static const QImage image = [] {
    QImage img = moduleFace(kFaceWidth, face_height(Module::Wave) + 1, 301, {16, 58});
    for (const Deck& d : kDecks) recessedPlate(img, d.door, 310 + uint32_t(d.door.left()));
    QPainter p(&img);
    for (const Deck& d : kDecks) {
      lcdWindow(p, d.lcd, 1);
      lcdWindow(p, d.bar, 1);
      // The name sits at the deck's outer side, the lamp at its inner side.
      const int nameWidth = pixelTextWidth(PixelFont::Label5x7, d.name);
      const int x = d.nameOnLeft ? d.lcd.left() : d.lcd.right() + 1 - nameWidth;
      drawPixelText(p, x + 1, 32, d.name, QColor(0, 0, 0, 150));
      drawPixelText(p, x, 31, d.name, ink::print);
      menuTag(p, d.menu, "MENU");
      p.fillRect(d.lamp.adjusted(-1, -1, 1, 1), QColor(8, 8, 9));
      led(p, d.lamp, ink::ledGreen, false);
    }
    printPixelTextCentred(p, QRect(370, 58, 54, 7), "SEARCH", ink::printDim);
    printPixelTextCentred(p, QRect(424, 58, 53, 7), "VOLUME", ink::printDim);
    printPixelTextCentred(p, QRect(499, 34, 51, 7), "REC.INPUT", ink::print);
    printPixelTextCentred(p, QRect(499, 69, 51, 7), "TAPE I", ink::print);
    printPixelTextCentred(p, QRect(499, 97, 51, 7), "TAPE II", ink::print);
    buttonHoles(p, Module::Wave);
    caption(p, QStringLiteral("DOUBLE WAVE DECK"), 4);
    return img;
  }();
  return image;
}

}  // namespace

QImage paintWaveFace(int, int, int) { return face(); }

QImage paintDeckLamp(int width, int height, int bitmap) {
  QImage image = blankImage(width, height);
  QPainter p(&image);
  // 187 the active deck (green), 188 the other (dark), 259 the blink of a
  // recording waiting to start (red).
  if (bitmap == 259)
    led(p, image.rect(), ink::ledRed, true);
  else
    led(p, image.rect(), ink::ledGreen, bitmap == 187);
  return image;
}

}  // namespace skin
