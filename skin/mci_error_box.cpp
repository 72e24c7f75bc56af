#include "skin/mci_error_box.h"

#include "skin/rack_state.h"
#include "platform/mci/mmsystem.h"
#include "platform/ui/windows.h"

int mci_error_box(DWORD error) {
  char text[256];
  if (mciGetErrorStringA(error, text, sizeof text)) return MessageBoxA(main_window, text, "MCI Error", MB_OK | MB_ICONEXCLAMATION);
  return MessageBoxA(main_window, "Unknow Error", "MCI Error", MB_OK | MB_ICONEXCLAMATION);
}
