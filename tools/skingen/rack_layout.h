#pragma once
// Where the modules and buttons of the rack sit, read from the rack's own
// geometry table: the faces are drawn around these holes, and the rack
// picture puts every button's up face here.
#include <QRect>
#include <span>

#include "resources/geometry.h"

namespace skin {

using ::Module;

inline constexpr int kRackWidth = kFaceWidth;
using ::kModuleFaces;

struct ButtonPlace {
  int command;
  Module module;
  int left, top;  // top relative to the module top
  int topWith3D;  // the switch column moves down when the 3D switch is present
  int width, height;
  int upBitmap, downBitmap;
  QRect rect(bool with3D = false) const { return {left, with3D ? topWith3D : top, width, height}; }
};

// The power button sits above the rack's bottom, on whichever module is
// last; its top counts from the bottom.
inline constexpr int kPowerCommand = kPowerButton.id;
inline constexpr int kPowerOffsetFromBottom = -kPowerButton.top;

std::span<const ButtonPlace> rackButtons();
// The switch-column rows whose place depends on the 3D switch.
bool movesWith3D(const ButtonPlace& button);

inline QRect toQRect(const Rect& r) { return {r.left, r.top, r.width, r.height}; }

}  // namespace skin
