#pragma once
// The program's place on the desktop, around start-up and exit: one rack per
// session (a later start hands its files over and ends), dropped files, the
// media player object on the session bus and the state it shows.
#include "platform/wintypes.h"

// Start-up, after the module switches are read: false when another rack took
// this start's files (the program then ends without a window).
bool desktop_claim_instance();
// Once the main window exists: it takes dropped files and media keys.
void desktop_attach(HWND window);
// Once the window is shown: the files of the command line (and of starts that
// came meanwhile) are opened, later hand-overs go straight to the window.
void desktop_serve(HWND window);
// After the message loop: the bus names are given up.
void desktop_detach();
