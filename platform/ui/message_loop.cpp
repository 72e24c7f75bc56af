// Posted and sent messages, the message loop and dispatch, over Qt's event loop.
//
// Every posted message travels as a Qt event to one dispatcher object on the
// GUI thread, so order is kept and posting is safe from any thread. Input,
// timer ticks and posted messages then meet in deliver(): when the program's
// own GetMessageA is waiting and no application callback is running, the
// message is handed to it (so TranslateAcceleratorA sees keys); otherwise
// (inside a modal loop, during start-up, under a test's pump) it goes straight
// to its window procedure, as a modal loop's dispatch would. GetMessageA
// sleeps in QEventLoop::exec: no polling.
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>
#include <mutex>

#include "platform/ui/message_queue.h"
#include "platform/ui/ui_internal.h"

namespace ui_detail {
namespace {

const QEvent::Type kMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kFlushEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct MessageEvent : QEvent {
  explicit MessageEvent(const MSG& m) : QEvent(kMessageEvent), msg(m) {}
  MSG msg;
};

struct LoopState {
  std::deque<MSG> ready;         // taken by GetMessageA, in arrival order
  QEventLoop* waiting = nullptr;  // GetMessageA's loop while it waits
  int waiting_depth = 0;          // callbacks running around that GetMessageA
  bool collecting = false;       // GetMessageA is gathering what was posted before a quit
  int depth = 0;                 // application callbacks running
  bool flush_posted = false;
  bool quit = false;
  int quit_code = 0;
};

LoopState& state() {
  static LoopState s;
  return s;
}

void dispatch_ready() {
  auto& s = state();
  while (!s.ready.empty()) {
    MSG m = s.ready.front();
    s.ready.pop_front();
    DispatchMessageA(&m);
  }
}

class Dispatcher : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == kMessageEvent) {
      deliver(static_cast<MessageEvent*>(e)->msg);
      return true;
    }
    if (e->type() == kFlushEvent) {
      auto& s = state();
      s.flush_posted = false;
      if (s.depth > s.waiting_depth || !s.waiting)
        dispatch_ready();
      else if (!s.ready.empty())
        s.waiting->exit();
      return true;
    }
    return QObject::event(e);
  }
};

}  // namespace

QObject* dispatcher() {
  static Dispatcher* d = [] {
    auto* obj = new Dispatcher;
    if (auto* app = QCoreApplication::instance()) obj->moveToThread(app->thread());
    return obj;
  }();
  return d;
}

bool on_gui_thread() {
  auto* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

void enter_callback() {
  auto& s = state();
  ++s.depth;
  // Messages already handed to the outer GetMessageA must still arrive if
  // this callback opens a modal loop: let that loop pick them up.
  if (!s.ready.empty() && !s.flush_posted) {
    s.flush_posted = true;
    QCoreApplication::postEvent(dispatcher(), new QEvent(kFlushEvent));
  }
}

void leave_callback() { --state().depth; }

void deliver(const MSG& msg) {
  auto& s = state();
  if (s.collecting || (s.waiting && s.depth == s.waiting_depth)) {
    s.ready.push_back(msg);
    if (s.waiting) s.waiting->exit();
    return;
  }
  dispatch_ready();
  MSG m = msg;
  DispatchMessageA(&m);
}

void discard_queued_for(HWND hwnd) {
  auto& q = state().ready;
  q.erase(std::remove_if(q.begin(), q.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }), q.end());
}

bool timer_message_queued(HWND hwnd, UINT_PTR id) {
  for (const MSG& m : state().ready)
    if (m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == id) return true;
  return false;
}

void drop_queued_timer(HWND hwnd, UINT_PTR id) {
  auto& q = state().ready;
  q.erase(std::remove_if(q.begin(), q.end(),
                         [&](const MSG& m) { return m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == id; }),
          q.end());
}

LRESULT call_window_proc(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
  if (!w || !w->proc) return 0;
  WNDPROC proc = w->proc;
  HWND hwnd = w->handle;
  return as_callback([&] { return proc(hwnd, msg, wp, lp); });
}

}  // namespace ui_detail

using namespace ui_detail;

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!QCoreApplication::instance()) return FALSE;
  MSG m{hwnd, msg, wp, lp, tick_count(), {0, 0}};
  QCoreApplication::postEvent(dispatcher(), new MessageEvent(m));
  return TRUE;
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!on_gui_thread()) {
    // Another thread waits for the GUI thread to run the procedure.
    LRESULT result = 0;
    if (!QCoreApplication::instance()) return 0;
    QMetaObject::invokeMethod(
        dispatcher(), [&] { result = SendMessageA(hwnd, msg, wp, lp); }, Qt::BlockingQueuedConnection);
    return result;
  }
  return call_window_proc(find_window(hwnd), msg, wp, lp);
}

void PostQuitMessage(int code) {
  auto& s = state();
  s.quit = true;
  s.quit_code = code;
  if (s.waiting) s.waiting->exit();
}

BOOL GetMessageA(LPMSG msg, HWND, UINT, UINT) {
  auto& s = state();
  if (!msg || !QCoreApplication::instance()) return -1;
  for (;;) {
    if (!s.ready.empty()) {
      *msg = s.ready.front();
      s.ready.pop_front();
      return TRUE;
    }
    if (s.quit) {
      // Messages posted before the quit are still retrieved first.
      s.collecting = true;
      QCoreApplication::sendPostedEvents(dispatcher(), kMessageEvent);
      s.collecting = false;
      if (!s.ready.empty()) continue;
      s.quit = false;
      *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(s.quit_code), 0, tick_count(), {0, 0}};
      return FALSE;
    }
    QEventLoop loop;
    QEventLoop* outer = s.waiting;
    int outer_depth = s.waiting_depth;
    s.waiting = &loop;
    s.waiting_depth = s.depth;  // a GetMessageA loop run from inside a callback is the innermost loop
    loop.exec();
    s.waiting = outer;
    s.waiting_depth = outer_depth;
  }
}

BOOL TranslateMessage(const MSG*) {
  // Character messages are not used by this program's windows.
  return FALSE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    as_callback([&] { proc(msg->hwnd, WM_TIMER, msg->wParam, tick_count()); });
    return 0;
  }
  return call_window_proc(find_window(msg->hwnd), msg->message, msg->wParam, msg->lParam);
}
