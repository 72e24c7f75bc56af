#pragma once
// Buttons that act while held: each tick of the rack timer runs their step,
// and a short click on a playlist-step button runs its short-click action.
#include "platform/wintypes.h"

extern int hold_active;   // 1 while a hold button is pressed
extern WORD held_button;  // the pressed hold button
extern int hold_ticks;    // ticks counted during the current press (playlist-step buttons only)

bool is_hold_button(WORD id);
// Follows a button's press and release as its drawing requests reveal them.
void hold_track(WORD id, UINT action, UINT state);
// One tick of a held button's action.
void hold_step();
