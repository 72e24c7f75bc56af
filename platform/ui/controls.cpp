#include "platform/ui/controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>

namespace ui_detail {
namespace {

QString latin1(LPCSTR s) { return s ? QString::fromLatin1(s) : QString(); }

void notify(HWND control, WORD code) {
  Window* w = find_window(control);
  if (w) SendMessageA(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), code), reinterpret_cast<LPARAM>(control));
}

LRESULT copy_out(const QString& text, WPARAM size, LPARAM buffer) {
  auto* out = reinterpret_cast<char*>(buffer);
  if (!out || size == 0) return 0;
  QByteArray bytes = text.toLatin1();
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(bytes.size()), size - 1);
  std::memcpy(out, bytes.constData(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

// Changes made by the program itself raise no selection notification.
bool quiet = false;

struct Quiet {
  Quiet() { quiet = true; }
  ~Quiet() { quiet = false; }
};

bool valid_row(const QListWidget* list, WPARAM index) { return static_cast<int>(index) < list->count(); }

int insert_sorted(QListWidget* list, const QString& text) {
  int row = 0;
  while (row < list->count() && QString::compare(list->item(row)->text(), text, Qt::CaseInsensitive) <= 0) ++row;
  list->insertItem(row, text);
  return row;
}

LRESULT list_message(Window* w, QListWidget* list, UINT msg, WPARAM wp, LPARAM lp) {
  Quiet q;
  int index = static_cast<int>(static_cast<std::intptr_t>(wp));
  switch (msg) {
    case LB_ADDSTRING:
      if (w->style & LBS_SORT) return insert_sorted(list, latin1(reinterpret_cast<LPCSTR>(lp)));
      list->addItem(latin1(reinterpret_cast<LPCSTR>(lp)));
      return list->count() - 1;
    case LB_INSERTSTRING:
      if (index == -1) index = list->count();
      if (index < 0 || index > list->count()) return LB_ERR;
      list->insertItem(index, latin1(reinterpret_cast<LPCSTR>(lp)));
      return index;
    case LB_DELETESTRING:
      if (!valid_row(list, wp)) return LB_ERR;
      delete list->takeItem(index);
      return list->count();
    case LB_RESETCONTENT:
      list->clear();
      return 0;
    case LB_GETCOUNT:
      return list->count();
    case LB_GETTEXT:
      if (!valid_row(list, wp)) return LB_ERR;
      return copy_out(list->item(index)->text(), static_cast<WPARAM>(-1) / 2, lp);
    case LB_GETTEXTLEN:
      return valid_row(list, wp) ? list->item(index)->text().size() : LB_ERR;
    case LB_SETSEL: {
      int row = static_cast<int>(lp);
      if (row == -1) {
        for (int i = 0; i < list->count(); ++i) list->item(i)->setSelected(wp != 0);
        return 0;
      }
      if (row < 0 || row >= list->count()) return LB_ERR;
      list->item(row)->setSelected(wp != 0);
      return 0;
    }
    case LB_GETSEL:
      return valid_row(list, wp) ? (list->item(index)->isSelected() ? 1 : 0) : LB_ERR;
    case LB_SETCURSEL:
      if (index == -1) {
        list->clearSelection();
        list->setCurrentRow(-1);
        return LB_ERR;  // as Win32 answers a cleared selection
      }
      if (!valid_row(list, wp)) return LB_ERR;
      list->setCurrentRow(index);
      return index;
    case LB_GETCURSEL: {
      auto selected = list->selectedItems();
      if (list->selectionMode() != QAbstractItemView::SingleSelection) return list->currentRow() < 0 ? 0 : list->currentRow();
      return selected.isEmpty() ? LB_ERR : list->row(selected.first());
    }
    case LB_GETSELCOUNT: {
      int n = 0;
      for (int i = 0; i < list->count(); ++i) n += list->item(i)->isSelected();
      return n;
    }
    case LB_GETSELITEMS: {
      auto* out = reinterpret_cast<int*>(lp);
      int n = 0;
      for (int i = 0; i < list->count() && n < index; ++i)
        if (list->item(i)->isSelected()) out[n++] = i;
      return n;
    }
    case LB_SETCARETINDEX:
      if (!valid_row(list, wp)) return LB_ERR;
      list->setCurrentRow(index, QItemSelectionModel::NoUpdate);
      return 0;
    case LB_GETCARETINDEX:
      return std::max(list->currentRow(), 0);
    case LB_FINDSTRINGEXACT: {
      QString wanted = latin1(reinterpret_cast<LPCSTR>(lp));
      for (int i = 0; i < list->count(); ++i)
        if (QString::compare(list->item(i)->text(), wanted, Qt::CaseInsensitive) == 0) return i;
      return LB_ERR;
    }
    default:
      return DefWindowProcA(w->handle, msg, wp, lp);
  }
}

LRESULT text_message(Window* w, QWidget* widget, UINT msg, WPARAM wp, LPARAM lp) {
  auto text = [&] {
    if (auto* e = qobject_cast<QLineEdit*>(widget)) return e->text();
    if (auto* b = qobject_cast<QAbstractButton*>(widget)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(widget)) return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(widget)) return g->title();
    return QString();
  };
  switch (msg) {
    case WM_SETTEXT: {
      QString t = latin1(reinterpret_cast<LPCSTR>(lp));
      if (auto* e = qobject_cast<QLineEdit*>(widget)) e->setText(t);
      else if (auto* b = qobject_cast<QAbstractButton*>(widget)) b->setText(t);
      else if (auto* l = qobject_cast<QLabel*>(widget)) l->setText(t);
      else if (auto* g = qobject_cast<QGroupBox*>(widget)) g->setTitle(t);
      w->text = t.toLatin1().toStdString();
      return TRUE;
    }
    case WM_GETTEXT:
      return copy_out(text(), wp, lp);
    case WM_GETTEXTLENGTH:
    case EM_LINELENGTH:
      return text().size();
    case EM_LIMITTEXT:
      if (auto* e = qobject_cast<QLineEdit*>(widget)) e->setMaxLength(wp ? static_cast<int>(wp) : 32767);
      return 0;
    case BM_GETCHECK:
      if (auto* b = qobject_cast<QAbstractButton*>(widget)) return b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
      return 0;
    case BM_SETCHECK:
      if (auto* b = qobject_cast<QAbstractButton*>(widget); b && b->isCheckable()) {
        // Unchecking one radio button of an exclusive group needs the group's leave.
        QButtonGroup* group = b->group();
        bool exclusive = group && group->exclusive();
        if (exclusive && wp == BST_UNCHECKED) group->setExclusive(false);
        b->setChecked(wp == BST_CHECKED);
        if (exclusive) group->setExclusive(true);
      }
      return 0;
    default:
      return DefWindowProcA(w->handle, msg, wp, lp);
  }
}

QWidget* create_button(Window* w, QWidget* parent, QButtonGroup*& group) {
  QString text = QString::fromLatin1(w->text.c_str());
  DWORD type = w->style & BS_TYPEMASK;
  HWND hwnd = w->handle;
  if (type == BS_GROUPBOX) return new QGroupBox(text, parent);
  QAbstractButton* button = nullptr;
  if (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) {
    auto* radio = new QRadioButton(text, parent);
    if (!group || (w->style & WS_GROUP)) group = new QButtonGroup(parent);
    group->addButton(radio);
    button = radio;
  } else if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) {
    button = new QCheckBox(text, parent);
  } else {
    auto* push = new QPushButton(text, parent);
    push->setAutoDefault(false);
    push->setDefault(type == BS_DEFPUSHBUTTON);
    button = push;
  }
  if (type != BS_AUTORADIOBUTTON && type != BS_RADIOBUTTON) group = nullptr;
  QObject::connect(button, &QAbstractButton::clicked, [hwnd] { notify(hwnd, BN_CLICKED); });
  return button;
}

QWidget* create_list(Window* w, QWidget* parent) {
  auto* list = new QListWidget(parent);
  if (w->style & LBS_MULTIPLESEL)
    list->setSelectionMode(QAbstractItemView::MultiSelection);
  else if (w->style & LBS_EXTENDEDSEL)
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  else
    list->setSelectionMode(QAbstractItemView::SingleSelection);
  HWND hwnd = w->handle;
  if (w->style & LBS_NOTIFY) {
    QObject::connect(list, &QListWidget::itemSelectionChanged, [hwnd] {
      if (!quiet) notify(hwnd, LBN_SELCHANGE);
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, [hwnd] { notify(hwnd, LBN_DBLCLK); });
  }
  return list;
}

QWidget* create_edit(Window* w, QWidget* parent) {
  auto* edit = new QLineEdit(QString::fromLatin1(w->text.c_str()), parent);
  HWND hwnd = w->handle;
  QObject::connect(edit, &QLineEdit::textChanged, [hwnd] { notify(hwnd, EN_CHANGE); });
  return edit;
}

}  // namespace

QWidget* create_control(Window* w, QWidget* parent, QButtonGroup*& group) {
  const std::string& cls = w->cls->name;
  QWidget* widget = nullptr;
  if (cls == "BUTTON")
    widget = create_button(w, parent, group);
  else if (cls == "EDIT")
    widget = create_edit(w, parent);
  else if (cls == "LISTBOX")
    widget = create_list(w, parent);
  else if (cls == "STATIC")
    widget = new QLabel(QString::fromLatin1(w->text.c_str()), parent);
  if (cls != "BUTTON") group = nullptr;
  return widget;
}

LRESULT CALLBACK control_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = find_window(hwnd);
  if (!w || !w->widget) return DefWindowProcA(hwnd, msg, wp, lp);
  if (auto* list = qobject_cast<QListWidget*>(w->widget.data())) {
    if (msg == WM_SETTEXT || msg == WM_GETTEXT) return DefWindowProcA(hwnd, msg, wp, lp);
    return list_message(w, list, msg, wp, lp);
  }
  return text_message(w, w->widget, msg, wp, lp);
}

}  // namespace ui_detail
