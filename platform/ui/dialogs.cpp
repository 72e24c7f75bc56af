// Modal dialogs from templates: a QDialog with standard controls, driven by
// the program's dialog procedure.
#include <QCloseEvent>
#include <QDialog>
#include <QTimer>

#include "platform/ui/controls.h"
#include "platform/ui/resource_lookup.h"
#include "platform/ui/test_hooks.h"
#include "platform/ui/window_registry.h"

using namespace ui_detail;

namespace {

// Esc, Enter and closing the window become commands for the dialog procedure.
class DialogWidget : public QDialog {
 public:
  DialogWidget(HWND hwnd, QWidget* owner) : QDialog(owner), hwnd_(hwnd) {}
  void reject() override { SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }
  void accept() override { SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
  void finish() { QDialog::done(0); }

 protected:
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    SendMessageA(hwnd_, WM_CLOSE, 0, 0);
  }

 private:
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

const ui_resources::DialogResource* find_template(LPCSTR name) {
  const auto& t = ui_resources::tables();
  for (std::size_t i = 0; i < t.dialog_count; ++i)
    if (ui_resources::matches(t.dialogs[i].id, name)) return &t.dialogs[i];
  return nullptr;
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

void add_controls(Window* dialog, const ui_resources::DialogResource& tpl) {
  QButtonGroup* group = nullptr;
  for (std::size_t i = 0; i < tpl.count; ++i) {
    const auto& row = tpl.controls[i];
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
    widget->setVisible((row.style & WS_VISIBLE) != 0);
    control->widget = widget;
    dialog->children.push_back(control->handle);
  }
}

}  // namespace

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
  const ui_resources::DialogResource* tpl = find_template(name);
  if (!tpl || !proc) return -1;
  auto record = std::make_unique<Window>();
  record->cls = builtin_class("#32770", dialog_window_proc);
  record->proc = dialog_window_proc;
  record->kind = WindowKind::Dialog;
  record->dialog_proc = proc;
  record->text = tpl->caption ? tpl->caption : "";
  record->client = QRect(0, 0, tpl->cx, tpl->cy);
  Window* dialog = add_window(std::move(record));
  HWND hwnd = dialog->handle;
  Window* owner_window = find_window(owner);
  auto* widget = new DialogWidget(hwnd, owner_window && owner_window->widget ? owner_window->widget->window() : nullptr);
  widget->setProperty("quorvin_hwnd", QVariant::fromValue(reinterpret_cast<quintptr>(hwnd)));
  widget->setWindowTitle(QString::fromLatin1(dialog->text.c_str()));
  widget->setFixedSize(tpl->cx, tpl->cy);
  dialog->widget = widget;
  add_controls(dialog, *tpl);

  HWND first = dialog->children.empty() ? nullptr : dialog->children.front();
  if (SendMessageA(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) && first)
    if (Window* f = find_window(first); f && f->widget) f->widget->setFocus();
  dialog = find_window(hwnd);
  if (dialog && !dialog->dialog_ended) {
    if (auto script = scripted_dialog(hwnd))
      QTimer::singleShot(0, widget, [script, hwnd] { (*script)(hwnd); });
    as_callback([&] { return widget->exec(); });
  }
  dialog = find_window(hwnd);
  INT_PTR result = dialog ? dialog->dialog_result : -1;
  DestroyWindow(hwnd);
  return result;
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

BOOL CheckDlgButton(HWND dlg, int id, UINT check) {
  return SendDlgItemMessageA(dlg, id, BM_SETCHECK, check, 0) == 0 && GetDlgItem(dlg, id) ? TRUE : FALSE;
}

UINT IsDlgButtonChecked(HWND dlg, int id) { return static_cast<UINT>(SendDlgItemMessageA(dlg, id, BM_GETCHECK, 0, 0)); }

BOOL CheckRadioButton(HWND dlg, int first, int last, int check) {
  for (int id = first; id <= last; ++id)
    SendDlgItemMessageA(dlg, id, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
  return TRUE;
}
