// The test driver's hands on dialog controls: each call goes through the Qt
// widget as user input would, so the dialog procedure sees the same
// notifications a user's action raises.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "platform/ui/test_driver.h"
#include "platform/ui/ui_internal.h"

using namespace ui_detail;

namespace {

QWidget* widget_of(HWND dialog, int id) {
  Window* w = find_window(GetDlgItem(dialog, id));
  return w ? w->widget.data() : nullptr;
}

bool is_combo(HWND dialog, int id) { return qobject_cast<QComboBox*>(widget_of(dialog, id)) != nullptr; }

}  // namespace

namespace ui_test {

void set_text(HWND dialog, int id, const std::string& text) {
  QWidget* widget = widget_of(dialog, id);
  QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
  if (auto* combo = qobject_cast<QComboBox*>(widget)) edit = combo->lineEdit();
  if (!edit || !edit->isEnabled()) return;
  QString typed = QString::fromLatin1(text.c_str());
  edit->setText(typed);
  emit edit->textEdited(typed);
}

void select_item(HWND dialog, int id, int index, bool extend) {
  QWidget* widget = widget_of(dialog, id);
  if (!widget || !widget->isEnabled()) return;
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    if (index < 0 || index >= combo->count()) return;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return;
  }
  auto* list = qobject_cast<QListWidget*>(widget);
  if (!list || index < 0 || index >= list->count()) return;
  bool toggles = list->selectionMode() == QAbstractItemView::MultiSelection ||
                 (extend && list->selectionMode() == QAbstractItemView::ExtendedSelection);
  list->setCurrentRow(index, toggles ? QItemSelectionModel::Toggle : QItemSelectionModel::ClearAndSelect);
}

void double_click_item(HWND dialog, int id, int index) {
  auto* list = qobject_cast<QListWidget*>(widget_of(dialog, id));
  if (!list || !list->isEnabled() || index < 0 || index >= list->count()) return;
  QPointer<QListWidget> alive = list;
  select_item(dialog, id, index);
  // The second click of a double-click does not toggle a multiple selection back.
  if (alive && alive->item(index)) emit alive->itemDoubleClicked(alive->item(index));
}

void click_control(HWND dialog, int id) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget_of(dialog, id))) button->click();
}

void key_in(HWND dialog, int id, WPARAM vk) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return;
  SetFocus(control);
  key(control, vk);
}

std::string control_text(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return std::string();
  LRESULT length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 255)) + 1, '\0');
  int n = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(n));
  return text;
}

std::vector<std::string> control_items(HWND dialog, int id) {
  bool combo = is_combo(dialog, id);
  UINT count_msg = combo ? CB_GETCOUNT : LB_GETCOUNT;
  UINT length_msg = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  UINT text_msg = combo ? CB_GETLBTEXT : LB_GETTEXT;
  std::vector<std::string> items;
  LRESULT count = SendDlgItemMessageA(dialog, id, count_msg, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    auto index = static_cast<WPARAM>(i);
    std::string text(static_cast<std::size_t>(SendDlgItemMessageA(dialog, id, length_msg, index, 0)) + 1, '\0');
    SendDlgItemMessageA(dialog, id, text_msg, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(text.size() - 1);
    items.push_back(text);
  }
  return items;
}

std::vector<int> selected_items(HWND dialog, int id) {
  if (is_combo(dialog, id)) {
    LRESULT current = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    return current == CB_ERR ? std::vector<int>{} : std::vector<int>{static_cast<int>(current)};
  }
  std::vector<int> out;
  LRESULT count = SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    if (SendDlgItemMessageA(dialog, id, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) out.push_back(static_cast<int>(i));
  return out;
}

bool is_checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

bool is_enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

bool has_focus(HWND dialog, int id) {
  QWidget* widget = widget_of(dialog, id);
  return widget &&
         (widget->hasFocus() || QApplication::focusWidget() == widget || (widget->window()->focusWidget() == widget));
}

}  // namespace ui_test
