#pragma once
// The mixer panel: meters, labels, lamps, balance marker, and its commands.
#include "platform/wintypes.h"

// The channel the volume, balance and mute buttons act on.
extern int selected_channel;

// After the face is painted: labels, lamps, selected label, meters, balance marker.
void paint_mixer_panel();
void draw_level_meter(int channel);
// How many of a meter's sixteen segments are dark for a side's value, minimum and step.
int meter_dark_segments(DWORD value, DWORD minimum, DWORD step);
void draw_balance_marker();
void draw_lamps();
void draw_channel_label(int channel, bool selected);

LRESULT toggle_midi_module(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT toggle_wave_module(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT toggle_cd_module(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT toggle_mute(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT volume_up(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT volume_down(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT select_previous_channel(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT select_next_channel(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT select_channel(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Hold steps of 5007 and 5008.
LRESULT hold_balance_left(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT hold_balance_right(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// MM_MIXM_CONTROL_CHANGE.
LRESULT on_mixer_control_change(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
