// Program entry: the QApplication around the program's WinMain.
#include <QApplication>

#include "platform/ui/windows.h"

namespace {
// The program's one module; resources are found through the installed tables.
const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(std::uintptr_t{0x400000});
}  // namespace

HINSTANCE GetModuleHandleA(LPCSTR name) { return name ? nullptr : kInstance; }

int RunWinMain(int argc, char** argv, WinMainFunc entry) {
  // The rack is pixel art: on a high-density screen it is shown at the whole
  // part of the ratio (Qt scales the back buffer without smoothing), so a 1.5
  // screen keeps it at 1:1 rather than blurring or overgrowing it.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Floor);
  QApplication app(argc, argv);
  // The program ends through its own quit message, not when a window closes.
  app.setQuitOnLastWindowClosed(false);
  CloseOnTerminationSignals();
  char command_line[] = "";
  return entry(kInstance, nullptr, command_line, SW_SHOWDEFAULT);
}
