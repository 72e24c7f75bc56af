#include "skin/centre_dialog.h"

#include "platform/ui/windows.h"

void centre_dialog(HWND dialog) {
  RECT frame{};
  GetWindowRect(dialog, &frame);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
