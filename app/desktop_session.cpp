#include "app/desktop_session.h"

#include "app/media_keys.h"
#include "platform/desktop/mpris.h"
#include "platform/desktop/session_bus.h"
#include "platform/desktop/single_instance.h"
#include "platform/ui/shellapi.h"
#include "platform/ui/windows.h"
#include "resources/ids/timers.h"

namespace {
// The media player object follows the rack at the pace of the rack's own tick.
constexpr UINT_PTR kDesktopTimerId = TIMER_DESKTOP;
constexpr UINT kDesktopTimerPeriodMs = 250;

void CALLBACK desktop_tick(HWND, UINT, UINT_PTR, DWORD) { publish_player_state(); }
}  // namespace

bool desktop_claim_instance() {
  identify_to_desktop();
  return claim_single_instance(command_line_files()) != InstanceClaim::HandedOver;
}

void desktop_attach(HWND window) {
  DragAcceptFiles(window, TRUE);
  forget_last_source();
  mpris_start(window);
  SetTimer(window, kDesktopTimerId, kDesktopTimerPeriodMs, desktop_tick);
}

void desktop_serve(HWND window) { serve_single_instance(window); }

void desktop_detach() {
  mpris_stop();
  release_single_instance();
}
