#pragma once
// What the media layer posts for the user to read although the command worked
// (MM_QUORVIN_NOTICE). Handled from the main window's message loop, never from
// inside an MCI call.
#include "platform/wintypes.h"

// Shows the notice's text in a box owned by the main window; an unknown code shows nothing.
LRESULT on_mci_notice(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
