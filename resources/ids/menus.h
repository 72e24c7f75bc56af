#pragma once
// Popup menus and their items. The items are commands too: the command
// table runs them like any button.
#include "platform/wintypes.h"

// Menu resources: 186 holds the submenus "TAPE1MENU" and "TAPE2MENU", 230 "MIDI".
constexpr WORD MENU_TAPES = 186;
constexpr WORD MENU_MIDI = 230;
inline constexpr const char* SUBMENU_TAPE1 = "TAPE1MENU";
inline constexpr const char* SUBMENU_TAPE2 = "TAPE2MENU";
inline constexpr const char* SUBMENU_MIDI = "MIDI";

// Items of "TAPE1MENU" (deck 1) and "TAPE2MENU" (deck 2).
constexpr WORD IDM_TAPE1_OPEN = 103;
constexpr WORD IDM_TAPE1_CLOSE = 104;
constexpr WORD IDM_TAPE2_OPEN = 105;
constexpr WORD IDM_TAPE2_CLOSE = 106;
constexpr WORD IDM_TAPE2_NEW = 107;
constexpr WORD IDM_TAPE1_REPEAT = 108;
constexpr WORD IDM_TAPE2_REPEAT = 109;
constexpr WORD IDM_TAPE1_INFO = 110;
constexpr WORD IDM_TAPE2_INFO = 111;
constexpr WORD IDM_TAPE2_SAVE = 116;
constexpr WORD IDM_TAPE1_PLAYLIST = 119;
constexpr WORD IDM_TAPE2_PLAYLIST = 120;

// Items of "MIDI".
constexpr WORD IDM_MIDI_OPEN = 112;
constexpr WORD IDM_MIDI_CLOSE = 113;
constexpr WORD IDM_MIDI_REPEAT = 114;
constexpr WORD IDM_MIDI_INFO = 115;
constexpr WORD IDM_MIDI_PLAYLIST = 121;

// The rack's own menu: a right-click on the face where no button or hit area
// is. "&Quit" sends the power button's command (4999).
constexpr WORD MENU_RACK = 240;
constexpr WORD IDM_PREFERENCES = 9001;
constexpr WORD IDM_INSERT_DISC = 9002;
constexpr WORD IDM_ABOUT = 9003;
