#pragma once
// The MIDI deck's commands: transport, held search, menu, auto repeat,
// information view, Close, Play through the MIDI playlist, and its rules for
// the end of a play. Handlers have the command table's shape. UI thread only.
#include "platform/mci/mmsystem.h"
#include "platform/wintypes.h"

LRESULT midi_menu(HWND window, UINT message, WPARAM wparam, LPARAM lparam);            // 6001
LRESULT midi_stop(HWND window, UINT message, WPARAM wparam, LPARAM lparam);            // 6002
LRESULT midi_pause(HWND window, UINT message, WPARAM wparam, LPARAM lparam);           // 6003
LRESULT midi_play(HWND window, UINT message, WPARAM wparam, LPARAM lparam);            // 6004
LRESULT midi_close(HWND window, UINT message, WPARAM wparam, LPARAM lparam);           // 113
LRESULT midi_toggle_repeat(HWND window, UINT message, WPARAM wparam, LPARAM lparam);   // 114
LRESULT midi_toggle_info(HWND window, UINT message, WPARAM wparam, LPARAM lparam);     // 115, 6009
// Hold step of 6005 (back) and 6006 (forward): 1 % of the length per tick.
LRESULT midi_seek_hold(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// "play mymidi notify"; a refused play shows the MCI error box and leaves the state.
void midi_plain_play();
// Every rack tick while the MIDI module is shown: the position of a playing deck.
void midi_tick();
// The deck's device, for the notification router.
MCIDEVICEID midi_device();
// The end of a play that ran to its end: rewind, then repeat or the next playlist item.
LRESULT midi_end_of_play(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// A play that failed on its way (its SoundFont could not be loaded, the sound
// device stopped working): the deck stops where it is; a SoundFont's failure is told.
LRESULT midi_play_failed(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The close sequence's step: Close when the deck holds a file.
void close_midi_at_exit();
