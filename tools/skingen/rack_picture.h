#pragma once
// The whole rack as the player lays it out: the faces of the shown modules
// stacked, every button's up face in its place, the mixer and CD displays in a
// lively state, for checking the art by eye. (The decks' displays are drawn by
// the player itself: docs/rack.png is the running program.)
#include <QImage>
#include <span>

namespace skin {

struct RackLayout {
  const char* name;  // file name part: "rack-all"
  bool midi, wave, cd;
};

// Module tops and the rack's height for a layout, as the rack shell lays it out.
struct RackTops {
  int midi, wave, cd, bottom;
};

std::span<const RackLayout> rackLayouts();
RackTops rackTops(const RackLayout& layout);
QImage rackPicture(const RackLayout& layout);

}  // namespace skin
