#pragma once
// What every module face shares: the brushed front plate with its rack ears
// and screws, the holes the module's buttons sit in, and the caption style.
#include "rack_layout.h"

#include <QImage>
#include <QPainter>
#include <initializer_list>

namespace skin {

inline constexpr int kLeftEarWidth = 38;   // the left ear carries minimise and power
inline constexpr int kRightEarLeft = 558;  // the right ear, up to the rack's edge

// A front plate of width x height (height = painted height + 1) with ears,
// a lit top edge and a dark seam on its last painted row; screws go in the
// left ear at the given heights, the right ear gets two.
QImage moduleFace(int width, int height, uint32_t seed, std::initializer_list<int> leftScrewRows);
// The cut-out around every button of the module (switch-column rows excluded).
void buttonHoles(QPainter& p, Module module);
// The module's name in the top right corner.
void caption(QPainter& p, const QString& text, int top = 4);
// A key painted on the face (a click spot, not a button): silver, raised,
// in its own hole, with the symbol or word its caller engraves on it.
void paintedKey(QImage& image, const QRect& rect, uint32_t seed);
// A small dark tag with a printed word and a down-pointing triangle: the
// spot that opens a deck's menu.
void menuTag(QPainter& p, const QRect& rect, const char* word);
// A darker recessed plate (deck doors, tray) lit from the top-left.
void recessedPlate(QImage& image, const QRect& rect, uint32_t seed);

}  // namespace skin
