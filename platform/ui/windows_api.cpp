// Creating, destroying, placing and querying windows.
#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "platform/ui/message_queue.h"
#include "platform/ui/ui_internal.h"
#include "platform/ui/window_registry.h"
#include "platform/ui/window_widgets.h"

using namespace ui_detail;

namespace {

// The screen pretends to be a window, as GetDesktopWindow's handle.
const HWND kDesktop = reinterpret_cast<HWND>(std::uintptr_t{0x10});

QRect screen_rect() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry() : QRect(0, 0, 800, 600);
}

void place_widget(Window* w) {
  if (!w->widget) return;
  if (w->kind == WindowKind::TopLevel) {
    QRect outer = w->client.adjusted(-w->border, -w->border, w->border, w->border);
    w->widget->setFixedSize(outer.size());
    w->widget->move(outer.topLeft());
  } else {
    Window* parent = find_window(w->parent);
    int b = parent && parent->kind == WindowKind::TopLevel ? parent->border : 0;
    w->widget->setGeometry(w->client.translated(b, b));
  }
}

// The window manager may have moved a top-level window since we placed it.
void sync_position(Window* w) {
  if (w->kind == WindowKind::TopLevel && w->widget)
    w->client.moveTopLeft(w->widget->pos() + QPoint(w->border, w->border));
  if (w->kind == WindowKind::Dialog && w->widget) w->client = w->widget->geometry();
}

// A dialog's window rectangle is its frame, as the window manager draws it.
BOOL place_dialog(Window* w, int x, int y, int cx, int cy, UINT flags) {
  QWidget* d = w->widget;
  if (!d) return FALSE;
  QSize frame_extra = d->frameGeometry().size() - d->geometry().size();
  if (!(flags & SWP_NOSIZE))
    d->setFixedSize(std::max(cx - frame_extra.width(), 0), std::max(cy - frame_extra.height(), 0));
  if (!(flags & SWP_NOMOVE)) d->move(x, y);
  sync_position(w);
  if (flags & SWP_SHOWWINDOW) d->show();
  if (flags & SWP_HIDEWINDOW) d->hide();
  return TRUE;
}

void resize_buffer(Window* w) {
  if (w->kind != WindowKind::TopLevel) return;
  QSize size = w->client.size().expandedTo(QSize(1, 1));
  if (w->buffer.size() == size) return;
  QImage fresh(size, QImage::Format_RGB32);
  fresh.fill(Qt::black);
  if (!w->buffer.isNull()) {
    QPainter p(&fresh);
    p.drawImage(0, 0, w->buffer);
  }
  w->buffer = fresh;
}

void destroy_tree(HWND hwnd);

// Owned windows go before their owner, as on Win32: dialogs through their
// records; message boxes, file dialogs and menus over the owner's widget end
// their modal loops (hidden, they return; their callers see them gone).
void destroy_owned(Window* w) {
  std::vector<HWND> owned;
  for (Window* o : all_windows_in_creation_order())
    if (o->owner == w->handle) owned.push_back(o->handle);
  for (HWND o : owned) destroy_tree(o);
  w = find_window(w->handle);
  if (!w || !w->widget) return;
  for (QWidget* child : w->widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isWindow() && child->isVisible()) child->hide();
}

void destroy_tree(HWND hwnd) {
  Window* w = find_window(hwnd);
  if (!w || w->destroying) return;
  w->destroying = true;
  destroy_owned(w);
  if (!find_window(hwnd)) return;
  SendMessageA(hwnd, WM_DESTROY, 0, 0);
  w = find_window(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) destroy_tree(c);
  kill_timers_of(hwnd);
  discard_queued_for(hwnd);
  forget_pending_paint(hwnd);
  if (Window* parent = find_window(w->parent)) {
    auto& list = parent->children;
    list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
  }
  if (w->widget) {
    // The widget may be inside its own event handler: hide now, free later.
    w->widget->hide();
    w->widget->setProperty("quorvin_hwnd", QVariant());
    w->widget->deleteLater();
  }
  remove_window(hwnd);
}

}  // namespace

HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent_handle, HMENU menu, HINSTANCE instance, LPVOID param) {
  if (!QApplication::instance() || !class_name || IS_INTRESOURCE(class_name)) return nullptr;
  dispatcher();  // made on the GUI thread before any other thread posts
  auto cls = find_class(class_name);
  if (!cls) return nullptr;
  Window* parent = find_window(parent_handle);
  bool child = (style & WS_CHILD) != 0;
  if (child && !parent) return nullptr;

  auto record = std::make_unique<Window>();
  record->cls = cls;
  record->proc = cls->proc;
  record->style = style;
  record->parent = child ? parent_handle : nullptr;
  record->id = child ? static_cast<int>(reinterpret_cast<std::uintptr_t>(menu)) : 0;
  record->text = title ? title : "";
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) width = height = 0;
  width = std::max(width, 0);
  height = std::max(height, 0);

  if (!child) {
    record->kind = WindowKind::TopLevel;
    record->border = (style & (WS_BORDER | WS_CAPTION)) ? 1 : 0;
    int b = record->border;
    record->client = QRect(x + b, y + b, std::max(width - 2 * b, 0), std::max(height - 2 * b, 0));
  } else {
    bool button = cls->name == "BUTTON";
    record->kind = button ? WindowKind::OwnerDrawButton : WindowKind::Child;
    record->client = QRect(x, y, width, height);
  }
  Window* w = add_window(std::move(record));
  HWND hwnd = w->handle;

  if (w->kind == WindowKind::TopLevel) {
    QWidget* owner = parent ? parent->widget.data() : nullptr;
    auto* widget = new SurfaceWidget(hwnd, owner ? owner->window() : nullptr, true);
    widget->setWindowTitle(QString::fromLatin1(w->text.c_str()));
    w->widget = widget;
    resize_buffer(w);
  } else {
    QWidget* parent_widget = parent->widget;
    if (w->kind == WindowKind::OwnerDrawButton)
      w->widget = new OwnerDrawButton(hwnd, parent_widget);
    else
      w->widget = new SurfaceWidget(hwnd, parent_widget, false);
    parent->children.push_back(hwnd);
  }
  place_widget(w);
  apply_class_cursor(w);

  CREATESTRUCTA create{param,  instance, menu,  parent_handle,       height,     width,
                       y,      x,         static_cast<LONG>(style), title, class_name, ex_style};
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  w = find_window(hwnd);
  if (!w) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  Window* parent = find_window(w->parent);
  QRect area = w->client;
  destroy_tree(hwnd);
  // The parent's surface shows again where the child was.
  if (parent) invalidate(parent, area);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return find_window(hwnd) ? TRUE : FALSE; }

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = find_window(hwnd);
  return w && w->widget && w->widget->isVisible() ? TRUE : FALSE;
}

HWND GetDlgItem(HWND parent, int id) {
  Window* p = find_window(parent);
  if (!p) return nullptr;
  for (HWND c : p->children)
    if (Window* w = find_window(c); w && w->id == id) return c;
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = find_window(hwnd);
  return w ? w->id : 0;
}

HWND GetParent(HWND hwnd) {
  Window* w = find_window(hwnd);
  return w ? w->parent : nullptr;
}

namespace ui_detail {

BOOL store_text(HWND hwnd, LPCSTR text) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  w->text = text ? text : "";
  bool titled = w->kind == WindowKind::TopLevel || w->kind == WindowKind::Dialog;
  if (titled && w->widget) w->widget->setWindowTitle(QString::fromLatin1(w->text.c_str()));
  return TRUE;
}

int copy_text(HWND hwnd, LPSTR buffer, int max_count) {
  if (!buffer || max_count <= 0) return 0;
  buffer[0] = '\0';
  Window* w = find_window(hwnd);
  if (!w) return 0;
  int n = std::min(static_cast<int>(w->text.size()), max_count - 1);
  std::copy_n(w->text.data(), n, buffer);
  buffer[n] = '\0';
  return n;
}

}  // namespace ui_detail

// A control keeps its text in its widget: ask it.
BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  Window* w = find_window(hwnd);
  if (w && w->kind == WindowKind::Control)
    return static_cast<BOOL>(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
  return store_text(hwnd, text);
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int max_count) {
  Window* w = find_window(hwnd);
  if (w && w->kind == WindowKind::Control && buffer && max_count > 0) {
    buffer[0] = '\0';
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(max_count), reinterpret_cast<LPARAM>(buffer)));
  }
  return copy_text(hwnd, buffer, max_count);
}

HWND FindWindowA(LPCSTR class_name, LPCSTR title) {
  auto cls = class_name && !IS_INTRESOURCE(class_name) ? find_class(class_name) : nullptr;
  if (class_name && !cls) return nullptr;
  for (Window* w : all_windows_in_creation_order()) {
    if (w->kind != WindowKind::TopLevel) continue;
    if (cls && w->cls != cls) continue;
    if (title && w->text != title) continue;
    return w->handle;
  }
  return nullptr;
}

HWND SetFocus(HWND hwnd) {
  HWND previous = GetFocus();
  if (!hwnd) {  // no window has the keyboard then
    if (QWidget* f = QApplication::focusWidget()) f->clearFocus();
    return previous;
  }
  Window* w = find_window(hwnd);
  if (!w || !w->widget) return nullptr;
  if (w->kind == WindowKind::TopLevel) {
    if (QWidget* f = w->widget->focusWidget(); f && f != w->widget) f->clearFocus();
    w->widget->activateWindow();
    w->widget->setFocus(Qt::OtherFocusReason);
  } else {
    w->widget->setFocus(Qt::OtherFocusReason);
  }
  return previous;
}

HWND GetFocus() {
  if (Window* w = window_of_widget(QApplication::focusWidget())) return w->handle;
  if (Window* w = window_of_widget(QApplication::activeWindow())) return w->handle;
  return nullptr;
}

BOOL SetForegroundWindow(HWND hwnd) {
  Window* w = find_window(hwnd);
  if (!w || !w->widget) return FALSE;
  w->widget->window()->raise();
  w->widget->window()->activateWindow();
  return TRUE;
}

HWND GetDesktopWindow() { return kDesktop; }

BOOL GetClientRect(HWND hwnd, LPRECT rc) {
  if (!rc) return FALSE;
  if (hwnd == kDesktop) {
    QRect s = screen_rect();
    *rc = RECT{0, 0, s.width(), s.height()};
    return TRUE;
  }
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  *rc = RECT{0, 0, w->client.width(), w->client.height()};
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rc) {
  Window* w = find_window(hwnd);
  if (rc && hwnd == kDesktop) return GetClientRect(hwnd, rc);
  if (!w || !rc) return FALSE;
  if (w->kind == WindowKind::Dialog && w->widget) {
    QRect f = w->widget->frameGeometry();
    *rc = RECT{f.left(), f.top(), f.left() + f.width(), f.top() + f.height()};
    return TRUE;
  }
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  int b = w->kind == WindowKind::TopLevel ? w->border : 0;
  *rc = RECT{origin.x - b, origin.y - b, origin.x + w->client.width() + b, origin.y + w->client.height() + b};
  return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  if (w->kind == WindowKind::Dialog) return place_dialog(w, x, y, cx, cy, flags);
  int b = w->kind == WindowKind::TopLevel ? w->border : 0;
  sync_position(w);
  QRect before = w->client;
  QRect after = before;
  if (!(flags & SWP_NOMOVE)) after.moveTopLeft(QPoint(x + b, y + b));
  if (!(flags & SWP_NOSIZE)) after.setSize(QSize(std::max(cx - 2 * b, 0), std::max(cy - 2 * b, 0)));
  w->client = after;
  if (w->kind == WindowKind::TopLevel) {
    resize_buffer(w);
    if (before.size() != after.size()) {
      // Class styles CS_HREDRAW/CS_VREDRAW ask for a whole repaint; otherwise only new area.
      bool whole = w->cls && (w->cls->style & (CS_HREDRAW | CS_VREDRAW));
      QRegion fresh = whole ? QRegion(QRect(QPoint(0, 0), after.size()))
                            : QRegion(QRect(QPoint(0, 0), after.size())) - QRect(QPoint(0, 0), before.size());
      for (const QRect& r : fresh) invalidate(w, r);
    }
  } else if (!(flags & SWP_NOREDRAW) && before != after) {
    if (Window* parent = find_window(w->parent)) invalidate(parent, before);
    invalidate(w, QRect(QPoint(0, 0), after.size()));
  }
  place_widget(w);
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  Window* w = find_window(hwnd);
  if (!w || !w->widget) return FALSE;
  BOOL was_visible = w->widget->isVisible() ? TRUE : FALSE;
  QWidget* widget = w->widget;
  switch (cmd) {
    case SW_HIDE:
      widget->hide();
      if (Window* parent = find_window(w->parent)) invalidate(parent, w->client);
      return was_visible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      widget->showMinimized();
      return was_visible;
    default:
      break;
  }
  if (w->kind == WindowKind::TopLevel) {
    if (widget->isMinimized())
      widget->showNormal();
    else
      widget->show();
    if (cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE) widget->activateWindow();
  } else {
    widget->show();
  }
  if (!was_visible) invalidate(w, QRect(QPoint(0, 0), w->client.size()));
  return was_visible;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = find_window(hwnd);
  if (!w || !w->widget) return FALSE;
  BOOL was_disabled = w->widget->isEnabled() ? FALSE : TRUE;
  w->widget->setEnabled(enable != FALSE);
  return was_disabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = find_window(hwnd);
  return w && w->widget && w->widget->isEnabled() ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
  Window* w = find_window(hwnd);
  return w && w->widget && w->widget->isMinimized() ? TRUE : FALSE;
}

int GetSystemMetrics(int index) {
  QRect s = screen_rect();
  switch (index) {
    case SM_CXSCREEN:
      return s.width();
    case SM_CYSCREEN:
      return s.height();
    default:
      return 0;
  }
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt) {
  Window* w = find_window(hwnd);
  if (!w || !pt) return FALSE;
  QPoint origin;
  for (Window* cur = w; cur; cur = find_window(cur->parent)) {
    sync_position(cur);
    origin += cur->client.topLeft();
    if (cur->kind == WindowKind::TopLevel || cur->kind == WindowKind::Dialog) break;
  }
  pt->x += origin.x();
  pt->y += origin.y();
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt) {
  POINT origin{0, 0};
  if (!pt || !ClientToScreen(hwnd, &origin)) return FALSE;
  pt->x -= origin.x;
  pt->y -= origin.y;
  return TRUE;
}
