#include <iterator>

#include "app/main_window.h"
#include "app/mci_notice.h"
#include "app/media_keys.h"
#include "app/notify_router.h"
#include "app/open_with.h"
#include "app/rack_menu.h"
#include "app/window_handlers.h"
#include "decks/recording.h"
#include "mixer/mixer_panel.h"
#include "platform/desktop/desktop_messages.h"
#include "platform/mci/mmsystem.h"
#include "platform/ui/shellapi.h"
#include "platform/ui/windows.h"
#include "skin/owner_draw.h"
#include "skin/paint.h"

namespace {

struct MessageRow {
  UINT message;
  Handler handler;
  // wParam is a handle (a window, a drop): the handler gets it whole, not its low 16 bits.
  bool handle_in_wparam = false;
};

// Searched in order; any other message goes to DefWindowProcA.
constexpr MessageRow kMessageTable[] = {
    {WM_MOUSEMOVE, on_mouse_move},
    {WM_COMMAND, command_dispatch},
    {WM_DRAWITEM, draw_button},
    {WM_DESTROY, destroy_sequence},
    {WM_PAINT, paint_rack},
    {WM_CREATE, create_drawing_resources},
    {WM_LBUTTONDOWN, on_left_button_down},
    {WM_SYSKEYDOWN, on_system_key},
    {MM_MCINOTIFY, route_mci_notify},
    {WM_CLOSE, close_sequence},
    {WM_SETFOCUS, on_set_focus},
    {WM_QUERYNEWPALETTE, on_query_new_palette},
    {WM_PALETTECHANGED, on_palette_changed, true},
    {WM_PALETTEISCHANGING, on_palette_changed, true},
    {WM_TIMER, recording_timer},
    {MM_MIXM_CONTROL_CHANGE, on_mixer_control_change},
    {MM_QUORVIN_NOTICE, on_mci_notice},
    // The desktop's messages: the rack's menu, dropped files, files handed
    // over by "open with" or a later start, media keys, the desktop's volume.
    {WM_RBUTTONUP, on_right_button_up},
    {WM_DROPFILES, on_drop_files, true},
    {WM_COPYDATA, on_copy_data},
    {WM_APPCOMMAND, on_app_command},
    {WM_QUORVIN_SET_VOLUME, on_desktop_volume},
};

}  // namespace

LRESULT CALLBACK rack_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const WPARAM full = wparam;
  message &= 0xFFFF;
  wparam &= 0xFFFF;
  for (const MessageRow& row : kMessageTable) {
    if (row.message != message) continue;
    return row.handler(window, message, row.handle_in_wparam ? full : wparam, lparam);
  }
  return DefWindowProcA(window, message, wparam, lparam);
}
