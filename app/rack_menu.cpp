#include "app/rack_menu.h"

#include "app/hit_test.h"
#include "platform/ui/windows.h"
#include "resources/ids/menus.h"
#include "skin/rack_state.h"

LRESULT on_right_button_up(HWND window, UINT, WPARAM, LPARAM lparam) {
  POINT at{static_cast<SHORT>(LOWORD(lparam)), static_cast<SHORT>(HIWORD(lparam))};
  // Buttons and click areas keep their own meaning; only the bare face has the menu.
  if (hit_test(lparam).command != 0 || ChildWindowFromPoint(window, at) != window) return 0;
  HMENU menu = LoadMenuA(program_instance, MAKEINTRESOURCEA(MENU_RACK));
  if (menu == nullptr) return 0;
  ClientToScreen(window, &at);
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
  DestroyMenu(menu);
  return 0;
}

LRESULT show_about(HWND window, UINT, WPARAM, LPARAM) {
  MessageBoxA(window,
              "Quorvin 0.1\n\n"
              "A rack of hi-fi components: a mixer, a MIDI deck, two cassette decks "
              "and a CD player.\n\n"
              "Right-click the rack's face for this menu; drop files on a deck to load them.",
              "About Quorvin", MB_OK | MB_ICONINFORMATION);
  return 0;
}
