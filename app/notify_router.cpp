#include "app/notify_router.h"

#include <array>

#include "cd/cd_commands.h"
#include "platform/mci/mmsystem.h"
#include "skin/dispatch.h"

namespace {

struct NotifyRow {
  MCIDEVICEID (*device)();  // the deck's device now, 0 while it has none
  Handler end_of_play;      // the deck's rule, run with the router's arguments
};

// Compared in this order: the MIDI deck, wave deck 1, wave deck 2, the CD.
// Each deck adds its row here as it joins the rack.
constexpr NotifyRow kNotifyRows[] = {
    {cd_device, cd_end_of_entry},
};

}  // namespace

LRESULT route_mci_notify(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Superseded, aborted and failed plays change nothing.
  if (wparam != MCI_NOTIFY_SUCCESSFUL) return 0;
  const MCIDEVICEID device = LOWORD(lparam);
  for (const NotifyRow& row : kNotifyRows)
    if (device != 0 && row.device() == device) row.end_of_play(window, message, wparam, lparam);
  return 0;
}
