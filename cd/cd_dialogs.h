#pragma once
// The program editor (143) with its title dialog (233) and track-title dialog
// (234). Modal, owned by the main window (the editor) or the dialog that opens
// them. UI thread only.
#include "platform/wintypes.h"

// Opens the editor; its accept-and-play button posts 8012 to the main window.
void run_program_editor(HWND owner);

// Editor totals are minutes and seconds, normalised (seconds below 60).
struct Total {
  int minutes = 0, seconds = 0;
  void add(int m, int s);
  void subtract(int m, int s);
};
