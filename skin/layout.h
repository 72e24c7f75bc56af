#pragma once
// Where each module of the rack sits, from the three module switches.
#include "resources/geometry.h"

extern int mixer_top;
extern int midi_top;
extern int wave_top;
extern int cd_top;
extern int rack_bottom;

// The rack height alone, usable before the window exists.
int rack_height();
// Recomputes every module top and the rack bottom from the switches.
void compute_module_tops();

// 1 while the module is shown (the mixer and the window's own buttons always are).
int module_shown(Module module);
// The module's top; for the window's buttons 0 (the power button counts from the rack bottom).
int module_top(Module module);
