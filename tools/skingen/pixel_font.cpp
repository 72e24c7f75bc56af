#include "pixel_font.h"

#include <array>

namespace skin {
namespace {

struct Glyph {
  char ch;
  std::array<const char*, 7> rows;  // '#' marks a set pixel; all rows equally wide
};

// 5 x 7 capitals, narrower where the letter allows.
constexpr Glyph kLabel[] = {
    {' ', {"..", "..", "..", "..", "..", "..", ".."}},
    {'A', {".##.", "#..#", "#..#", "####", "#..#", "#..#", "#..#"}},
    {'B', {"###.", "#..#", "#..#", "###.", "#..#", "#..#", "###."}},
    {'C', {".##.", "#..#", "#...", "#...", "#...", "#..#", ".##."}},
    {'D', {"###.", "#..#", "#..#", "#..#", "#..#", "#..#", "###."}},
    {'E', {"####", "#...", "#...", "###.", "#...", "#...", "####"}},
    {'F', {"####", "#...", "#...", "###.", "#...", "#...", "#..."}},
    {'G', {".##.", "#..#", "#...", "#.##", "#..#", "#..#", ".###"}},
    {'H', {"#..#", "#..#", "#..#", "####", "#..#", "#..#", "#..#"}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'J', {"..##", "...#", "...#", "...#", "...#", "#..#", ".##."}},
    {'K', {"#..#", "#.#.", "##..", "#...", "##..", "#.#.", "#..#"}},
    {'L', {"#...", "#...", "#...", "#...", "#...", "#...", "####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#..#", "##.#", "##.#", "#.##", "#.##", "#..#", "#..#"}},
    {'O', {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."}},
    {'P', {"###.", "#..#", "#..#", "###.", "#...", "#...", "#..."}},
    {'Q', {".##.", "#..#", "#..#", "#..#", "#.##", "#..#", ".###"}},
    {'R', {"###.", "#..#", "#..#", "###.", "##..", "#.#.", "#..#"}},
    {'S', {".###", "#...", "#...", ".##.", "...#", "...#", "###."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#..#", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."}},
    {'V', {"#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
    {'X', {"#..#", "#..#", ".##.", ".##.", ".##.", "#..#", "#..#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"####", "...#", "..#.", ".#..", "#...", "#...", "####"}},
    {'0', {".##.", "#..#", "#.##", "#..#", "##.#", "#..#", ".##."}},
    {'1', {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'2', {".##.", "#..#", "...#", "..#.", ".#..", "#...", "####"}},
    {'3', {"###.", "...#", "...#", ".##.", "...#", "...#", "###."}},
    {'4', {"..#.", ".##.", "#.#.", "#.#.", "####", "..#.", "..#."}},
    {'5', {"####", "#...", "###.", "...#", "...#", "#..#", ".##."}},
    {'6', {".##.", "#...", "#...", "###.", "#..#", "#..#", ".##."}},
    {'7', {"####", "...#", "..#.", "..#.", ".#..", ".#..", ".#.."}},
    {'8', {".##.", "#..#", "#..#", ".##.", "#..#", "#..#", ".##."}},
    {'9', {".##.", "#..#", "#..#", ".###", "...#", "...#", ".##."}},
    {'.', {".", ".", ".", ".", ".", ".", "#"}},
    {'-', {"...", "...", "...", "###", "...", "...", "..."}},
    {'/', {"...#", "...#", "..#.", ".#..", ".#..", "#...", "#..."}},
};

// 4 x 5 capitals for the LCD indicators; rows 5..6 unused.
constexpr Glyph kTiny[] = {
    {' ', {"..", "..", "..", "..", "..", "", ""}},
    {'A', {".##.", "#..#", "####", "#..#", "#..#", "", ""}},
    {'D', {"###.", "#..#", "#..#", "#..#", "###.", "", ""}},
    {'G', {".###", "#...", "#.##", "#..#", ".###", "", ""}},
    {'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#", "", ""}},
    {'N', {"#..#", "##.#", "#.##", "#..#", "#..#", "", ""}},
    {'O', {".##.", "#..#", "#..#", "#..#", ".##.", "", ""}},
    {'P', {"###.", "#..#", "###.", "#...", "#...", "", ""}},
    {'R', {"###.", "#..#", "###.", "#.#.", "#..#", "", ""}},
    {'1', {".#.", "##.", ".#.", ".#.", "###", "", ""}},
};

const Glyph* findGlyph(PixelFont font, char ch) {
  auto search = [ch](const auto& table) -> const Glyph* {
    for (const Glyph& g : table)
      if (g.ch == ch) return &g;
    return nullptr;
  };
  const Glyph* g = font == PixelFont::Label5x7 ? search(kLabel) : search(kTiny);
  return g ? g : (font == PixelFont::Label5x7 ? &kLabel[0] : &kTiny[0]);
}

int glyphWidth(const Glyph& g) { return int(std::char_traits<char>::length(g.rows[0])); }

}  // namespace

int pixelTextHeight(PixelFont font) { return font == PixelFont::Label5x7 ? 7 : 5; }

int pixelTextWidth(PixelFont font, std::string_view text) {
  int width = 0;
  for (char ch : text) width += glyphWidth(*findGlyph(font, ch)) + 1;
  return text.empty() ? 0 : width - 1;
}

void drawPixelText(QPainter& p, int x, int y, std::string_view text, const QColor& colour, PixelFont font) {
  const int rows = pixelTextHeight(font);
  for (char ch : text) {
    const Glyph& g = *findGlyph(font, ch);
    const int w = glyphWidth(g);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < w; ++c)
        if (g.rows[r][c] == '#') p.fillRect(x + c, y + r, 1, 1, colour);
    x += w + 1;
  }
}

void drawPixelTextCentred(QPainter& p, const QRect& rect, std::string_view text, const QColor& colour,
                          PixelFont font) {
  const int x = rect.left() + (rect.width() - pixelTextWidth(font, text)) / 2;
  const int y = rect.top() + (rect.height() - pixelTextHeight(font)) / 2;
  drawPixelText(p, x, y, text, colour, font);
}

void printPixelTextCentred(QPainter& p, const QRect& rect, std::string_view text, const QColor& colour,
                           PixelFont font) {
  drawPixelTextCentred(p, rect.translated(1, 1), text, QColor(10, 10, 12, 150), font);
  drawPixelTextCentred(p, rect, text, colour, font);
}

}  // namespace skin
