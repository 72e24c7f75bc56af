#pragma once
// Internal model behind the Win32 window functions: window records, the
// widgets that carry them on screen, and the message loop's shared state.
// Nothing here is part of the public API.
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QImage>
#include <QWidget>
#include <QCursor>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/windows.h"

namespace ui_detail {

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  bool builtin = false;
};

enum class WindowKind { TopLevel, Child, OwnerDrawButton, Dialog, Control };

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  WindowKind kind = WindowKind::TopLevel;
  HWND parent = nullptr;
  int id = 0;
  DWORD style = 0;
  std::string text;
  QPointer<QWidget> widget;
  // Client rectangle: for a child, relative to its parent's client area;
  // for a top-level window, in screen coordinates.
  QRect client;
  int border = 0;  // one-pixel frame of WS_BORDER windows, painted black
  std::vector<HWND> children;
  bool destroying = false;

  // Dialogs only.
  HWND owner = nullptr;  // destroyed first when the owner is, as Win32 does
  DLGPROC dialog_proc = nullptr;
  INT_PTR dialog_result = 0;
  bool dialog_ended = false;

  // Top-level windows only. Every window of a tree draws into the one back
  // buffer of its top-level window, in device-independent pixels; the widget
  // shows the buffer. On a high-density screen Qt draws it scaled by the
  // device pixel ratio (integer, nearest neighbour), and mouse positions stay
  // in buffer pixels: a different scale only changes SurfaceWidget::paintEvent.
  QImage buffer;
  bool painting = false;
  QRegion painted_during_cycle;
};

// Window registry.
Window* find_window(HWND hwnd);
Window* top_level_of(Window* w);
QPoint offset_in_top(const Window* w);  // a window's client origin inside its top's buffer
Window* window_of_widget(const QWidget* widget);
std::shared_ptr<WindowClass> find_class(const char* name);
const std::vector<Window*>& all_windows_in_creation_order();

// Calls a window procedure as an application callback (counts the nesting).
LRESULT call_window_proc(Window* w, UINT msg, WPARAM wp, LPARAM lp);
// Runs any application callback; the loop uses the depth to decide where
// queued input goes.
template <typename F>
auto as_callback(F&& f) -> decltype(f());
void enter_callback();
void leave_callback();

// Input, timers and posted messages all enter here on the GUI thread: they
// go to a waiting GetMessageA, or straight to their window procedure when the
// program's loop is not the innermost one (modal loops, start-up, tests).
void deliver(const MSG& msg);
void discard_queued_for(HWND hwnd);

// Painting.
void mark_dirty(Window* top, const QRect& client_rect);  // buffer changed: show it
// Sends the owed WM_PAINT/WM_DRAWITEM now. Pixels drawn meanwhile outside
// `being_shown` (widget coordinates) are scheduled for showing.
void paint_pending(Window* top, const QRegion& being_shown = QRegion());
void invalidate(Window* w, const QRect& client_rect);
void forget_pending_paint(HWND hwnd);

// Owner-drawn buttons: sends WM_DRAWITEM to the parent.
void send_draw_item(Window* button, UINT action, UINT state);

// Window text as stored for windows that are not controls.
BOOL store_text(HWND hwnd, LPCSTR text);
int copy_text(HWND hwnd, LPSTR buffer, int max_count);

// Destruction helpers.
void kill_timers_of(HWND hwnd);
void apply_class_cursor(Window* w);

// Key mapping between Qt and virtual keys.
WPARAM virtual_key_from_qt(int qt_key);
int qt_key_from_virtual(WPARAM vk);
void note_modifiers(Qt::KeyboardModifiers mods);
Qt::KeyboardModifiers current_modifiers();

DWORD tick_count();

// A modal Qt window (message box, file dialog, popup menu) over an owner's
// widget. It lives on the heap: destroying the owner while it is up (WM_CLOSE
// from a timer, the session ending) deletes it with the owner's widget, which
// would free one on the stack a second time. gone() tells that it went.
template <typename W>
class OwnedModal {
 public:
  template <typename... Args>
  explicit OwnedModal(Args&&... args) : widget_(new W(std::forward<Args>(args)...)) {}
  ~OwnedModal() { delete widget_.data(); }
  OwnedModal(const OwnedModal&) = delete;
  OwnedModal& operator=(const OwnedModal&) = delete;
  W* operator->() const { return widget_.data(); }
  W& operator*() const { return *widget_; }
  bool gone() const { return widget_.isNull(); }

 private:
  QPointer<W> widget_;
};

template <typename F>
auto as_callback(F&& f) -> decltype(f()) {
  struct Guard {
    Guard() { enter_callback(); }
    ~Guard() { leave_callback(); }
  } guard;
  return f();
}

}  // namespace ui_detail
