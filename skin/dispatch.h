#pragma once
// The shape every command handler has, and the lookup of a command's handler.
// Modules reach each other's commands through these (or through WM_COMMAND).
#include "platform/wintypes.h"

// Every handler of both dispatch tables, and every direct command call, has this shape.
using Handler = LRESULT (*)(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

struct CommandRow {
  WORD id;
  Handler handler;
};

// The command table's handler for an identifier, or null.
Handler find_command(WORD id);
