#pragma once
// Where the rack's own dialogs open.
#include "platform/wintypes.h"

// Places a dialog at the middle of the screen, size and z-order unchanged.
void centre_dialog(HWND dialog);
