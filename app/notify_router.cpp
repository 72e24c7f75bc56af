#include "app/notify_router.h"

#include "cd/cd_commands.h"
#include "decks/midi_deck.h"
#include "decks/wave_decks.h"
#include "platform/mci/mmsystem.h"
#include "skin/dispatch.h"

namespace {

struct NotifyRow {
  MCIDEVICEID (*device)();   // the deck's device now, 0 while it has none
  Handler end_of_play;       // the deck's rule, run with the router's arguments
  Handler failed = nullptr;  // a play that failed on its way; null: ignored
};

// Compared in this order: the MIDI deck, wave deck 1, wave deck 2, the CD.
// Each deck adds its row here as it joins the rack.
constexpr NotifyRow kNotifyRows[] = {
    {midi_device, midi_end_of_play, midi_play_failed},
    {tape1_device, tape1_end_of_play, tape1_play_failed},
    {tape2_device, tape2_end_of_play, tape2_play_failed},
    {cd_device, cd_end_of_entry},
};

}  // namespace

LRESULT route_mci_notify(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Superseded and aborted plays change nothing; a failed one only where its deck says.
  const MCIDEVICEID device = LOWORD(lparam);
  for (const NotifyRow& row : kNotifyRows) {
    if (device == 0 || row.device() != device) continue;
    if (wparam == MCI_NOTIFY_SUCCESSFUL)
      row.end_of_play(window, message, wparam, lparam);
    else if (wparam == MCI_NOTIFY_FAILURE && row.failed)
      row.failed(window, message, wparam, lparam);
  }
  return 0;
}
