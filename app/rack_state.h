#pragma once
// Process-wide values of the rack shell, read by every subsystem.
#include "platform/wintypes.h"

// Module switches: 1 = the module is shown.
extern int cd_audio_on;
extern int wave_on;
extern int midi_on;

extern HINSTANCE program_instance;
extern HWND main_window;
// The 250 ms rack timer's handle; non-zero while it exists.
extern UINT_PTR rack_timer;

constexpr UINT_PTR kRackTimerId = 100;
constexpr UINT kRackTimerPeriodMs = 250;
constexpr const char* kClassName = "Quorvin";
constexpr const char* kWindowCaption = "Vantorel";
