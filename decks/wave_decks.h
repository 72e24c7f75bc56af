#pragma once
// The wave decks' commands: the shared transport (it acts on the active deck,
// or on deck 1 while deck 2 records or waits to), held search, the two popup
// menus, auto repeat, information views, Close, the active-deck switch, Play
// through the wave playlist, and their rules for the end of a play. Handlers
// have the command table's shape. UI thread only.
#include "platform/mci/mmsystem.h"
#include "platform/wintypes.h"

LRESULT tape1_menu(HWND window, UINT message, WPARAM wparam, LPARAM lparam);          // 7020
LRESULT tape2_menu(HWND window, UINT message, WPARAM wparam, LPARAM lparam);          // 7021
LRESULT close_tape1(HWND window, UINT message, WPARAM wparam, LPARAM lparam);         // 104 (106: decks/decks.h)
LRESULT tape1_toggle_repeat(HWND window, UINT message, WPARAM wparam, LPARAM lparam); // 108
LRESULT tape2_toggle_repeat(HWND window, UINT message, WPARAM wparam, LPARAM lparam); // 109
LRESULT swap_active_deck(HWND window, UINT message, WPARAM wparam, LPARAM lparam);    // 7022
LRESULT wave_play_pause(HWND window, UINT message, WPARAM wparam, LPARAM lparam);     // 7003
LRESULT wave_stop(HWND window, UINT message, WPARAM wparam, LPARAM lparam);           // 7002
LRESULT tape1_toggle_info(HWND window, UINT message, WPARAM wparam, LPARAM lparam);   // 7023, 110
LRESULT tape2_toggle_info(HWND window, UINT message, WPARAM wparam, LPARAM lparam);   // 7024, 111
LRESULT activate_tape1(HWND window, UINT message, WPARAM wparam, LPARAM lparam);      // 7025
LRESULT activate_tape2(HWND window, UINT message, WPARAM wparam, LPARAM lparam);      // 7026
// Hold step of 7004 (back) and 7005 (forward) on the transport's deck: 2 % of the length per tick.
LRESULT wave_seek_hold(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The close of wave deck 1 or 2 once any question is settled: stop and close the
// device, black out its LCD and bar, end its playlist mode.
void close_wave_deck(int number);
// The Play/Pause toggle without the playlist: stops the other deck, then pauses,
// resumes or starts the deck the transport acts on.
void wave_play_pause_toggle();
// Every rack tick while the wave module is shown: the positions of the decks that play or record.
void wave_tick();
// The decks' devices and their end-of-play rule, for the notification router.
MCIDEVICEID tape1_device();
MCIDEVICEID tape2_device();
LRESULT tape1_end_of_play(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT tape2_end_of_play(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// A play the sound device's failure ended (its notice tells the user): the deck
// stops where the sound stopped, and its playlist does not move on.
LRESULT tape1_play_failed(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT tape2_play_failed(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The close sequence's steps: Close when the deck holds a file.
void close_tape1_at_exit();
void close_tape2_at_exit();
