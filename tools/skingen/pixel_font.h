#pragma once
// Two bitmap fonts for the smallest lettering (channel labels, LCD legends):
// at 5 to 9 pixels an outline font blurs, a drawn pixel font stays crisp and
// does not depend on any font renderer.
#include <QColor>
#include <QPainter>
#include <QRect>
#include <string_view>

namespace skin {

enum class PixelFont { Label5x7, Tiny4x5 };

int pixelTextWidth(PixelFont font, std::string_view text);
int pixelTextHeight(PixelFont font);
// Draws text with its top-left corner at (x, y).
void drawPixelText(QPainter& p, int x, int y, std::string_view text, const QColor& colour,
                   PixelFont font = PixelFont::Label5x7);
// Draws text centred in rect (rounded towards the top-left).
void drawPixelTextCentred(QPainter& p, const QRect& rect, std::string_view text, const QColor& colour,
                          PixelFont font = PixelFont::Label5x7);
// Silk-screen style: the text in colour over a dark shadow one pixel below right.
void printPixelTextCentred(QPainter& p, const QRect& rect, std::string_view text, const QColor& colour,
                           PixelFont font = PixelFont::Label5x7);

}  // namespace skin
