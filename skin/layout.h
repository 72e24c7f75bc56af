#pragma once
// Where each module of the rack sits, from the three module switches.

// Painted heights of the module faces; every face is 577 pixels wide.
constexpr int kFaceWidth = 577;
constexpr int kMixerHeight = 109;
constexpr int kMidiHeight = 50;
constexpr int kWaveHeight = 111;
constexpr int kCdHeight = 130;
// The window adds a one-pixel border on each side.
constexpr int kWindowWidth = kFaceWidth + 2;

extern int mixer_top;
extern int midi_top;
extern int wave_top;
extern int cd_top;
extern int rack_bottom;

// The rack height alone, usable before the window exists.
int rack_height();
// Recomputes every module top and the rack bottom from the switches.
void compute_module_tops();
