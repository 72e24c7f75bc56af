#pragma once
// Numbers of the program's resources that the code loads by number.
#include "platform/wintypes.h"

constexpr WORD ID_TAPE_MENU = 186;       // submenus "TAPE1MENU", "TAPE2MENU"
constexpr WORD ID_MIDI_MENU = 230;       // submenu "MIDI"
constexpr WORD ID_ACCELERATORS = 269;
constexpr WORD ID_HAND_CURSOR = 275;
constexpr WORD ID_WAVE_FILTER = 1001;    // Open dialog filter of the wave decks
constexpr WORD ID_MIDI_FILTER = 1002;    // Open dialog filter of the MIDI deck
inline constexpr const char* RACK_ICON = "RACKICON";
