#pragma once
// Command identifiers: what a button, a painted click area, an accelerator or
// a popup-menu item sends with WM_COMMAND. A button's command is also its
// child-window identifier. The popup-menu items (103-121) are in menus.h.
#include "platform/wintypes.h"

// The window's own buttons.
constexpr WORD CMD_MINIMISE = 4998;
constexpr WORD CMD_POWER = 4999;

// Mixer panel.
constexpr WORD CMD_SOUND3D = 5000;
constexpr WORD CMD_MIDI_MODULE = 5001;
constexpr WORD CMD_WAVE_MODULE = 5002;
constexpr WORD CMD_CD_MODULE = 5003;
constexpr WORD CMD_MUTE = 5004;
constexpr WORD CMD_VOLUME_UP = 5005;
constexpr WORD CMD_VOLUME_DOWN = 5006;
constexpr WORD CMD_BALANCE_LEFT = 5007;   // hold
constexpr WORD CMD_BALANCE_RIGHT = 5008;  // hold
constexpr WORD CMD_PREVIOUS_CHANNEL = 5009;
constexpr WORD CMD_NEXT_CHANNEL = 5010;
constexpr WORD CMD_SELECT_CHANNEL = 5012;  // lParam: the channel 0-5

// MIDI deck.
constexpr WORD CMD_MIDI_MENU = 6001;
constexpr WORD CMD_MIDI_STOP = 6002;
constexpr WORD CMD_MIDI_PAUSE = 6003;
constexpr WORD CMD_MIDI_PLAY = 6004;
constexpr WORD CMD_MIDI_REWIND = 6005;       // hold; a short click steps back in the playlist
constexpr WORD CMD_MIDI_FORWARD = 6006;      // hold; a short click steps on in the playlist
constexpr WORD CMD_MIDI_VOLUME_DOWN = 6007;  // hold
constexpr WORD CMD_MIDI_VOLUME_UP = 6008;    // hold
constexpr WORD CMD_MIDI_DISPLAY = 6009;

// Wave decks.
constexpr WORD CMD_WAVE_RECORD = 7001;
constexpr WORD CMD_WAVE_STOP = 7002;
constexpr WORD CMD_WAVE_PLAY = 7003;
constexpr WORD CMD_WAVE_REWIND = 7004;       // hold; a short click steps back in the playlist
constexpr WORD CMD_WAVE_FORWARD = 7005;      // hold; a short click steps on in the playlist
constexpr WORD CMD_WAVE_VOLUME_DOWN = 7006;  // hold
constexpr WORD CMD_WAVE_VOLUME_UP = 7007;    // hold
constexpr WORD CMD_TAPE1_MENU = 7020;
constexpr WORD CMD_TAPE2_MENU = 7021;
constexpr WORD CMD_SWAP_ACTIVE_DECK = 7022;
constexpr WORD CMD_TAPE1_DISPLAY = 7023;
constexpr WORD CMD_TAPE2_DISPLAY = 7024;
constexpr WORD CMD_ACTIVATE_TAPE1 = 7025;
constexpr WORD CMD_ACTIVATE_TAPE2 = 7026;
constexpr WORD CMD_RECORDING_INPUT = 7027;
constexpr WORD CMD_ONE_TOUCH_RECORD = 7028;
// No button: posted once at start-up to offer a recording a crash left behind.
constexpr WORD CMD_OFFER_RECOVERED_RECORDING = 7029;

// CD deck.
constexpr WORD CMD_CD_PLAY = 8001;
constexpr WORD CMD_CD_STOP = 8002;
constexpr WORD CMD_CD_PAUSE = 8003;
constexpr WORD CMD_CD_EJECT = 8004;
constexpr WORD CMD_CD_PREVIOUS = 8005;
constexpr WORD CMD_CD_NEXT = 8006;
constexpr WORD CMD_CD_REWIND = 8007;        // hold
constexpr WORD CMD_CD_FORWARD = 8008;       // hold
constexpr WORD CMD_CD_VOLUME_DOWN = 8009;   // hold
constexpr WORD CMD_CD_VOLUME_UP = 8010;     // hold
constexpr WORD CMD_CD_PROGRAM_EDIT = 8011;
constexpr WORD CMD_CD_PROGRAM_PLAY = 8012;
constexpr WORD CMD_CD_SHUFFLE = 8013;
constexpr WORD CMD_CD_REPEAT = 8014;
