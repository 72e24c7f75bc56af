#pragma once
// Where the modules and buttons of the rack sit, as the rack shell lays them
// out: the faces are drawn around these holes, and the rack picture puts
// every button's up face here.
#include <QRect>
#include <span>

namespace skin {

enum class Module { Mixer, Midi, Wave, Cd, Window };

inline constexpr int kRackWidth = 577;

struct ModuleFace {
  Module module;
  const char* bitmap;  // face bitmap name
  int paintedHeight;   // the bitmap is one row taller
};

inline constexpr ModuleFace kModuleFaces[] = {
    {Module::Mixer, "MIXERBMP", 109},
    {Module::Midi, "MIDIBMP", 50},
    {Module::Wave, "WAVEBMP", 111},
    {Module::Cd, "CDPLYBMP", 130},
};

struct ButtonPlace {
  int command;
  Module module;
  int left, top;  // top relative to the module top
  int topWith3D;  // the switch column moves down when the 3D switch is present
  int width, height;
  int upBitmap, downBitmap;
  QRect rect(bool with3D = false) const { return {left, with3D ? topWith3D : top, width, height}; }
};

// The power button sits 25 pixels above the rack's bottom, on whichever
// module is last; its row in the table carries no top of its own.
inline constexpr int kPowerCommand = 4999;
inline constexpr int kPowerOffsetFromBottom = 25;

std::span<const ButtonPlace> rackButtons();
// The switch-column rows whose place depends on the 3D switch.
bool movesWith3D(const ButtonPlace& button);

}  // namespace skin
