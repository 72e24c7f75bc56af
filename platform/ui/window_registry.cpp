// Window classes and the handle-to-record registry.
#include <QCoreApplication>
#include <algorithm>
#include <map>
#include <unordered_map>

#include "platform/ui/ui_internal.h"
#include "platform/ui/window_registry.h"

namespace ui_detail {
namespace {

struct Registry {
  std::unordered_map<HWND, std::unique_ptr<Window>> windows;
  std::vector<Window*> order;
  std::map<std::string, std::shared_ptr<WindowClass>> classes;  // key: upper-case name
  std::uintptr_t next_handle = 0x10000;
};

Registry& registry() {
  static Registry r;
  return r;
}

std::string class_key(const char* name) {
  std::string key = name ? name : "";
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::toupper(c); });
  return key;
}

LRESULT CALLBACK button_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd, msg, wp, lp); }

}  // namespace

Window* find_window(HWND hwnd) {
  auto& r = registry();
  auto it = r.windows.find(hwnd);
  return it == r.windows.end() ? nullptr : it->second.get();
}

Window* top_level_of(Window* w) {
  while (w && w->parent) {
    Window* p = find_window(w->parent);
    if (!p) break;
    w = p;
  }
  return w;
}

QPoint offset_in_top(const Window* w) {
  QPoint offset;
  while (w && w->kind != WindowKind::TopLevel) {
    offset += w->client.topLeft();
    w = find_window(w->parent);
  }
  return offset;
}

Window* window_of_widget(const QWidget* widget) {
  if (!widget) return nullptr;
  auto value = widget->property("quorvin_hwnd");
  if (!value.isValid()) return nullptr;
  return find_window(reinterpret_cast<HWND>(value.value<quintptr>()));
}

std::shared_ptr<WindowClass> find_class(const char* name) {
  auto& r = registry();
  if (r.classes.empty()) {
    auto button = std::make_shared<WindowClass>();
    button->name = "BUTTON";
    button->proc = button_proc;
    button->builtin = true;
    button->cursor = LoadCursorA(nullptr, IDC_ARROW);
    r.classes["BUTTON"] = button;
  }
  auto it = r.classes.find(class_key(name));
  return it == r.classes.end() ? nullptr : it->second;
}

const std::vector<Window*>& all_windows_in_creation_order() { return registry().order; }

Window* add_window(std::unique_ptr<Window> w) {
  auto& r = registry();
  w->handle = reinterpret_cast<HWND>(r.next_handle);
  r.next_handle += 4;
  Window* raw = w.get();
  r.windows.emplace(raw->handle, std::move(w));
  r.order.push_back(raw);
  return raw;
}

void remove_window(HWND hwnd) {
  auto& r = registry();
  auto it = r.windows.find(hwnd);
  if (it == r.windows.end()) return;
  r.order.erase(std::remove(r.order.begin(), r.order.end(), it->second.get()), r.order.end());
  r.windows.erase(it);
}

bool register_class(std::shared_ptr<WindowClass> cls) {
  find_class("BUTTON");  // built-in classes first
  auto& r = registry();
  auto key = class_key(cls->name.c_str());
  if (key.empty() || r.classes.count(key)) return false;
  r.classes[key] = std::move(cls);
  return true;
}

bool unregister_class(const char* name) {
  auto& r = registry();
  auto key = class_key(name);
  auto it = r.classes.find(key);
  if (it == r.classes.end() || it->second->builtin) return false;
  for (Window* w : r.order)
    if (w->cls == it->second) return false;  // still in use, as Win32 refuses
  r.classes.erase(it);
  return true;
}

}  // namespace ui_detail

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !wc->lpfnWndProc) return 0;
  auto cls = std::make_shared<ui_detail::WindowClass>();
  cls->name = wc->lpszClassName;
  cls->style = wc->style;
  cls->proc = wc->lpfnWndProc;
  cls->instance = wc->hInstance;
  cls->icon = wc->hIcon;
  cls->cursor = wc->hCursor;
  static ATOM next_atom = 0xC000;
  if (!ui_detail::register_class(std::move(cls))) return 0;
  return next_atom++;
}

BOOL UnregisterClassA(LPCSTR name, HINSTANCE) {
  if (!name || IS_INTRESOURCE(name)) return FALSE;
  return ui_detail::unregister_class(name) ? TRUE : FALSE;
}
