#pragma once
// The standard controls of dialogs: Qt widgets behind control windows. Called
// on the GUI thread by the dialog code (creation) and by SendMessageA (the
// control procedure). List and combo box items keep the exact bytes they were
// given: LB_GETTEXT/CB_GETLBTEXT return them unchanged (file names in any
// encoding survive), while the screen shows them as UTF-8 when they are.
#include <QButtonGroup>
#include <QByteArray>
#include <functional>

#include "platform/ui/ui_internal.h"

namespace ui_detail {

// Makes the widget for a control record (class, style, text and id set) in
// `parent`; radio buttons join `group` (a new one starts with WS_GROUP or
// after any other control). Returns null for an unknown class.
QWidget* create_control(Window* control, QWidget* parent, QButtonGroup*& group);
LRESULT CALLBACK control_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// Shared by the list and combo box implementations.
QWidget* create_combo(Window* w, QWidget* parent);
LRESULT combo_message(Window* w, QWidget* combo, UINT msg, WPARAM wp, LPARAM lp);
// WM_COMMAND (id, code) from a control to its dialog.
void notify_parent(HWND control, WORD code);
// Copies bytes into a caller's buffer of `size` characters, NUL included.
LRESULT copy_bytes_out(const QByteArray& bytes, std::size_t size, LPARAM buffer);
// Item text for the screen: UTF-8 when the bytes are valid UTF-8, else Latin-1.
QString display_text(const QByteArray& bytes);
// Win32's item search: after `start` (-1: from the first), wrapping around,
// without regard to case; whole text or prefix. LB_ERR when none.
LRESULT find_item(int count, const std::function<QByteArray(int)>& item, WPARAM start, LPCSTR wanted, bool exact);
// The role under which an item keeps its bytes.
constexpr int kItemBytesRole = Qt::UserRole + 1;
constexpr int kItemDataRole = Qt::UserRole + 2;

// Program changes of a selection raise no notification: this is set while the
// control procedure runs.
bool program_is_changing_controls();

}  // namespace ui_detail
