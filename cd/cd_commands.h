#pragma once
// The CD deck's command handlers (8001-8006, 8011-8014), its hold steps
// (8007, 8008), and what the rack runs for it: the tick step, the end of an
// entry, start-up's disc load and the close step. UI thread only.
#include "platform/mci/mmsystem.h"
#include "platform/wintypes.h"

LRESULT cd_play(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT cd_stop(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT cd_pause(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT cd_eject(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT cd_previous(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT cd_next(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT cd_scan_back(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT cd_scan_forward(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

LRESULT cd_edit(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT cd_program(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT cd_random(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT cd_repeat(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The end of an entry (MM_MCINOTIFY successful on the CD device): the repeat
// mode's next step.
LRESULT cd_end_of_entry(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The CD device for the notification router; 0 before it was opened.
MCIDEVICEID cd_device();

// Rack tick while the panel is shown: load while not ready, forget when the
// tray opens, the position while playing.
void cd_tick();
// Start-up, whether or not the panel is shown.
void cd_startup_load();
// Close sequence: "stop cdaudio" while a disc is ready, then "close cdaudio".
void cd_close_device();

// A play that could not start ends its entry on a timer of its own (at most
// one pending), so a disc none of whose tracks plays cycles without spinning.
// Every transport and mode command and forget disc cancel it.
void arm_failed_end();
void cancel_failed_end();
constexpr UINT kFailedEndDelayMs = 200;
