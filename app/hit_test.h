#pragma once
// Painted click areas of the rack faces.
#include "platform/wintypes.h"

struct Hit {
  WORD command;  // 0 when nothing was hit
  LPARAM lparam;
};

// The area under a mouse message's lParam (client coordinates), skipping hidden modules.
Hit hit_test(LPARAM mouse_lparam);
