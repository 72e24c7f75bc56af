#pragma once
// Every bitmap the rack draws: its name (a resource name or a number), its
// exact size and the function that paints it.
#include "skin_art.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <span>
#include <string_view>

namespace skin {

// Paints one bitmap of the given size; arg tells related bitmaps apart
// (the digit of a digit glyph, the number of a button face).
using Painter = QImage (*)(int width, int height, int arg);

struct ArtEntry {
  const char* name;
  int width;
  int height;
  Painter paint;
  int arg;
};

// Where the hand cursor (bitmap "275") points: the tip of the index finger.
inline constexpr QPoint kHandCursorHotSpot{skin_art::kHandCursorHotX, skin_art::kHandCursorHotY};

std::span<const ArtEntry> artTable();
const ArtEntry* findArt(std::string_view name);
// Paints the entry; the result always has the entry's size.
QImage renderArt(const ArtEntry& entry);
// "MIXERBMP.png", "150.png": the file and resource name of an entry.
QString artFileName(const ArtEntry& entry);

}  // namespace skin
