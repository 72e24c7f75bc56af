// The entry point: read the module switches, build the window, run the loop.
#include "app/desktop_session.h"
#include "app/main_window.h"
#include "app/rack_wiring.h"
#include "app/settings_file.h"
#include "app/window_handlers.h"
#include "cd/cd_commands.h"
#include "mixer/mixer_channels.h"
#include "mixer/sound3d.h"
#include "platform/audio/midi/midi_renderer.h"
#include "platform/mci/mmsystem.h"
#include "platform/mixer/mixer_api.h"
#include "platform/ui/windows.h"
#include "resources/geometry.h"
#include "resources/ids/window.h"
#include "resources/resources.h"
#include "skin/buttons.h"
#include "skin/layout.h"
#include "skin/rack_state.h"
#include "skin/rack_timer.h"

namespace {

// Devices report from their own threads; PostMessageA is safe from any thread.
void post_to_window(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  PostMessageA(window, message, wparam, lparam);
}

bool register_rack_class(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = rack_window_proc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, ICON_RACK);
  arrow_cursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hCursor = arrow_cursor;
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
}

HWND create_rack_window(HINSTANCE instance) {
  const int height = rack_height() + 2;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return CreateWindowExA(0, kClassName, kWindowCaption, WS_POPUP | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                         kWindowWidth, height, nullptr, nullptr, instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int show) {
  program_instance = instance;
  InstallResources();
  install_rack_wiring();
  mci_set_notify_poster(post_to_window);
  mixer_set_notify_poster(post_to_window);
  sound3d_present = 1;
  hand_shown = 0;
  cd_audio_on = read_module_switch("CDAudioOn");
  wave_on = read_module_switch("WaveOn");
  midi_on = read_module_switch("MidiOn");
  if (previous != nullptr) {
    if (HWND other = FindWindowA(kClassName, kWindowCaption)) SetFocus(other);
    return 0;
  }
  // The platform never passes a previous instance: the session bus tells
  // whether a rack runs, and that rack gets this start's files.
  if (!desktop_claim_instance()) return 0;
  // A shown MIDI deck gets its SoundFont loading now, off this thread, so the
  // first Play does not wait for it.
  if (midi_on) audio::midi_preload_soundfont();
  if (!register_rack_class(instance)) {
    desktop_detach();
    return 0;
  }
  main_window = create_rack_window(instance);
  if (main_window == nullptr) {
    desktop_detach();
    return 0;
  }
  compute_module_tops();
  desktop_attach(main_window);
  if (!mixer_startup()) {
    MessageBoxA(nullptr, "Mixer device can not be opened. Program terminated.", nullptr, MB_OK);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  }
  if (!create_rack_buttons()) PostMessageA(main_window, WM_CLOSE, 0, 0);

  rack_timer = SetTimer(main_window, kRackTimerId, kRackTimerPeriodMs, rack_timer_tick);
  if (rack_timer == 0) {
    MessageBoxA(nullptr, "Set Timer failure. Program terminated.", nullptr, MB_OK);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  }
  // The disc is read even while the CD panel is hidden.
  cd_startup_load();
  ShowWindow(main_window, show);
  UpdateWindow(main_window);
  desktop_serve(main_window);

  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(ACCEL_RACK));
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    if (!TranslateAcceleratorA(main_window, accelerators, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // The destroy sequence's unregistration runs while the window still exists and
  // so cannot succeed; the class really goes here, once the window is gone.
  UnregisterClassA(kClassName, instance);
  desktop_detach();
  return static_cast<int>(msg.wParam);
}
