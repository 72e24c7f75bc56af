#pragma once
// The main window's procedure and its two dispatch tables (messages, commands).
#include <span>

#include "platform/wintypes.h"
#include "skin/dispatch.h"

// The window procedure registered with the class.
LRESULT CALLBACK rack_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// WM_COMMAND: runs the command table's handler for the low 16 bits of wparam.
LRESULT command_dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The command table, in the rack's order.
std::span<const CommandRow> command_table();
