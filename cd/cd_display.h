#pragma once
// Everything the CD deck draws into its LCD window, drawn at once through the
// main window's context whenever the state changes; refresh_cd_panel redraws
// it all after each paint of the face. Nothing is drawn while the CD panel is
// hidden (the disc is also loaded then). UI thread only.

// The time display: a in the track cells, b in the minute cells, c in the
// second cells; (88, 88, 88) draws six dashes.
void show_digits(int a, int b, int c);
void show_dashes();
// While ready: the current position's track, minutes and seconds.
void show_position();
// Playing, paused or blank, from the device mode and the paused flag.
void draw_state_icon();
// Whether the state icon last drawn was the playing one: a play the device
// ended without a successful end (a failed sound device) leaves it to the tick.
bool state_icon_shows_playing();
void draw_mode_indicator();
void draw_repeat_indicator();
// The page of 16 entries of the current list holding the current index, that
// entry in red; then the title line (disc title while stopped, the entry's
// title while playing or paused).
void draw_grid_and_title();
// After every paint of the face.
void refresh_cd_panel();
