#pragma once
// The two dispatch tables of the main window: window messages and command identifiers.
#include "platform/wintypes.h"

// Every handler of both tables, and every direct command call, has this shape.
using Handler = LRESULT (*)(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

struct MessageRow {
  UINT message;
  Handler handler;
};
struct CommandRow {
  WORD id;
  Handler handler;
};

// The window procedure registered with the class.
LRESULT CALLBACK rack_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// WM_COMMAND: runs the command table's handler for the low 16 bits of wparam.
LRESULT command_dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The command table's handler for an identifier, or null.
Handler find_command(WORD id);
