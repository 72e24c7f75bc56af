// mci: sends each argument as an MCI command string and prints the reply or the
// error text, e.g.  mci 'open "a.wav" type waveaudio alias w' 'play w wait' 'close w'
// Notifications are printed as they arrive. Exit status 1 when a command failed.
#include <cstdio>
#include <mutex>

#include "platform/audio/engine.h"
#include "platform/mci/mmsystem.h"

namespace {

std::mutex g_print;

void print_notify(HWND, UINT, WPARAM code, LPARAM device) {
  const char* what = code == MCI_NOTIFY_SUCCESSFUL   ? "successful"
                     : code == MCI_NOTIFY_SUPERSEDED ? "superseded"
                     : code == MCI_NOTIFY_ABORTED    ? "aborted"
                                                     : "failure";
  std::lock_guard lock(g_print);
  std::printf("notify device %ld: %s\n", static_cast<long>(device), what);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: mci 'command string' ...\n");
    return 2;
  }
  mci_set_notify_poster(print_notify);
  // Any non-null handle will do: the poster above does not deliver to windows.
  const HWND console = reinterpret_cast<HWND>(1);
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    char reply[256];
    const MCIERROR err = mciSendStringA(argv[i], reply, sizeof reply, console);
    std::lock_guard lock(g_print);
    if (err == 0) {
      std::printf("%s\n", reply[0] ? reply : "ok");
      continue;
    }
    char text[256];
    if (!mciGetErrorStringA(err, text, sizeof text)) std::snprintf(text, sizeof text, "unknown error");
    std::printf("error %u: %s\n", err, text);
    status = 1;
  }
  mciSendStringA("close all", nullptr, 0, nullptr);
  audio::shutdown();
  return status;
}
