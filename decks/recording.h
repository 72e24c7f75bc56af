#pragma once
// Recording on wave deck 2: a new recording in a chosen format (New..., 107),
// the Record button (7001) that starts and stops a take, the pending
// recording's blinking lamp (window timer 101), a take the disk cut short, the
// one-touch recording (7028), and the offer of a recording a crash left behind.
// Handlers have the command table's shape. UI thread only.
#include "platform/wintypes.h"

LRESULT new_recording(HWND window, UINT message, WPARAM wparam, LPARAM lparam);     // 107
LRESULT record_button(HWND window, UINT message, WPARAM wparam, LPARAM lparam);     // 7001
LRESULT one_touch_record(HWND window, UINT message, WPARAM wparam, LPARAM lparam);  // 7028
// WM_TIMER of the main window: timer 101 blinks deck 2's lamp.
LRESULT recording_timer(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Every rack tick, the wave module shown or not: a take the disk ended is
// stopped as Record stops it, and the user is told. The first tick after
// start-up posts the offer below, once the window is up.
void recording_tick();

// WM_CREATE: the recovery offer is due again, and WinExec knows the recording control.
void recording_on_create();
// Loads the oldest recording no running rack holds into deck 2 as an unsaved
// recording (the save question guards it) and tells the user once.
LRESULT offer_recovered_recording(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
