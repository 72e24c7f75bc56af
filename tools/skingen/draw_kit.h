#pragma once
// Shared drawing helpers of the skin generator: one palette, one light
// direction (top-left) and the metal, bevel, screw, LED and text primitives
// every face, button and glyph is built from.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <cstdint>

namespace skin {

// The palette every module shares.
namespace ink {
inline const QColor faceMetal{58, 60, 64};      // anthracite front panels
inline const QColor earMetal{44, 45, 48};       // rack ears, a shade darker
inline const QColor plateMetal{70, 72, 77};     // raised sub-panels
inline const QColor buttonMetal{168, 170, 174}; // silver buttons
inline const QColor buttonWell{22, 22, 25};     // the hole round buttons sit in
inline const QColor shadow{14, 14, 16};         // unlit bevel, cut-outs
inline const QColor print{208, 210, 214};       // silk-screen labels
inline const QColor printDim{150, 152, 158};    // secondary labels
inline const QColor engrave{28, 28, 32};        // engraved button symbols
inline const QColor lcdOrange{255, 150, 20};
inline const QColor lcdOrangeGhost{24, 12, 2};
inline const QColor lcdYellow{255, 255, 0};
inline const QColor lcdCyan{0, 255, 255};
inline const QColor ledGreen{70, 255, 90};
inline const QColor ledRed{255, 50, 40};
inline const QColor ledAmber{255, 176, 40};
}  // namespace ink

// A small deterministic generator: the same seed gives the same art on
// every machine (std distributions are implementation-defined).
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
  uint32_t next();
  // Uniform in [-1, 1].
  double signedUnit() { return (next() >> 8) / double(1 << 23) - 1.0; }

 private:
  uint32_t state_;
};

// A new image of the given size, filled black, 32-bit RGB.
QImage blankImage(int width, int height);

// Horizontal brushed metal over rect; seed picks the grain.
void brushedMetal(QImage& image, const QRect& rect, const QColor& base, uint32_t seed, double grain = 7.0);
// Brushed metal whose grain runs vertically and depends on x only, so any
// crop of it matches the plate at every height.
void verticalBrushedMetal(QImage& image, const QRect& rect, const QColor& base, uint32_t seed);

// Raised (or, with raised false, sunken) edges of width w inside rect.
void bevel(QPainter& p, const QRect& rect, bool raised, int width = 1, int strength = 100);
// A black display window: its inside is pure black, a dark lip surrounds it.
void lcdWindow(QPainter& p, const QRect& inside, int lip = 3);
// A 1-pixel dark cut-out just outside rect, the hole a button sits in.
void cutOut(QPainter& p, const QRect& rect);
// A cross-head screw centred at (cx, cy).
void screw(QPainter& p, double cx, double cy, double radius = 4.0, int angleDeg = 30);
// A lit or unlit rectangular LED filling rect.
void led(QPainter& p, const QRect& rect, const QColor& colour, bool lit);

// Text in "Liberation Sans"; pixelSize in pixels, no hinting.
QFont sansFont(double pixelSize, bool bold = false, bool italic = false);
// Silk-screened text: light print with a faint shadow below right.
void printText(QPainter& p, const QRectF& rect, int align, const QString& text, const QFont& font,
               const QColor& colour = ink::print);
// Engraved text: dark cut with a light lip below right.
void engraveText(QPainter& p, const QRectF& rect, int align, const QString& text, const QFont& font);

}  // namespace skin

namespace skin {
// Registers the Liberation fonts from their Debian files, so the art never
// depends on which fonts fontconfig would pick. Returns false and names the
// missing file in error when one cannot be loaded.
bool loadArtFonts(QString& error);
}  // namespace skin
