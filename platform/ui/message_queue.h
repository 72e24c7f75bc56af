#pragma once
// Message loop internals shared with timers and the test driver.
#include <QObject>

#include "platform/ui/windows.h"

namespace ui_detail {
QObject* dispatcher();
bool on_gui_thread();
bool timer_message_queued(HWND hwnd, UINT_PTR id);
void drop_queued_timer(HWND hwnd, UINT_PTR id);
}  // namespace ui_detail
