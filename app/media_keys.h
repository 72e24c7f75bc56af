#pragma once
// The desktop's media keys and its player object act on the source the user
// last played: the wave deck, the MIDI deck or the CD that was last seen
// playing (before any play, the first source that holds something). The
// player object's volume is the mixer's master volume.
#include "platform/wintypes.h"

struct PlayerSource;

// WM_APPCOMMAND: play, pause, play/pause, stop, next and previous track.
LRESULT on_app_command(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// WM_QUORVIN_SET_VOLUME: the desktop turns the master volume.
LRESULT on_desktop_volume(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Every desktop tick: notes which source plays and publishes the player state
// with the master volume.
void publish_player_state();
// At start-up: no source has been played yet.
void forget_last_source();
// The source the keys act on now; null when none holds anything.
const PlayerSource* current_source();
