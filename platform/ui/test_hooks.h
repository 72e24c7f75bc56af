#pragma once
// Where message boxes and menus ask the test driver for a scripted answer.
#include <optional>

#include "platform/ui/test_driver.h"

namespace ui_detail {
std::optional<int> scripted_box(HWND owner, const char* text, const char* caption, UINT type);
std::optional<UINT> scripted_menu(ui_test::ShownMenu shown);
}  // namespace ui_detail
