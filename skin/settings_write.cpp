#include "skin/settings_write.h"

#include "platform/profile/profile.h"
#include "platform/ui/windows.h"
#include "resources/ids/timers.h"
#include "skin/rack_state.h"
#include "skin/settings_path.h"

namespace {

constexpr UINT_PTR kSettingsFailureTimerId = TIMER_SETTINGS_FAILURE;

HWND told_window = nullptr;  // the main window the failure was told (or is being told) for
std::string untold_path;     // a failure waiting for its box; "" when none

void CALLBACK show_settings_failure(HWND, UINT, UINT_PTR, DWORD) { tell_settings_failure_now(); }

}  // namespace

BOOL save_setting(const char* section, const char* key, const char* value) {
  const std::string path = settings_path();
  const BOOL written = WritePrivateProfileStringA(section, key, value, path.c_str());
  if (!written) settings_write_failed(path);
  return written;
}

void settings_write_failed(const std::string& path) {
  if (main_window != nullptr && told_window == main_window) return;
  told_window = main_window;
  untold_path = path;
  if (main_window != nullptr) SetTimer(main_window, kSettingsFailureTimerId, 0, show_settings_failure);
}

void tell_settings_failure_now() {
  if (main_window != nullptr) KillTimer(main_window, kSettingsFailureTimerId);
  if (untold_path.empty()) return;
  const std::string text = "The settings could not be saved to \"" + untold_path +
                           "\". The disk may be full or the folder may not be writable; settings changed now "
                           "will not be kept.";
  untold_path.clear();
  MessageBoxA(main_window, text.c_str(), kWindowCaption, MB_OK | MB_ICONEXCLAMATION);
}
