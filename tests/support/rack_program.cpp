#include "support/rack_program.h"

#include <gtest/gtest.h>

#include <QTimer>

#include "app/settings_file.h"
#include "platform/profile/profile.h"
#include "platform/ui/windows.h"
#include "skin/rack_state.h"
#include "skin/settings_path.h"

namespace {

constexpr UINT_PTR kScriptTimer = 0x5C;
std::function<void()> pending_script;

// The script runs as a timer procedure, like the program's own code, so the
// loops it pumps dispatch messages the way a modal loop does.
void CALLBACK run_script(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  std::function<void()> script = std::move(pending_script);
  script();
}

void when_ready(const std::function<void()>& script) {
  QTimer::singleShot(0, [script] {
    if (main_window == nullptr || !IsWindow(main_window)) {
      when_ready(script);
      return;
    }
    pending_script = script;
    SetTimer(main_window, kScriptTimer, 0, run_script);
  });
}

}  // namespace

int run_rack(const std::function<void()>& script, int limit_ms) {
  main_window = nullptr;
  when_ready(script);
  bool overran = false;
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    overran = true;
    if (main_window && IsWindow(main_window)) PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  watchdog.start(limit_ms);
  const int code = WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_FALSE(overran) << "the program did not end by itself";
  return code;
}

void write_setting(const char* section, const char* key, const char* value) {
  WritePrivateProfileStringA(section, key, value, settings_path().c_str());
}

std::string read_setting(const char* section, const char* key) {
  char value[256];
  GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, settings_path().c_str());
  return value;
}
