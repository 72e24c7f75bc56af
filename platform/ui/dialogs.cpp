// Modal dialogs from templates: a QDialog with standard controls, driven by
// the program's dialog procedure.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "platform/ui/controls.h"
#include "platform/ui/dialog_runner.h"
#include "platform/ui/resource_lookup.h"
#include "platform/ui/test_hooks.h"
#include "platform/ui/window_registry.h"

using namespace ui_detail;

namespace {

// Template geometry is in pixels: the font is sized in pixels too, so the
// controls fit whatever the screen's density.
constexpr int kDialogFontPixels = 12;

void send_command(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

// Keys a Win32 dialog manager handles: Enter and Escape become commands for
// the dialog procedure; closing the window is WM_CLOSE.
class DialogWidget : public QDialog {
 public:
  DialogWidget(HWND hwnd, QWidget* owner) : QDialog(owner), hwnd_(hwnd) {}
  void reject() override { send_command(hwnd_, IDCANCEL); }
  void accept() override { send_command(hwnd_, IDOK); }
  void finish() { QDialog::done(0); }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    bool plain = !(e->modifiers() & ~Qt::KeypadModifier);
    if (plain && e->key() == Qt::Key_Escape) {
      send_command(hwnd_, IDCANCEL);
      return;
    }
    if (plain && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
      press_default();
      return;
    }
    e->ignore();
  }
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    SendMessageA(hwnd_, WM_CLOSE, 0, 0);
  }

 private:
  // The focused push button, else the default push button, else IDOK.
  void press_default() {
    auto usable = [](QPushButton* b) { return b && b->isVisible() && b->isEnabled(); };
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    if (usable(focused)) {
      focused->click();
      return;
    }
    for (QPushButton* b : findChildren<QPushButton*>())
      if (b->isDefault() && b->isVisible()) {
        if (b->isEnabled()) b->click();
        return;
      }
    HWND ok = GetDlgItem(hwnd_, IDOK);
    if (!ok || IsWindowEnabled(ok)) send_command(hwnd_, IDOK);
  }

  HWND hwnd_;
};

// What DefDlgProc does for the messages the dialog procedure leaves.
LRESULT default_dialog(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK dialog_window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = find_window(hwnd);
  if (!w || !w->dialog_proc) return default_dialog(hwnd, msg, wp, lp);
  INT_PTR handled = w->dialog_proc(hwnd, msg, wp, lp);
  if (msg == WM_INITDIALOG) return handled;
  return handled ? handled : default_dialog(hwnd, msg, wp, lp);
}

std::shared_ptr<WindowClass> builtin_class(const char* name, WNDPROC proc) {
  auto cls = find_class(name);
  if (cls) return cls;
  auto made = std::make_shared<WindowClass>();
  made->name = name;
  made->proc = proc;
  made->builtin = true;
  register_class(made);
  return made;
}

void add_controls(Window* dialog, const DialogLayout& layout) {
  bool tab_stops_marked =
      std::any_of(layout.controls.begin(), layout.controls.end(), [](const auto& c) { return c.style & WS_TABSTOP; });
  QButtonGroup* group = nullptr;
  for (const auto& row : layout.controls) {
    auto record = std::make_unique<Window>();
    record->cls = builtin_class(row.cls, control_proc);
    record->proc = control_proc;
    record->kind = WindowKind::Control;
    record->parent = dialog->handle;
    record->id = row.id;
    record->style = row.style;
    record->text = row.text ? row.text : "";
    record->client = QRect(row.x, row.y, row.cx, row.cy);
    Window* control = add_window(std::move(record));
    QWidget* widget = create_control(control, dialog->widget, group);
    if (!widget) {
      remove_window(control->handle);
      continue;
    }
    widget->setProperty("quorvin_hwnd", QVariant::fromValue(reinterpret_cast<quintptr>(control->handle)));
    widget->setGeometry(control->client);
    if (row.style & WS_DISABLED) widget->setEnabled(false);
    // Tab stops where the template puts them; radio buttons keep theirs for the arrow keys.
    bool radio = (row.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON || (row.style & BS_TYPEMASK) == BS_RADIOBUTTON;
    if (tab_stops_marked && !(row.style & WS_TABSTOP) && (widget->focusPolicy() & Qt::TabFocus) &&
        !(radio && std::string(row.cls) == "BUTTON"))
      widget->setFocusPolicy(Qt::ClickFocus);
    widget->setVisible((row.style & WS_VISIBLE) != 0);
    control->widget = widget;
    dialog->children.push_back(control->handle);
  }
}

// The first control Tab would reach: the one WM_INITDIALOG names for the focus.
HWND first_tab_stop(const Window* dialog) {
  for (HWND c : dialog->children) {
    Window* w = find_window(c);
    if (w && w->widget && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED) &&
        (w->widget->focusPolicy() & Qt::TabFocus))
      return c;
  }
  return nullptr;
}

// Centred over the owner's window, or the screen; kept on the screen.
QPoint default_position(QWidget* owner, QSize size) {
  QScreen* screen = QGuiApplication::primaryScreen();
  QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
  QRect over = owner ? owner->frameGeometry() : area;
  QPoint at = over.center() - QPoint(size.width() / 2, size.height() / 2);
  at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - size.width())));
  at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
  return at;
}

}  // namespace

namespace ui_detail {

const ui_resources::DialogResource* find_dialog_template(LPCSTR name) {
  const auto& t = ui_resources::tables();
  for (std::size_t i = 0; i < t.dialog_count; ++i)
    if (ui_resources::matches(t.dialogs[i].id, name)) return &t.dialogs[i];
  return nullptr;
}

DialogLayout layout_of(const ui_resources::DialogResource& tpl) {
  return DialogLayout{tpl.caption ? tpl.caption : "", tpl.cx, tpl.cy,
                      std::vector<ui_resources::DialogControl>(tpl.controls, tpl.controls + tpl.count)};
}

INT_PTR run_dialog(const DialogLayout& layout, HWND owner, DLGPROC proc, LPARAM param) {
  if (!proc || !QApplication::instance()) return -1;
  auto record = std::make_unique<Window>();
  record->cls = builtin_class("#32770", dialog_window_proc);
  record->proc = dialog_window_proc;
  record->kind = WindowKind::Dialog;
  record->dialog_proc = proc;
  record->text = layout.caption;
  Window* owner_window = find_window(owner);
  if (Window* top = owner_window ? top_level_of(owner_window) : nullptr) record->owner = top->handle;
  Window* dialog = add_window(std::move(record));
  HWND hwnd = dialog->handle;
  owner_window = find_window(owner);
  QWidget* owner_widget = owner_window && owner_window->widget ? owner_window->widget->window() : nullptr;
  auto* widget = new DialogWidget(hwnd, owner_widget);
  widget->setProperty("quorvin_hwnd", QVariant::fromValue(reinterpret_cast<quintptr>(hwnd)));
  widget->setWindowTitle(QString::fromLatin1(dialog->text.c_str()));
  QFont font = QApplication::font();
  font.setPixelSize(kDialogFontPixels);
  widget->setFont(font);
  widget->setFixedSize(layout.cx, layout.cy);
  widget->winId();  // the platform window now, so the frame counts in GetWindowRect from the start
  widget->move(default_position(owner_widget, widget->frameGeometry().size()));
  dialog->client = widget->geometry();
  dialog->widget = widget;
  add_controls(dialog, layout);

  HWND first = first_tab_stop(dialog);
  if (SendMessageA(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) && first) SetFocus(first);
  dialog = find_window(hwnd);
  if (dialog && !dialog->dialog_ended) {
    if (auto script = scripted_dialog(hwnd))
      QTimer::singleShot(0, widget, [script, hwnd, widget] {
        // Scripts act as a user at the dialog would: it has the keyboard.
        widget->activateWindow();
        ui_test::pump_until([widget] { return QApplication::activeWindow() == widget; }, 1000);
        if (IsWindow(hwnd)) (*script)(hwnd);
      });
    as_callback([&] { return widget->exec(); });
  }
  dialog = find_window(hwnd);
  INT_PTR result = dialog ? dialog->dialog_result : -1;
  DestroyWindow(hwnd);
  return result;
}

}  // namespace ui_detail

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
  const ui_resources::DialogResource* tpl = find_dialog_template(name);
  if (!tpl) return -1;
  return run_dialog(layout_of(*tpl), owner, proc, param);
}

BOOL EndDialog(HWND hwnd, INT_PTR result) {
  Window* w = find_window(hwnd);
  if (!w || w->kind != WindowKind::Dialog) return FALSE;
  w->dialog_result = result;
  w->dialog_ended = true;
  if (auto* d = dynamic_cast<DialogWidget*>(w->widget.data())) d->finish();
  return TRUE;
}

LRESULT SendDlgItemMessageA(HWND dlg, int id, UINT msg, WPARAM wp, LPARAM lp) {
  HWND item = GetDlgItem(dlg, id);
  return item ? SendMessageA(item, msg, wp, lp) : 0;
}

BOOL SetDlgItemTextA(HWND dlg, int id, LPCSTR text) {
  HWND item = GetDlgItem(dlg, id);
  return item ? SetWindowTextA(item, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dlg, int id, LPSTR buffer, int max) {
  if (buffer && max > 0) buffer[0] = '\0';
  HWND item = GetDlgItem(dlg, id);
  return item ? static_cast<UINT>(GetWindowTextA(item, buffer, max)) : 0;
}

UINT GetDlgItemInt(HWND dlg, int id, BOOL* translated, BOOL is_signed) {
  if (translated) *translated = FALSE;
  char text[64];
  if (!GetDlgItem(dlg, id)) return 0;
  GetDlgItemTextA(dlg, id, text, sizeof text);
  // Leading and trailing blanks are allowed; anything else must be digits.
  QByteArray digits = QByteArray(text).trimmed();
  bool ok = false;
  qlonglong value = digits.toLongLong(&ok, 10);
  if (!ok || digits.startsWith('+') || (!is_signed && digits.startsWith('-'))) return 0;
  bool fits = is_signed ? value >= INT32_MIN && value <= INT32_MAX : value >= 0 && value <= UINT32_MAX;
  if (!fits) return 0;
  if (translated) *translated = TRUE;
  return static_cast<UINT>(value);
}

BOOL SetDlgItemInt(HWND dlg, int id, UINT value, BOOL is_signed) {
  std::string text = is_signed ? std::to_string(static_cast<int>(value)) : std::to_string(value);
  return SetDlgItemTextA(dlg, id, text.c_str());
}

BOOL CheckDlgButton(HWND dlg, int id, UINT check) {
  return SendDlgItemMessageA(dlg, id, BM_SETCHECK, check, 0) == 0 && GetDlgItem(dlg, id) ? TRUE : FALSE;
}

UINT IsDlgButtonChecked(HWND dlg, int id) { return static_cast<UINT>(SendDlgItemMessageA(dlg, id, BM_GETCHECK, 0, 0)); }

BOOL CheckRadioButton(HWND dlg, int first, int last, int check) {
  for (int id = first; id <= last; ++id)
    SendDlgItemMessageA(dlg, id, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
  return TRUE;
}
