#include "platform/ui/controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringDecoder>
#include <cstring>

namespace ui_detail {
namespace {

// Changes made by the program itself raise no selection notification.
bool quiet = false;

struct Quiet {
  bool was = quiet;
  Quiet() { quiet = true; }
  ~Quiet() { quiet = was; }
};

bool valid_row(const QListWidget* list, WPARAM index) { return static_cast<int>(index) < list->count(); }

QByteArray bytes_of(const QListWidgetItem* item) { return item->data(kItemBytesRole).toByteArray(); }

void insert_item(QListWidget* list, int row, LPCSTR text) {
  QByteArray bytes(text ? text : "");
  auto* item = new QListWidgetItem(display_text(bytes));
  item->setData(kItemBytesRole, bytes);
  list->insertItem(row, item);
}

int sorted_row(QListWidget* list, LPCSTR text) {
  QByteArray bytes(text ? text : "");
  int row = 0;
  while (row < list->count() && qstricmp(bytes_of(list->item(row)).constData(), bytes.constData()) <= 0) ++row;
  return row;
}

LRESULT list_message(Window* w, QListWidget* list, UINT msg, WPARAM wp, LPARAM lp) {
  Quiet q;
  int index = static_cast<int>(static_cast<std::intptr_t>(wp));
  switch (msg) {
    case LB_ADDSTRING: {
      auto text = reinterpret_cast<LPCSTR>(lp);
      int row = (w->style & LBS_SORT) ? sorted_row(list, text) : list->count();
      insert_item(list, row, text);
      return row;
    }
    case LB_INSERTSTRING:
      if (index == -1) index = list->count();
      if (index < 0 || index > list->count()) return LB_ERR;
      insert_item(list, index, reinterpret_cast<LPCSTR>(lp));
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
      return copy_bytes_out(bytes_of(list->item(index)), static_cast<std::size_t>(-1) / 2, lp);
    case LB_GETTEXTLEN:
      return valid_row(list, wp) ? bytes_of(list->item(index)).size() : LB_ERR;
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
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
      return find_item(
          list->count(), [list](int i) { return bytes_of(list->item(i)); }, wp, reinterpret_cast<LPCSTR>(lp),
          msg == LB_FINDSTRINGEXACT);
    case WM_SETFOCUS:
      list->setFocus(Qt::OtherFocusReason);
      return 0;
    default:
      return DefWindowProcA(w->handle, msg, wp, lp);
  }
}

LRESULT text_message(Window* w, QWidget* widget, UINT msg, WPARAM wp, LPARAM lp) {
  // A static shows what it was given (a path, a title) and gives back the
  // same bytes; the others hold what the user may edit, one byte a character.
  auto text = [&] {
    if (auto* e = qobject_cast<QLineEdit*>(widget)) return e->text().toLatin1();
    if (auto* b = qobject_cast<QAbstractButton*>(widget)) return b->text().toLatin1();
    if (qobject_cast<QLabel*>(widget)) return QByteArray(w->text.c_str());
    if (auto* g = qobject_cast<QGroupBox*>(widget)) return g->title().toLatin1();
    return QByteArray();
  };
  switch (msg) {
    case WM_SETTEXT: {
      QByteArray bytes(lp ? reinterpret_cast<LPCSTR>(lp) : "");
      QString t = QString::fromLatin1(bytes);
      if (auto* e = qobject_cast<QLineEdit*>(widget)) e->setText(t);
      else if (auto* b = qobject_cast<QAbstractButton*>(widget)) b->setText(t);
      else if (auto* l = qobject_cast<QLabel*>(widget)) l->setText(display_text(bytes));
      else if (auto* g = qobject_cast<QGroupBox*>(widget)) g->setTitle(t);
      w->text = bytes.toStdString();
      return TRUE;
    }
    case WM_GETTEXT:
      return copy_bytes_out(text(), wp, lp);
    case WM_GETTEXTLENGTH:
    case EM_LINELENGTH:
      return text().size();
    case EM_LIMITTEXT:
      if (auto* e = qobject_cast<QLineEdit*>(widget)) e->setMaxLength(wp ? static_cast<int>(wp) : 32767);
      return 0;
    case EM_SETSEL:
      if (auto* e = qobject_cast<QLineEdit*>(widget)) {
        int length = static_cast<int>(e->text().size());
        int start = static_cast<int>(static_cast<std::intptr_t>(wp));
        int end = static_cast<int>(lp);
        if (start < 0) {
          e->deselect();
          return 0;
        }
        if (end < 0 || end > length) end = length;
        start = std::min(start, length);
        e->setSelection(start, end - start);
      }
      return 0;
    case EM_GETSEL:
      if (auto* e = qobject_cast<QLineEdit*>(widget)) {
        int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
        int end = start + static_cast<int>(e->selectedText().size());
        if (wp) *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(start);
        if (lp) *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(end);
        return MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end));
      }
      return 0;
    case WM_SETFOCUS:
      widget->setFocus(Qt::OtherFocusReason);
      return 0;
    case BM_GETCHECK:
      if (auto* b = qobject_cast<QAbstractButton*>(widget)) return b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
      return 0;
    case BM_CLICK:
      if (auto* b = qobject_cast<QAbstractButton*>(widget)) b->click();
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
  QObject::connect(button, &QAbstractButton::clicked, [hwnd] { notify_parent(hwnd, BN_CLICKED); });
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
      if (!quiet) notify_parent(hwnd, LBN_SELCHANGE);
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, [hwnd] { notify_parent(hwnd, LBN_DBLCLK); });
  }
  return list;
}

QWidget* create_edit(Window* w, QWidget* parent) {
  auto* edit = new QLineEdit(QString::fromLatin1(w->text.c_str()), parent);
  HWND hwnd = w->handle;
  QObject::connect(edit, &QLineEdit::textChanged, [hwnd] { notify_parent(hwnd, EN_CHANGE); });
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
  else if (cls == "COMBOBOX")
    widget = create_combo(w, parent);
  else if (cls == "STATIC") {
    // Titles and file names are text, never markup.
    auto* label = new QLabel(display_text(QByteArray(w->text.c_str())), parent);
    label->setTextFormat(Qt::PlainText);
    widget = label;
  }
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
  Quiet q;
  if (w->cls->name == "COMBOBOX") return combo_message(w, w->widget, msg, wp, lp);
  return text_message(w, w->widget, msg, wp, lp);
}

bool program_is_changing_controls() { return quiet; }

void notify_parent(HWND control, WORD code) {
  Window* w = find_window(control);
  Window* parent = w ? find_window(w->parent) : nullptr;
  // A dialog being destroyed has had its WM_DESTROY: nothing more reaches it.
  if (parent && !parent->destroying)
    SendMessageA(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), code),
                 reinterpret_cast<LPARAM>(control));
}

LRESULT copy_bytes_out(const QByteArray& bytes, std::size_t size, LPARAM buffer) {
  auto* out = reinterpret_cast<char*>(buffer);
  if (!out || size == 0) return 0;
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(bytes.size()), size - 1);
  std::memcpy(out, bytes.constData(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

QString display_text(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString decoded = utf8.decode(bytes);
  return utf8.hasError() ? QString::fromLatin1(bytes) : decoded;
}

LRESULT find_item(int count, const std::function<QByteArray(int)>& item, WPARAM start, LPCSTR wanted, bool exact) {
  if (!wanted || count <= 0) return LB_ERR;
  int from = static_cast<int>(static_cast<std::intptr_t>(start));
  if (from < -1 || from >= count) from = -1;
  std::size_t length = std::strlen(wanted);
  for (int step = 1; step <= count; ++step) {
    int i = (from + step) % count;
    QByteArray text = item(i);
    bool hit = exact ? qstricmp(text.constData(), wanted) == 0
                     : qstrnicmp(text.constData(), wanted, static_cast<qsizetype>(length)) == 0;
    if (hit) return i;
  }
  return LB_ERR;
}

}  // namespace ui_detail
