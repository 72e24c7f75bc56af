#pragma once
// Where message boxes and menus ask the test driver for a scripted answer.
#include <functional>
#include <optional>

#include "platform/ui/test_driver.h"

namespace ui_detail {
std::optional<int> scripted_box(HWND owner, const char* text, const char* caption, UINT type);
std::optional<UINT> scripted_menu(ui_test::ShownMenu shown);
// The scripted answer for a file dialog: a path, or empty for Cancel.
std::optional<std::string> scripted_file(const ui_test::ShownFileDialog& shown);
// The next scripted answer after a refused one (empty: Cancel).
std::string next_scripted_file();
// Records a file dialog that scripts drive through on_dialog.
void note_file_dialog(const ui_test::ShownFileDialog& shown);
// The script for a dialog that has just been made, run from inside its modal loop.
std::optional<std::function<void(HWND)>> scripted_dialog(HWND dialog);
}  // namespace ui_detail
