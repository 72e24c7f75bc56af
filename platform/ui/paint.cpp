// The paint cycle: invalid regions, WM_PAINT, owner-draw requests, and the
// device contexts that draw into a window's back buffer.
#include <QMetaObject>

#include "platform/ui/gdi_internal.h"
#include "platform/ui/ui_internal.h"
#include "platform/ui/window_widgets.h"

namespace ui_detail {

namespace {

QRect to_qrect(const RECT& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }
RECT to_rect(const QRect& r) { return RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

// A window's own invalid region, in its client coordinates.
struct PendingPaint {
  HWND hwnd;
  QRegion region;
};

std::vector<PendingPaint>& pending_paints() {
  static std::vector<PendingPaint> p;
  return p;
}

QRegion& pending_of(Window* w) {
  auto& all = pending_paints();
  for (auto& p : all)
    if (p.hwnd == w->handle) return p.region;
  all.push_back({w->handle, QRegion()});
  return all.back().region;
}

QRegion take_pending(Window* w) {
  auto& all = pending_paints();
  for (auto it = all.begin(); it != all.end(); ++it) {
    if (it->hwnd == w->handle) {
      QRegion r = it->region;
      all.erase(it);
      return r;
    }
  }
  return {};
}

void show_region(Window* top, const QRect& buffer_rect) {
  if (!top->widget) return;
  QRect r = buffer_rect.translated(top->border, top->border);
  if (top->painting) {
    top->painted_during_cycle += r;
    return;
  }
  top->widget->update(r);
}

}  // namespace

void mark_dirty(Window* top, const QRect& buffer_rect) {
  if (top && !buffer_rect.isEmpty()) show_region(top, buffer_rect);
}

void invalidate(Window* w, const QRect& client_rect) {
  QRect r = client_rect & QRect(QPoint(0, 0), w->client.size());
  if (r.isEmpty()) return;
  pending_of(w) += r;
  // Children lie on the parent's surface: repainting the parent there means
  // repainting them too.
  for (HWND child : w->children) {
    Window* c = find_window(child);
    if (!c || !c->widget || c->widget->isHidden()) continue;
    QRect overlap = r & c->client;
    if (!overlap.isEmpty()) invalidate(c, overlap.translated(-c->client.topLeft()));
  }
  Window* top = top_level_of(w);
  show_region(top, r.translated(offset_in_top(w)));
}

QRegion current_paint_region(Window* w) {
  for (auto& p : pending_paints())
    if (p.hwnd == w->handle) return p.region;
  return {};
}

void send_draw_item(Window* button, UINT action, UINT state) {
  Window* parent = find_window(button->parent);
  if (!parent) return;
  QRect area(QPoint(0, 0), button->client.size());
  HDC dc = create_window_dc(button, false, area);
  DRAWITEMSTRUCT dis{ODT_BUTTON, static_cast<UINT>(button->id), 0, action, state, button->handle, dc,
                     to_rect(area), 0};
  SendMessageA(parent->handle, WM_DRAWITEM, static_cast<WPARAM>(button->id), reinterpret_cast<LPARAM>(&dis));
  ReleaseDC(button->handle, dc);
}

namespace {

void paint_window(Window* w) {
  if (current_paint_region(w).isEmpty()) return;
  if (w->kind == WindowKind::OwnerDrawButton) {
    take_pending(w);
    UINT state = 0;
    if (auto* b = qobject_cast<QAbstractButton*>(w->widget.data())) {
      if (b->isDown()) state |= ODS_SELECTED;
      if (b->hasFocus()) state |= ODS_FOCUS;
      if (!b->isEnabled()) state |= ODS_DISABLED;
    }
    send_draw_item(w, ODA_DRAWENTIRE, state);
    return;
  }
  HWND hwnd = w->handle;
  SendMessageA(hwnd, WM_PAINT, 0, 0);
  if (Window* still = find_window(hwnd)) take_pending(still);  // a procedure that never validates gets no loop
}

}  // namespace

void paint_pending(Window* top, const QRegion& being_shown) {
  if (!top || top->painting) return;
  HWND top_handle = top->handle;
  top->painting = true;
  // Parent first, then children in creation order, as their pixels overlap.
  std::vector<HWND> order{top_handle};
  for (Window* w : all_windows_in_creation_order())
    if (w != top && top_level_of(w) == top && w->widget && !w->widget->isHidden()) order.push_back(w->handle);
  for (HWND h : order)
    if (Window* w = find_window(h)) paint_window(w);
  top = find_window(top_handle);
  if (!top) return;
  top->painting = false;
  QRegion extra = top->painted_during_cycle - being_shown;
  top->painted_during_cycle = QRegion();
  if (!extra.isEmpty() && top->widget) {
    QPointer<QWidget> widget = top->widget;
    QMetaObject::invokeMethod(
        widget, [widget, extra] { if (widget) widget->update(extra); }, Qt::QueuedConnection);
  }
}

void forget_pending_paint(HWND hwnd) {
  auto& all = pending_paints();
  all.erase(std::remove_if(all.begin(), all.end(), [hwnd](const PendingPaint& p) { return p.hwnd == hwnd; }),
            all.end());
}

}  // namespace ui_detail

using namespace ui_detail;

HDC GetDC(HWND hwnd) {
  if (!hwnd || hwnd == GetDesktopWindow()) return create_desktop_dc();
  Window* w = find_window(hwnd);
  if (!w) return nullptr;
  return create_window_dc(w, false, QRect());
}

int ReleaseDC(HWND, HDC hdc) { return DeleteDC(hdc); }

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  Window* w = find_window(hwnd);
  if (!w || !ps) return nullptr;
  QRegion region = take_pending(w);
  QRect bounds = region.isEmpty() ? QRect() : region.boundingRect();
  *ps = PAINTSTRUCT{};
  ps->hdc = create_window_dc(w, true, bounds);
  ps->fErase = FALSE;
  ps->rcPaint = bounds.isEmpty() ? RECT{0, 0, 0, 0} : to_rect(bounds);
  return ps->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (ps) DeleteDC(ps->hdc);
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  invalidate(w, rc ? to_qrect(*rc) : QRect(QPoint(0, 0), w->client.size()));
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  paint_pending(top_level_of(w));
  return TRUE;
}
