#include "decks/playlist_step.h"

#include "decks/decks.h"
#include "decks/playlist_items.h"
#include "resources/ids/commands.h"
#include "skin/rack_state.h"

namespace {

// The index after a step of `direction` (+1 next, -1 previous) in a list of
// `count` items; an index left beyond a list that has since shrunk comes back into it.
int stepped(int index, int count, int direction) {
  if (direction > 0) return index >= count - 1 ? 0 : index + 1;
  return index <= 0 || index > count ? count - 1 : index - 1;
}

struct StepRow {
  WORD id;
  DeckKind kind;
  int direction;
};
constexpr StepRow kSteps[] = {
    {CMD_MIDI_REWIND, DeckKind::Midi, -1},
    {CMD_MIDI_FORWARD, DeckKind::Midi, +1},
    {CMD_WAVE_REWIND, DeckKind::Wave, -1},
    {CMD_WAVE_FORWARD, DeckKind::Wave, +1},
};

void step(Deck& deck, int& index, int direction) {
  if (!playlist_of(deck).mode) return;
  const int count = playlist_item_count(deck.kind);
  if (count == 0) return;
  const int next = stepped(index, count, direction);
  const auto item = playlist_item(deck.kind, next);
  if (!item) {
    index = next;  // a gap: the next step moves on from here
    return;
  }
  if (deck.kind == DeckKind::Wave && deck.number == 2) {
    // A recording under way, or one about to start, is never replaced by a click.
    if (deck.state == kRecording || new_recording_pending) return;
    if (!ask_to_save_recording(main_window)) return;
  }
  index = next;
  open_playlist_item(deck, *item, deck.state == kPlaying);
}

}  // namespace

LRESULT playlist_step(HWND, UINT, WPARAM id, LPARAM) {
  for (const StepRow& row : kSteps) {
    if (row.id != LOWORD(id)) continue;
    if (row.kind == DeckKind::Midi)
      step(midi_deck, midi_playlist_index, row.direction);
    else
      step(active_deck(), wave_playlist_index, row.direction);
  }
  return 0;
}
