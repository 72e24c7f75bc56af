#pragma once
// The rack's owner-drawn buttons: creating, moving and destroying each
// module's child windows as modules are shown and hidden. Their places and
// faces are the rows of resources/geometry.h.
#include "platform/wintypes.h"
#include "resources/geometry.h"

// The row of any rack button, or null.
const ButtonRow* find_button(WORD id);
// A mixer row's top: the switch column sits lower when the 3D switch is present.
int mixer_button_top(const ButtonRow& row);

// At start-up, in child-window order; non-zero on success.
int create_rack_buttons();
// After a module switch changed and the window was resized; non-zero on success.
int relayout_rack_buttons();
// The main window took its buttons with it: forget their handles.
void forget_rack_buttons();
