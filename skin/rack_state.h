#pragma once
// Process-wide values of the rack, read by every module: the program and its
// main window, the three module switches, the rack timer. Owned by the UI thread.
#include "platform/wintypes.h"
#include "resources/ids/timers.h"

// Module switches: 1 = the module is shown. The mixer panel is always shown.
extern int cd_audio_on;
extern int wave_on;
extern int midi_on;

extern HINSTANCE program_instance;
extern HWND main_window;
// The 250 ms rack timer's handle; non-zero while it exists.
extern UINT_PTR rack_timer;

constexpr UINT_PTR kRackTimerId = TIMER_RACK;
constexpr UINT kRackTimerPeriodMs = 250;
constexpr const char* kClassName = "Quorvin";
constexpr const char* kWindowCaption = "Vantorel";
