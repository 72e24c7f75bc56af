// SetTimer/KillTimer over QTimer. A tick becomes WM_TIMER (with the timer
// procedure in lParam, as Win32 does), so it is dispatched wherever the
// message loop currently is, including inside modal loops. Like Win32, a
// timer never has more than one tick waiting.
#include <QElapsedTimer>
#include <QTimer>
#include <map>

#include "platform/ui/message_queue.h"
#include "platform/ui/ui_internal.h"

namespace ui_detail {
namespace {

struct Timer {
  QTimer* qtimer = nullptr;
  TIMERPROC proc = nullptr;
};

using TimerKey = std::pair<HWND, UINT_PTR>;

std::map<TimerKey, Timer>& timers() {
  static std::map<TimerKey, Timer> t;
  return t;
}

constexpr UINT kMinimumPeriodMs = 10;  // USER_TIMER_MINIMUM

void tick(const TimerKey& key) {
  auto it = timers().find(key);
  if (it == timers().end() || timer_message_queued(key.first, key.second)) return;
  MSG m{key.first, WM_TIMER, key.second, reinterpret_cast<LPARAM>(it->second.proc), tick_count(), {0, 0}};
  deliver(m);
}

void stop(Timer& t) {
  t.qtimer->stop();
  t.qtimer->deleteLater();  // may be inside its own timeout
}

}  // namespace

void kill_timers_of(HWND hwnd) {
  auto& all = timers();
  for (auto it = all.begin(); it != all.end();) {
    if (it->first.first == hwnd) {
      stop(it->second);
      it = all.erase(it);
    } else {
      ++it;
    }
  }
}

DWORD tick_count() {
  static QElapsedTimer clock = [] {
    QElapsedTimer c;
    c.start();
    return c;
  }();
  return static_cast<DWORD>(clock.elapsed());
}

}  // namespace ui_detail

using namespace ui_detail;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc) {
  if (!on_gui_thread()) return 0;
  if (hwnd && !find_window(hwnd)) return 0;
  if (!hwnd) {
    static UINT_PTR next_thread_timer = 0x7FF0;
    id = ++next_thread_timer;
  }
  TimerKey key{hwnd, id};
  auto& t = timers()[key];
  if (!t.qtimer) {
    t.qtimer = new QTimer;
    QObject::connect(t.qtimer, &QTimer::timeout, [key] { tick(key); });
  }
  t.proc = proc;
  t.qtimer->start(static_cast<int>(std::max(ms, kMinimumPeriodMs)));
  return hwnd && id == 0 ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& all = timers();
  auto it = all.find({hwnd, id});
  if (it == all.end()) return FALSE;
  stop(it->second);
  all.erase(it);
  drop_queued_timer(hwnd, id);
  return TRUE;
}

DWORD GetTickCount() { return tick_count(); }
