#pragma once
// The MIDI deck's display: its two LCD faces (information or picture), the
// file name and length, the position and progress bar, and the running
// picture. Draws only while the MIDI module is shown. UI thread only.

// The face, the static text and the position, in this order (also after a paint).
// void repaint_midi_module();  -- declared in decks/decks.h
void draw_midi_face();
// File name and length with the information view on; the resting picture with it off.
void draw_midi_static_text();
// Position text and bar with the information view on; one frame of the running
// picture with it off (the resting frame while Stopped).
void refresh_midi_position();
// The position text and bar for a position already known.
void draw_midi_position(long ms);

// The running picture's frame counter back to its start.
void reset_midi_display();
