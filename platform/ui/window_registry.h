#pragma once
// Adding and removing window records (used by window creation only).
#include <memory>

#include "platform/ui/ui_internal.h"

namespace ui_detail {
Window* add_window(std::unique_ptr<Window> w);
void remove_window(HWND hwnd);
bool register_class(std::shared_ptr<WindowClass> cls);
bool unregister_class(const char* name);
}  // namespace ui_detail
