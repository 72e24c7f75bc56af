#pragma once
// A loaded menu: its items, with submenus owned by their items.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/windows.h"

namespace ui_detail {

struct Menu;

struct MenuItem {
  UINT id = 0;
  std::string text;
  UINT flags = 0;  // MF_CHECKED, MF_GRAYED, MF_DISABLED, MF_SEPARATOR
  std::unique_ptr<Menu> popup;
};

struct Menu {
  std::vector<MenuItem> items;
};

}  // namespace ui_detail
