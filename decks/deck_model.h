#pragma once
// Inside the decks: the command strings every deck sends, the stop-and-rewind
// and the held seek step both deck kinds share, and the reset at WM_CREATE.
// UI thread only.
#include "decks/decks.h"

// One of the deck's command strings: `format` holds one %s for the alias
// ("stop %s", "seek %s to start"). The result is MCI's.
MCIERROR deck_command(const Deck& deck, const char* format);
// "seek <alias> to <ms>".
MCIERROR deck_seek(const Deck& deck, long ms);
// "play <alias> notify", the end reported to the main window.
MCIERROR deck_play(const Deck& deck);
// "status <alias> <item>" as a number; 0 when the reply is not one.
long deck_status(const Deck& deck, const char* item);
// "status <alias> length" into the record.
void read_length(Deck& deck);

// Stop's and the end of play's rewind: "stop" (unless the play just ended by
// itself), "seek to start", Stopped. The caller redraws the position.
void stop_and_rewind(Deck& deck, bool send_stop);

// One tick of a held seek button: `step` ms back (negative) or forward, kept
// within 0..length; a playing deck plays on from there, a paused one ends up
// Stopped. Returns the new position, or -1 for an empty deck.
long seek_step(Deck& deck, long step);

// WM_CREATE: every deck empty, every flag and counter as at start.
void reset_decks();

// The plain "MCI error" box of a refused play, pause or record: the error's
// text, an OK button, no icon.
void plain_mci_error_box(MCIERROR error);
