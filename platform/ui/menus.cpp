// Menus from resource tables, check and enable states, and popup tracking.
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <functional>
#include <unordered_set>

#include "platform/ui/menu_model.h"
#include "platform/ui/resource_lookup.h"
#include "platform/ui/test_hooks.h"
#include "platform/ui/ui_internal.h"

using namespace ui_detail;

namespace {

std::unordered_set<Menu*>& live_menus() {
  static std::unordered_set<Menu*> m;
  return m;
}

bool is_live(const Menu* m) {
  for (Menu* root : live_menus()) {
    std::function<bool(const Menu*)> contains = [&](const Menu* cur) {
      if (cur == m) return true;
      for (const auto& item : cur->items)
        if (item.popup && contains(item.popup.get())) return true;
      return false;
    };
    if (contains(root)) return true;
  }
  return false;
}

Menu* menu_of(HMENU h) {
  auto* m = reinterpret_cast<Menu*>(h);
  return m && is_live(m) ? m : nullptr;
}

// Rows from `index` at `level` fill `menu`; returns the first row not taken.
std::size_t build(Menu& menu, const ui_resources::MenuRow* rows, std::size_t count, std::size_t index, int level) {
  while (index < count && rows[index].level == level) {
    const auto& row = rows[index++];
    MenuItem item;
    item.id = row.id;
    item.text = row.text ? row.text : "";
    item.flags = row.flags & ~MF_POPUP;
    if (row.flags & MF_POPUP) {
      item.popup = std::make_unique<Menu>();
      index = build(*item.popup, rows, count, index, level + 1);
    }
    menu.items.push_back(std::move(item));
  }
  return index;
}

MenuItem* find_item(Menu* menu, UINT which, UINT flags) {
  if (!menu) return nullptr;
  if (flags & MF_BYPOSITION)
    return which < menu->items.size() ? &menu->items[which] : nullptr;
  for (auto& item : menu->items) {
    if (!item.popup && !(item.flags & MF_SEPARATOR) && item.id == which) return &item;
    if (item.popup)
      if (MenuItem* inner = find_item(item.popup.get(), which, flags)) return inner;
  }
  return nullptr;
}

ui_test::ShownMenu describe(const Menu& menu, HWND owner, int x, int y, UINT flags) {
  ui_test::ShownMenu shown{owner, x, y, flags, {}, 0};
  for (const auto& item : menu.items)
    shown.items.push_back({item.id, item.text, (item.flags & MF_CHECKED) != 0,
                           (item.flags & (MF_GRAYED | MF_DISABLED)) != 0, (item.flags & MF_SEPARATOR) != 0,
                           item.popup != nullptr});
  return shown;
}

void fill(QMenu& qmenu, const Menu& menu) {
  for (const auto& item : menu.items) {
    if (item.flags & MF_SEPARATOR) {
      qmenu.addSeparator();
      continue;
    }
    QString text = QString::fromLatin1(item.text.c_str());
    if (item.popup) {
      fill(*qmenu.addMenu(text), *item.popup);
      continue;
    }
    QAction* a = qmenu.addAction(text);  // '&' marks the mnemonic in both worlds
    a->setData(item.id);
    a->setCheckable((item.flags & MF_CHECKED) != 0);
    a->setChecked((item.flags & MF_CHECKED) != 0);
    a->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
  }
}

UINT run_menu(const Menu& menu, int x, int y, UINT flags, HWND owner) {
  Window* w = find_window(owner);
  OwnedModal<QMenu> modal(w && w->widget ? w->widget->window() : nullptr);
  QMenu& qmenu = *modal;
  fill(qmenu, menu);
  QSize size = qmenu.sizeHint();
  QPoint at(x, y);
  if (flags & TPM_RIGHTALIGN)
    at.rx() -= size.width();
  else if (flags & TPM_CENTERALIGN)
    at.rx() -= size.width() / 2;
  if (flags & TPM_BOTTOMALIGN)
    at.ry() -= size.height();
  else if (flags & TPM_VCENTERALIGN)
    at.ry() -= size.height() / 2;
  QAction* chosen = as_callback([&] { return qmenu.exec(at); });
  return chosen && !modal.gone() ? chosen->data().toUInt() : 0;  // gone with its owner: dismissed
}

}  // namespace

HMENU LoadMenuA(HINSTANCE, LPCSTR name) {
  const auto& t = ui_resources::tables();
  for (std::size_t i = 0; i < t.menu_count; ++i) {
    const auto& res = t.menus[i];
    if (!ui_resources::matches(res.id, name)) continue;
    auto menu = std::make_unique<Menu>();
    build(*menu, res.rows, res.count, 0, 0);
    Menu* raw = menu.release();
    live_menus().insert(raw);
    return reinterpret_cast<HMENU>(raw);
  }
  return nullptr;
}

HMENU GetSubMenu(HMENU h, int pos) {
  Menu* m = menu_of(h);
  if (!m || pos < 0 || pos >= static_cast<int>(m->items.size())) return nullptr;
  return reinterpret_cast<HMENU>(m->items[static_cast<std::size_t>(pos)].popup.get());
}

int GetMenuItemCount(HMENU h) {
  Menu* m = menu_of(h);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU h, int pos) {
  Menu* m = menu_of(h);
  if (!m || pos < 0 || pos >= static_cast<int>(m->items.size())) return static_cast<UINT>(-1);
  const auto& item = m->items[static_cast<std::size_t>(pos)];
  return item.popup ? static_cast<UINT>(-1) : item.id;
}

UINT GetMenuState(HMENU h, UINT which, UINT flags) {
  MenuItem* item = find_item(menu_of(h), which, flags);
  if (!item) return static_cast<UINT>(-1);
  return item->flags | (item->popup ? MF_POPUP : 0);
}

DWORD CheckMenuItem(HMENU h, UINT which, UINT check) {
  MenuItem* item = find_item(menu_of(h), which, check);
  if (!item) return static_cast<DWORD>(-1);
  DWORD previous = item->flags & MF_CHECKED;
  item->flags = (item->flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

BOOL EnableMenuItem(HMENU h, UINT which, UINT enable) {
  MenuItem* item = find_item(menu_of(h), which, enable);
  if (!item) return -1;
  BOOL previous = static_cast<BOOL>(item->flags & (MF_GRAYED | MF_DISABLED));
  item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

BOOL TrackPopupMenu(HMENU h, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  Menu* menu = menu_of(h);
  if (!menu || !find_window(owner)) return FALSE;
  UINT chosen = 0;
  if (auto scripted = scripted_menu(describe(*menu, owner, x, y, flags)))
    chosen = *scripted;
  else
    chosen = run_menu(*menu, x, y, flags, owner);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen && !(flags & TPM_NONOTIFY)) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
  return TRUE;
}

BOOL DestroyMenu(HMENU h) {
  auto* m = reinterpret_cast<Menu*>(h);
  auto it = live_menus().find(m);
  if (it == live_menus().end()) return FALSE;  // unknown, or a submenu owned by its menu
  live_menus().erase(it);
  delete m;
  return TRUE;
}
