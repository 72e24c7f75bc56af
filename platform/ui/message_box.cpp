// MessageBoxA over QMessageBox; every box shown is written to the trace.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/trace.h"
#include "platform/ui/test_hooks.h"
#include "platform/ui/ui_internal.h"

using namespace ui_detail;

namespace {

struct ButtonRow {
  int id;
  QMessageBox::StandardButton button;
};

struct TypeRow {
  UINT type;
  ButtonRow buttons[3];
  int count;
  int escape_answer;  // what closing the box answers, 0 when it cannot be closed
};

constexpr TypeRow kTypes[] = {
    {MB_OK, {{IDOK, QMessageBox::Ok}}, 1, IDOK},
    {MB_OKCANCEL, {{IDOK, QMessageBox::Ok}, {IDCANCEL, QMessageBox::Cancel}}, 2, IDCANCEL},
    {MB_ABORTRETRYIGNORE,
     {{IDABORT, QMessageBox::Abort}, {IDRETRY, QMessageBox::Retry}, {IDIGNORE, QMessageBox::Ignore}},
     3,
     0},
    {MB_YESNOCANCEL, {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}, {IDCANCEL, QMessageBox::Cancel}}, 3,
     IDCANCEL},
    {MB_YESNO, {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}}, 2, 0},
    {MB_RETRYCANCEL, {{IDRETRY, QMessageBox::Retry}, {IDCANCEL, QMessageBox::Cancel}}, 2, IDCANCEL},
};

const TypeRow& type_row(UINT type) {
  for (const auto& row : kTypes)
    if (row.type == (type & MB_TYPEMASK)) return row;
  return kTypes[0];
}

QMessageBox::Icon icon_for(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// A box whose owner was destroyed under it answers 0: no button was chosen,
// and none may be taken for the user's (a Yes that nobody clicked).
int run_box(HWND owner, const QString& text, const QString& caption, UINT type) {
  const TypeRow& row = type_row(type);
  Window* w = find_window(owner);
  OwnedModal<QMessageBox> box(icon_for(type), caption, text, QMessageBox::NoButton,
                              w && w->widget ? w->widget->window() : nullptr);
  box->setTextFormat(Qt::PlainText);
  for (int i = 0; i < row.count; ++i) box->addButton(row.buttons[i].button);
  int default_index = std::min(static_cast<int>((type & MB_DEFMASK) >> 8), row.count - 1);
  box->setDefaultButton(row.buttons[default_index].button);
  if (row.escape_answer)
    for (int i = 0; i < row.count; ++i)
      if (row.buttons[i].id == row.escape_answer) box->setEscapeButton(row.buttons[i].button);
  as_callback([&] { return box->exec(); });
  if (box.gone() || (owner && !IsWindow(owner))) return 0;
  auto clicked = box->standardButton(box->clickedButton());
  for (int i = 0; i < row.count; ++i)
    if (row.buttons[i].button == clicked) return row.buttons[i].id;
  return row.escape_answer ? row.escape_answer : row.buttons[0].id;
}

// A trace entry is one line: line breaks are written as \n.
std::string one_line(const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    if (*p == '\n')
      out += "\\n";
    else if (*p != '\r')
      out += *p;
  }
  return out;
}

}  // namespace

namespace ui_detail {
int first_button_of(UINT type) { return type_row(type).buttons[0].id; }
}  // namespace ui_detail

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  const char* shown_caption = caption ? caption : "Error";  // the platform's default caption
  const char* shown_text = text ? text : "";
  trace_line("box \"" + one_line(shown_caption) + "\" \"" + one_line(shown_text) + "\"");
  if (auto answer = scripted_box(owner, shown_text, shown_caption, type)) return *answer;
  if (!QApplication::instance()) return 0;
  return run_box(owner, QString::fromLatin1(shown_text), QString::fromLatin1(shown_caption), type);
}
