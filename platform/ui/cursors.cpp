// Cursors and icons. Their handles are small numbers rather than pointers so
// that SetClassLongA's 32-bit value carries them whole.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <map>

#include "platform/ui/resource_lookup.h"
#include "platform/ui/ui_internal.h"

using namespace ui_detail;

namespace {

struct CursorRecord {
  QCursor cursor;
  QIcon icon;
  bool is_icon = false;
  bool stock = false;
};

struct ShapeRow {
  WORD system_id;
  const char* name;
  Qt::CursorShape shape;
};

constexpr ShapeRow kShapes[] = {
    {32512, "arrow", Qt::ArrowCursor},  {32513, "ibeam", Qt::IBeamCursor},
    {32514, "wait", Qt::WaitCursor},    {32515, "cross", Qt::CrossCursor},
    {32649, "pointing-hand", Qt::PointingHandCursor},
};

std::map<std::uintptr_t, CursorRecord>& records() {
  static std::map<std::uintptr_t, CursorRecord> r;
  return r;
}

std::uintptr_t add_record(CursorRecord rec) {
  static std::uintptr_t next = 0x2000;
  next += 2;
  records()[next] = std::move(rec);
  return next;
}

CursorRecord* find_record(std::uintptr_t token) {
  auto it = records().find(token);
  return it == records().end() ? nullptr : &it->second;
}

HCURSOR stock_cursor(WORD system_id) {
  static std::map<WORD, std::uintptr_t> made;
  for (const auto& row : kShapes) {
    if (row.system_id != system_id) continue;
    auto it = made.find(system_id);
    if (it == made.end()) it = made.emplace(system_id, add_record({QCursor(row.shape), {}, false, true})).first;
    return reinterpret_cast<HCURSOR>(it->second);
  }
  return nullptr;
}

// The first alternative of "a|b|..." that exists: an image or a shape name.
std::optional<CursorRecord> from_source(const ui_resources::CursorResource& res, bool icon) {
  for (const QString& source : QString::fromLatin1(res.source).split('|')) {
    for (const auto& row : kShapes)
      if (source == row.name) return CursorRecord{QCursor(row.shape), {}, icon, false};
    QPixmap pixmap(source);
    if (!pixmap.isNull()) return CursorRecord{QCursor(pixmap, res.hot_x, res.hot_y), QIcon(pixmap), icon, false};
  }
  return std::nullopt;
}

HANDLE load_resource(const ui_resources::CursorResource* rows, std::size_t count, LPCSTR name, bool icon) {
  for (std::size_t i = 0; i < count; ++i) {
    if (!ui_resources::matches(rows[i].id, name)) continue;
    auto rec = from_source(rows[i], icon);
    return rec ? reinterpret_cast<HANDLE>(add_record(std::move(*rec))) : nullptr;
  }
  return nullptr;
}

bool destroy(HANDLE h) {
  auto token = reinterpret_cast<std::uintptr_t>(h);
  CursorRecord* r = find_record(token);
  if (!r) return false;
  if (!r->stock) records().erase(token);
  return true;
}

}  // namespace

namespace ui_detail {

void apply_class_cursor(Window* w) {
  if (!w || !w->widget || !w->cls) return;
  if (CursorRecord* r = find_record(reinterpret_cast<std::uintptr_t>(w->cls->cursor)))
    w->widget->setCursor(r->cursor);
  if (w->kind == WindowKind::TopLevel)
    if (CursorRecord* r = find_record(reinterpret_cast<std::uintptr_t>(w->cls->icon)))
      w->widget->setWindowIcon(r->icon);
}

}  // namespace ui_detail

HCURSOR LoadCursorA(HINSTANCE inst, LPCSTR name) {
  if (!name) return nullptr;
  if (!inst && IS_INTRESOURCE(name)) return stock_cursor(LOWORD(reinterpret_cast<std::uintptr_t>(name)));
  const auto& t = ui_resources::tables();
  if (HANDLE h = load_resource(t.cursors, t.cursor_count, name, false)) return static_cast<HCURSOR>(h);
  return IS_INTRESOURCE(name) ? stock_cursor(LOWORD(reinterpret_cast<std::uintptr_t>(name))) : nullptr;
}

HICON LoadIconA(HINSTANCE inst, LPCSTR name) {
  if (!name) return nullptr;
  if (!inst && IS_INTRESOURCE(name)) {
    static std::uintptr_t application = add_record({QCursor(), QIcon(), true, true});
    return reinterpret_cast<HICON>(application);
  }
  const auto& t = ui_resources::tables();
  return static_cast<HICON>(load_resource(t.icons, t.icon_count, name, true));
}

BOOL DestroyCursor(HCURSOR h) { return destroy(h) ? TRUE : FALSE; }
BOOL DestroyIcon(HICON h) { return destroy(h) ? TRUE : FALSE; }

HCURSOR SetCursor(HCURSOR h) {
  static HCURSOR current = nullptr;
  HCURSOR previous = current;
  current = h;
  CursorRecord* r = find_record(reinterpret_cast<std::uintptr_t>(h));
  if (QWidget* active = QApplication::activeWindow()) {
    if (r)
      active->setCursor(r->cursor);
    else if (!h)
      active->setCursor(Qt::BlankCursor);
  }
  return previous;
}

ULONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  Window* w = find_window(hwnd);
  if (!w || !w->cls) return 0;
  ULONG_PTR previous = 0;
  if (index == GCLP_HCURSOR) {
    previous = reinterpret_cast<ULONG_PTR>(w->cls->cursor);
    w->cls->cursor = reinterpret_cast<HCURSOR>(value);
  } else if (index == GCLP_HICON) {
    previous = reinterpret_cast<ULONG_PTR>(w->cls->icon);
    w->cls->icon = reinterpret_cast<HICON>(value);
  } else {
    return 0;
  }
  // The class look changes for every window of the class.
  for (Window* other : all_windows_in_creation_order())
    if (other->cls == w->cls) apply_class_cursor(other);
  return previous;
}

DWORD SetClassLongA(HWND hwnd, int index, LONG value) {
  return static_cast<DWORD>(SetClassLongPtrA(hwnd, index, static_cast<LONG_PTR>(static_cast<DWORD>(value))));
}

ULONG_PTR GetClassLongPtrA(HWND hwnd, int index) {
  Window* w = find_window(hwnd);
  if (!w || !w->cls) return 0;
  if (index == GCLP_HCURSOR) return reinterpret_cast<ULONG_PTR>(w->cls->cursor);
  if (index == GCLP_HICON) return reinterpret_cast<ULONG_PTR>(w->cls->icon);
  return 0;
}
