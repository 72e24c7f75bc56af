#include "platform/ui/window_widgets.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QWindow>

namespace ui_detail {

namespace {

LPARAM point_lparam(QPoint p) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x())), static_cast<WORD>(static_cast<SHORT>(p.y())));
}

WPARAM mouse_keys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
  WPARAM keys = 0;
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (mods & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (mods & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

void tag(QWidget* w, HWND hwnd) { w->setProperty("quorvin_hwnd", QVariant::fromValue(reinterpret_cast<quintptr>(hwnd))); }

}  // namespace

void send_key(HWND hwnd, QKeyEvent* e, bool down) {
  note_modifiers(e->modifiers());
  WPARAM vk = virtual_key_from_qt(e->key());
  if (!vk) return;
  bool alt = (e->modifiers() & Qt::AltModifier) || vk == VK_MENU;
  bool system = alt || vk == VK_F10;  // F10 is a system key in Win32 too
  UINT msg = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM lp = 1;
  if (alt) lp |= LPARAM(1) << 29;
  if (e->isAutoRepeat()) lp |= LPARAM(1) << 30;
  if (!down) lp |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
  deliver(MSG{hwnd, msg, vk, lp, tick_count(), {0, 0}});
}

SurfaceWidget::SurfaceWidget(HWND hwnd, QWidget* parent, bool top_level)
    : QWidget(parent, top_level ? Qt::Window | Qt::FramelessWindowHint : Qt::WindowFlags()),
      hwnd_(hwnd),
      top_level_(top_level) {
  tag(this, hwnd);
  setAttribute(Qt::WA_OpaquePaintEvent, top_level);
  setAttribute(Qt::WA_NoSystemBackground, true);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

void SurfaceWidget::paintEvent(QPaintEvent* e) {
  if (!top_level_) return;
  Window* w = find_window(hwnd_);
  if (!w) return;
  paint_pending(w, e->region());
  QPainter p(this);
  if (w->border) {
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  const QPoint offset(w->border, w->border);
  for (const QRect& r : e->region()) {
    QRect source = r.translated(-offset) & w->buffer.rect();
    if (!source.isEmpty()) p.drawImage(source.topLeft() + offset, w->buffer, source);
  }
}

void SurfaceWidget::send_mouse(UINT msg, QMouseEvent* e) {
  Window* w = find_window(hwnd_);
  if (!w) return;
  QPoint client = e->position().toPoint() - QPoint(w->border, w->border);
  deliver(MSG{hwnd_, msg, mouse_keys(e->buttons(), e->modifiers()), point_lparam(client), tick_count(),
              {e->globalPosition().toPoint().x(), e->globalPosition().toPoint().y()}});
}

void SurfaceWidget::mousePressEvent(QMouseEvent* e) {
  last_press_global_ = e->globalPosition().toPoint();
  if (e->button() == Qt::LeftButton)
    send_mouse(WM_LBUTTONDOWN, e);
  else if (e->button() == Qt::RightButton)
    send_mouse(WM_RBUTTONDOWN, e);
}

void SurfaceWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  Window* w = find_window(hwnd_);
  last_press_global_ = e->globalPosition().toPoint();
  bool wants_double = w && w->cls && (w->cls->style & CS_DBLCLKS);
  if (e->button() == Qt::LeftButton)
    send_mouse(wants_double ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, e);
  else if (e->button() == Qt::RightButton)
    send_mouse(WM_RBUTTONDOWN, e);
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (dragging_) {
    dragging_ = false;
    return;
  }
  if (e->button() == Qt::LeftButton)
    send_mouse(WM_LBUTTONUP, e);
  else if (e->button() == Qt::RightButton)
    send_mouse(WM_RBUTTONUP, e);
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* e) {
  if (dragging_) {
    if (!(e->buttons() & Qt::LeftButton)) {
      dragging_ = false;
    } else {
      QWidget* top = window();
      top->move(e->globalPosition().toPoint() - drag_offset_);
      if (Window* w = find_window(hwnd_)) {
        Window* t = top_level_of(w);
        t->client.moveTopLeft(top->pos() + QPoint(t->border, t->border));
      }
      return;
    }
  }
  send_mouse(WM_MOUSEMOVE, e);
}

void SurfaceWidget::start_manual_drag() {
  dragging_ = true;
  drag_offset_ = last_press_global_ - window()->pos();
}

bool SurfaceWidget::focusNextPrevChild(bool) {
  return false;  // Tab does not walk the buttons of a plain window: it is a key like any other
}

void SurfaceWidget::keyPressEvent(QKeyEvent* e) { send_key(hwnd_, e, true); }
void SurfaceWidget::keyReleaseEvent(QKeyEvent* e) { send_key(hwnd_, e, false); }

void SurfaceWidget::closeEvent(QCloseEvent* e) {
  // The window procedure decides; DefWindowProcA destroys the window.
  e->ignore();
  SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void SurfaceWidget::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  SendMessageA(hwnd_, WM_SETFOCUS, 0, 0);
}

bool SurfaceWidget::event(QEvent* e) {
  if (top_level_ && e->type() == QEvent::WindowActivate && !focusWidget())
    SendMessageA(hwnd_, WM_SETFOCUS, 0, 0);
  return QWidget::event(e);
}

void SurfaceWidget::dragEnterEvent(QDragEnterEvent* e) { accept_file_drag(e); }
void SurfaceWidget::dragMoveEvent(QDragMoveEvent* e) { accept_file_drag(e); }
void SurfaceWidget::dropEvent(QDropEvent* e) { deliver_file_drop(hwnd_, e); }

OwnerDrawButton::OwnerDrawButton(HWND hwnd, QWidget* parent) : QAbstractButton(parent), hwnd_(hwnd) {
  tag(this, hwnd);
  setAttribute(Qt::WA_NoSystemBackground, true);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  connect(this, &QAbstractButton::pressed, this, [this] {
    if (Window* w = find_window(hwnd_)) send_draw_item(w, ODA_SELECT, state_bits());
  });
  connect(this, &QAbstractButton::released, this, [this] {
    if (losing_focus_) return;  // already reported as a focus change
    if (Window* w = find_window(hwnd_)) send_draw_item(w, ODA_SELECT, state_bits());
  });
  connect(this, &QAbstractButton::clicked, this, [this] {
    Window* w = find_window(hwnd_);
    if (w) SendMessageA(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), BN_CLICKED),
                        reinterpret_cast<LPARAM>(hwnd_));
  });
}

UINT OwnerDrawButton::state_bits() const {
  UINT s = 0;
  if (isDown()) s |= ODS_SELECTED;
  if (hasFocus() && !losing_focus_) s |= ODS_FOCUS;
  if (!isEnabled()) s |= ODS_DISABLED;
  return s;
}

void OwnerDrawButton::focusInEvent(QFocusEvent* e) {
  QAbstractButton::focusInEvent(e);
  if (Window* w = find_window(hwnd_)) send_draw_item(w, ODA_FOCUS, state_bits());
}

void OwnerDrawButton::focusOutEvent(QFocusEvent* e) {
  // Losing the focus while held ends the press: Win32 reports that as a focus
  // change, and the button then releases without a click.
  losing_focus_ = true;
  if (Window* w = find_window(hwnd_)) send_draw_item(w, ODA_FOCUS, state_bits() & ~ODS_SELECTED);
  QAbstractButton::focusOutEvent(e);
  losing_focus_ = false;
}

// The pointer over a button belongs to the button: nothing it does there
// reaches the parent window (Qt would pass ignored events up).
void OwnerDrawButton::mousePressEvent(QMouseEvent* e) {
  QAbstractButton::mousePressEvent(e);
  e->accept();
}

void OwnerDrawButton::mouseReleaseEvent(QMouseEvent* e) {
  QAbstractButton::mouseReleaseEvent(e);
  e->accept();
}

void OwnerDrawButton::mouseMoveEvent(QMouseEvent* e) {
  QAbstractButton::mouseMoveEvent(e);
  e->accept();
}

void OwnerDrawButton::mouseDoubleClickEvent(QMouseEvent* e) {
  // An owner-drawn button reports the second click as a double click only.
  Window* w = find_window(hwnd_);
  if (w && e->button() == Qt::LeftButton)
    SendMessageA(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(hwnd_));
  e->accept();
}

void OwnerDrawButton::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Space && !(e->modifiers() & Qt::AltModifier)) {
    QAbstractButton::keyPressEvent(e);
    return;
  }
  send_key(hwnd_, e, true);
}

}  // namespace ui_detail
