// The end of a desktop session (SIGTERM, SIGHUP) or Ctrl+C in a terminal closes
// the program the way its own close does: WM_CLOSE to every top-level window, so
// media are closed and settings written. A second signal ends it at once.
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

#include "platform/ui/ui_internal.h"

namespace {

int wake_pipe[2] = {-1, -1};

void on_signal(int) {
  const char c = 1;
  // Only async-signal-safe work here: the GUI thread does the rest.
  [[maybe_unused]] const ssize_t n = write(wake_pipe[1], &c, 1);
}

void close_top_level_windows() {
  char drain[16];
  while (read(wake_pipe[0], drain, sizeof drain) > 0) {
  }
  for (ui_detail::Window* w : ui_detail::all_windows_in_creation_order())
    if (w->kind == ui_detail::WindowKind::TopLevel && !w->destroying) PostMessageA(w->handle, WM_CLOSE, 0, 0);
}

}  // namespace

void CloseOnTerminationSignals() {
  if (wake_pipe[0] >= 0 || !QCoreApplication::instance()) return;
  if (pipe2(wake_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(wake_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, close_top_level_windows);
  struct sigaction action = {};
  action.sa_handler = on_signal;
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}
