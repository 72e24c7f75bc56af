// COMBOBOX controls over QComboBox: the CB_* messages and the CBN_*
// notifications (selection, drop-down and close-up, focus, edit changes).
#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

#include "platform/ui/controls.h"

namespace ui_detail {
namespace {

class ComboWidget : public QComboBox {
 public:
  ComboWidget(HWND hwnd, QWidget* parent) : QComboBox(parent), hwnd_(hwnd) {}

  void showPopup() override {
    notify_parent(hwnd_, CBN_DROPDOWN);
    QComboBox::showPopup();
  }
  void hidePopup() override {
    bool was_open = view() && view()->isVisible();
    QComboBox::hidePopup();
    if (was_open) notify_parent(hwnd_, CBN_CLOSEUP);
  }

 protected:
  // The drop-down list taking the keyboard is not a focus change of the control.
  void focusInEvent(QFocusEvent* e) override {
    QComboBox::focusInEvent(e);
    if (e->reason() != Qt::PopupFocusReason) notify_parent(hwnd_, CBN_SETFOCUS);
  }
  void focusOutEvent(QFocusEvent* e) override {
    QComboBox::focusOutEvent(e);
    if (e->reason() != Qt::PopupFocusReason) notify_parent(hwnd_, CBN_KILLFOCUS);
  }

 private:
  HWND hwnd_;
};

QByteArray bytes_at(const QComboBox* combo, int i) { return combo->itemData(i, kItemBytesRole).toByteArray(); }

void insert_item(QComboBox* combo, int row, LPCSTR text) {
  QByteArray bytes(text ? text : "");
  combo->insertItem(row, display_text(bytes));
  combo->setItemData(row, bytes, kItemBytesRole);
}

int sorted_row(const QComboBox* combo, LPCSTR text) {
  int row = 0;
  while (row < combo->count() && qstricmp(bytes_at(combo, row).constData(), text ? text : "") <= 0) ++row;
  return row;
}

std::function<QByteArray(int)> item_of(const QComboBox* combo) {
  return [combo](int i) { return bytes_at(combo, i); };
}

bool valid(const QComboBox* combo, int index) { return index >= 0 && index < combo->count(); }

LRESULT select(QComboBox* combo, int index) {
  if (!valid(combo, index)) {
    combo->setCurrentIndex(-1);
    return CB_ERR;
  }
  combo->setCurrentIndex(index);
  return index;
}

}  // namespace

QWidget* create_combo(Window* w, QWidget* parent) {
  auto* combo = new ComboWidget(w->handle, parent);
  DWORD type = w->style & CBS_DROPDOWNLIST;
  if (type == CBS_DROPDOWN || type == CBS_SIMPLE) {
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setEditText(QString::fromLatin1(w->text.c_str()));
    HWND hwnd = w->handle;
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, [hwnd] { notify_parent(hwnd, CBN_EDITCHANGE); });
  }
  HWND hwnd = w->handle;
  QObject::connect(combo, &QComboBox::currentIndexChanged, [hwnd] {
    if (!program_is_changing_controls()) notify_parent(hwnd, CBN_SELCHANGE);
  });
  QObject::connect(combo, &QComboBox::activated, [hwnd] { notify_parent(hwnd, CBN_SELENDOK); });
  return combo;
}

LRESULT combo_message(Window* w, QWidget* widget, UINT msg, WPARAM wp, LPARAM lp) {
  auto* combo = static_cast<QComboBox*>(widget);
  int index = static_cast<int>(static_cast<std::intptr_t>(wp));
  auto text = reinterpret_cast<LPCSTR>(lp);
  switch (msg) {
    case CB_ADDSTRING: {
      int row = (w->style & CBS_SORT) ? sorted_row(combo, text) : combo->count();
      insert_item(combo, row, text);
      return row;
    }
    case CB_INSERTSTRING:
      if (index == -1) index = combo->count();
      if (index < 0 || index > combo->count()) return CB_ERR;
      insert_item(combo, index, text);
      return index;
    case CB_DELETESTRING: {
      if (!valid(combo, index)) return CB_ERR;
      // Deleting the selected item leaves no selection (Qt would pick a neighbour).
      bool was_current = combo->currentIndex() == index;
      combo->removeItem(index);
      if (was_current) combo->setCurrentIndex(-1);
      return combo->count();
    }
    case CB_RESETCONTENT:
      combo->clear();
      return 0;
    case CB_GETCOUNT:
      return combo->count();
    case CB_GETCURSEL:
      return combo->currentIndex() < 0 ? CB_ERR : combo->currentIndex();
    case CB_SETCURSEL:
      return select(combo, index);
    case CB_GETLBTEXT:
      if (!valid(combo, index)) return CB_ERR;
      return copy_bytes_out(bytes_at(combo, index), static_cast<std::size_t>(-1) / 2, lp);
    case CB_GETLBTEXTLEN:
      return valid(combo, index) ? bytes_at(combo, index).size() : CB_ERR;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING: {
      LRESULT found = find_item(combo->count(), item_of(combo), wp, text, msg == CB_FINDSTRINGEXACT);
      if (msg == CB_SELECTSTRING && found != CB_ERR) select(combo, static_cast<int>(found));
      return found;
    }
    case CB_GETITEMDATA:
      return valid(combo, index) ? combo->itemData(index, kItemDataRole).toLongLong() : CB_ERR;
    case CB_SETITEMDATA:
      if (!valid(combo, index)) return CB_ERR;
      combo->setItemData(index, QVariant::fromValue<qlonglong>(lp), kItemDataRole);
      return TRUE;
    case CB_SHOWDROPDOWN:
      if (wp)
        combo->showPopup();
      else
        combo->hidePopup();
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return combo->view() && combo->view()->isVisible() ? TRUE : FALSE;
    case CB_LIMITTEXT:
      if (combo->lineEdit()) combo->lineEdit()->setMaxLength(wp ? static_cast<int>(wp) : 32767);
      return TRUE;
    case WM_SETTEXT: {
      if (combo->isEditable()) {
        combo->setEditText(QString::fromLatin1(text ? text : ""));
        return TRUE;
      }
      // A drop-down list can only show one of its items.
      LRESULT found = find_item(combo->count(), item_of(combo), static_cast<WPARAM>(-1), text, true);
      return select(combo, static_cast<int>(found)) == CB_ERR ? CB_ERR : TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      QByteArray current =
          combo->isEditable() ? combo->currentText().toLatin1() : bytes_at(combo, combo->currentIndex());
      return msg == WM_GETTEXT ? copy_bytes_out(current, wp, lp) : current.size();
    }
    case WM_SETFOCUS:
      combo->setFocus(Qt::OtherFocusReason);
      return 0;
    default:
      return DefWindowProcA(w->handle, msg, wp, lp);
  }
}

}  // namespace ui_detail
