#include "app/mci_notice.h"

#include "platform/mci/mmsystem.h"
#include "platform/ui/windows.h"
#include "skin/rack_state.h"

LRESULT on_mci_notice(HWND, UINT, WPARAM wparam, LPARAM) {
  char text[256];
  if (mciGetNoticeTextA(wparam, text, sizeof text))
    MessageBoxA(main_window, text, kWindowCaption, MB_OK | MB_ICONINFORMATION);
  return 0;
}
