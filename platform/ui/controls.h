#pragma once
// The standard controls of dialogs: Qt widgets behind control windows.
#include <QButtonGroup>

#include "platform/ui/ui_internal.h"

namespace ui_detail {

// Makes the widget for a control record (class, style, text and id set) in
// `parent`; radio buttons join `group` (a new one starts with WS_GROUP or
// after any other control). Returns null for an unknown class.
QWidget* create_control(Window* control, QWidget* parent, QButtonGroup*& group);
LRESULT CALLBACK control_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace ui_detail
