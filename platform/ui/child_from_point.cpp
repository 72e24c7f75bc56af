// Which window lies under a client point: the parent or one of its children.
#include "platform/ui/ui_internal.h"

HWND ChildWindowFromPoint(HWND hWndParent, POINT Point) {
  ui_detail::Window* parent = ui_detail::find_window(hWndParent);
  if (parent == nullptr) return nullptr;
  const QPoint p(Point.x, Point.y);
  if (!QRect(QPoint(0, 0), parent->client.size()).contains(p)) return nullptr;
  for (HWND child : parent->children) {
    ui_detail::Window* c = ui_detail::find_window(child);
    if (c != nullptr && !c->destroying && c->client.contains(p)) return child;
  }
  return hWndParent;
}
