#pragma once
// The recording control, this system's stand-in for the platform's volume
// control on its recording page: the recording source (the capture device or
// the rack's own output), the line and microphone volumes and mutes (the
// mixer's own controls, so the mixer panel follows), a live input meter, and
// the desktop's own input settings when a program for them is installed.
// UI thread only.
#include <string>

#include "platform/wintypes.h"

// 7027: starts "sndvol32.exe /recording" through WinExec.
LRESULT recording_input(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// At start-up: WinExec runs the recording control for "sndvol32.exe".
void register_recording_control();
// The desktop's input settings program and its command line, or "" when none is installed.
std::string desktop_input_settings_command();
