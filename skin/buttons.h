#pragma once
// The rack's owner-drawn buttons: geometry and faces per module, creation,
// moving and destroying them as modules are shown and hidden.
#include <span>

#include "platform/wintypes.h"

struct ButtonRow {
  WORD id;    // command identifier, also the child window identifier
  int left;
  int top;    // relative to the module's top
  int width;
  int height;
  WORD up;    // skin bitmap of the up face
  WORD down;  // skin bitmap of the down face
};

// A module's buttons: the constant rows and the child windows while they exist.
struct ButtonSet {
  std::span<const ButtonRow> rows;
  HWND* windows;
};

extern const ButtonSet mixer_buttons;
extern const ButtonSet midi_buttons;
extern const ButtonSet wave_buttons;
extern const ButtonSet cd_buttons;
extern HWND minimise_button;
extern HWND power_button;

// The row of any rack button (the face table), or null.
const ButtonRow* find_button(WORD id);
// The mixer's switch column sits lower when the 3D switch is present.
int mixer_button_top(const ButtonRow& row);

// At start-up, in child-window order; non-zero on success.
int create_rack_buttons();
// After a module switch changed and the window was resized; non-zero on success.
int relayout_rack_buttons();
// The main window took its buttons with it: forget their handles.
void forget_rack_buttons();
