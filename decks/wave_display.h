#pragma once
// The wave decks' displays: each deck's LCD (file name, format, length and
// position, or the turning reels), its tape-counter bar, and the two lamps
// that mark the active deck. Draws only while the wave module is shown.
// UI thread only. (draw_wave_lcd, refresh_wave_position and draw_deck_lamps
// are in decks/decks.h.)

// Reads channels, rate, bytes per second, bits and the length from the deck's device.
void read_wave_information(int number);
// Record face, lamps, both LCDs, both positions, in this order (also after a paint).
void repaint_wave_module();
// The deck's LCD black (an information-view toggle clears it first).
void blank_wave_lcd(int number);
// The deck's LCD and bar black: the deck holds nothing.
void blank_wave_deck(int number);

// The reel counter and the lamps' blink phase back to their start.
void reset_wave_display();
