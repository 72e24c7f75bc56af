#pragma once
#include "platform/wintypes.h"

// Tells the user, in a box owned by the main window, what a failed MCI request said.
int mci_error_box(DWORD error);
