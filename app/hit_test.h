#pragma once
// Painted click areas of the rack faces.
#include "platform/wintypes.h"

enum class Module { Mixer, Midi, Wave, Cd };

struct HitArea {
  Module module;
  WORD command;
  LPARAM lparam;
  int left, top, width, height;  // top is relative to the module's top
};

struct Hit {
  WORD command;  // 0 when nothing was hit
  LPARAM lparam;
};

// The area under a mouse message's lParam (client coordinates), skipping hidden modules.
Hit hit_test(LPARAM mouse_lparam);
