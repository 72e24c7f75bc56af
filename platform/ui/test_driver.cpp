#include "platform/ui/test_driver.h"

#include <QApplication>
#include <QEventLoop>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <deque>

#include "platform/ui/gdi_internal.h"
#include "platform/ui/test_hooks.h"
#include "platform/ui/ui_internal.h"

using namespace ui_detail;

namespace {

struct Script {
  bool active = false;
  std::deque<int> box_answers;
  std::deque<UINT> menu_choices;
  std::deque<std::function<void(HWND)>> dialog_scripts;
  std::vector<ui_test::ShownBox> boxes;
  std::vector<ui_test::ShownMenu> menus;
  std::deque<std::string> file_answers;
  std::vector<ui_test::ShownFileDialog> file_dialogs;
  QPointer<QWidget> grabber;  // widget that received the press, as Qt's implicit grab
  Qt::MouseButtons buttons;
};

Script& script() {
  static Script s;
  return s;
}

QPoint local_point(Window* w, int x, int y) {
  int b = w->kind == WindowKind::TopLevel ? w->border : 0;
  return QPoint(x + b, y + b);
}

void send_mouse(HWND hwnd, QEvent::Type type, int x, int y, Qt::MouseButton button) {
  Window* w = find_window(hwnd);
  if (!w || !w->widget) return;
  auto& s = script();
  QWidget* target = w->widget;
  QPoint local = local_point(w, x, y);
  if (s.grabber && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) {
    local = s.grabber->mapFrom(target->window(), target->mapTo(target->window(), local));
    target = s.grabber;
  }
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) s.buttons |= button;
  if (type == QEvent::MouseButtonRelease) s.buttons &= ~button;
  QMouseEvent ev(type, local, target->mapToGlobal(local), button, s.buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &ev);
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) s.grabber = target;
  if (type == QEvent::MouseButtonRelease) s.grabber = nullptr;
}

}  // namespace

namespace ui_detail {

int first_button_of(UINT type);

std::optional<int> scripted_box(HWND owner, const char* text, const char* caption, UINT type) {
  auto& s = script();
  if (!s.active) return std::nullopt;
  int answer = first_button_of(type);
  if (!s.box_answers.empty()) {
    answer = s.box_answers.front();
    s.box_answers.pop_front();
  }
  s.boxes.push_back({owner, text, caption, type, answer});
  return answer;
}

std::optional<UINT> scripted_menu(ui_test::ShownMenu shown) {
  auto& s = script();
  if (!s.active) return std::nullopt;
  shown.chosen = 0;
  if (!s.menu_choices.empty()) {
    shown.chosen = s.menu_choices.front();
    s.menu_choices.pop_front();
  }
  s.menus.push_back(shown);
  return shown.chosen;
}

std::optional<std::string> scripted_file(const ui_test::ShownFileDialog& shown) {
  auto& s = script();
  if (!s.active) return std::nullopt;
  s.file_dialogs.push_back(shown);
  if (s.file_answers.empty()) return std::string();
  std::string answer = s.file_answers.front();
  s.file_answers.pop_front();
  return answer;
}

std::string next_scripted_file() {
  auto& s = script();
  if (s.file_answers.empty()) return std::string();
  std::string answer = s.file_answers.front();
  s.file_answers.pop_front();
  return answer;
}

void note_file_dialog(const ui_test::ShownFileDialog& shown) {
  if (script().active) script().file_dialogs.push_back(shown);
}

std::optional<std::function<void(HWND)>> scripted_dialog(HWND) {
  auto& s = script();
  if (s.dialog_scripts.empty()) return std::nullopt;
  auto next = std::move(s.dialog_scripts.front());
  s.dialog_scripts.pop_front();
  return next;
}

}  // namespace ui_detail

namespace ui_test {

void on_dialog(std::function<void(HWND)> script_for_dialog) {
  script().dialog_scripts.push_back(std::move(script_for_dialog));
}

void script_ui() { script().active = true; }

void answer_box(int answer) {
  script_ui();
  script().box_answers.push_back(answer);
}

void answer_file_dialog(const std::string& path) {
  script_ui();
  script().file_answers.push_back(path);
}

const std::vector<ShownFileDialog>& file_dialogs() { return script().file_dialogs; }

void choose_menu_item(UINT id) {
  script_ui();
  script().menu_choices.push_back(id);
}

void reset() {
  script() = Script{};
  note_modifiers(Qt::NoModifier);
}

const std::vector<ShownBox>& boxes() { return script().boxes; }
const std::vector<ShownMenu>& menus() { return script().menus; }

void press(HWND hwnd, int x, int y) { send_mouse(hwnd, QEvent::MouseButtonPress, x, y, Qt::LeftButton); }
void move(HWND hwnd, int x, int y) { send_mouse(hwnd, QEvent::MouseMove, x, y, Qt::NoButton); }
void release(HWND hwnd, int x, int y) { send_mouse(hwnd, QEvent::MouseButtonRelease, x, y, Qt::LeftButton); }

void right_click(HWND hwnd, int x, int y) {
  send_mouse(hwnd, QEvent::MouseButtonPress, x, y, Qt::RightButton);
  send_mouse(hwnd, QEvent::MouseButtonRelease, x, y, Qt::RightButton);
}

void click(HWND hwnd, int x, int y) {
  press(hwnd, x, y);
  release(hwnd, x, y);
}

void double_click(HWND hwnd, int x, int y) {
  click(hwnd, x, y);
  send_mouse(hwnd, QEvent::MouseButtonDblClick, x, y, Qt::LeftButton);
  release(hwnd, x, y);
}

void key(HWND hwnd, WPARAM vk, bool alt, bool ctrl) {
  Window* w = find_window(hwnd);
  if (!w || !w->widget) return;
  Qt::KeyboardModifiers mods;
  if (alt) mods |= Qt::AltModifier;
  if (ctrl) mods |= Qt::ControlModifier;
  QPointer<QWidget> target = w->widget;  // the press may destroy the window
  QKeyEvent down(QEvent::KeyPress, qt_key_from_virtual(vk), mods);
  QApplication::sendEvent(target, &down);
  if (!target || !find_window(hwnd)) return;
  QKeyEvent up(QEvent::KeyRelease, qt_key_from_virtual(vk), mods);
  QApplication::sendEvent(target, &up);
}

bool drop_files(HWND hwnd, int x, int y, const std::vector<std::string>& paths) {
  Window* w = find_window(hwnd);
  if (!w || !w->widget || !w->widget->acceptDrops()) return false;
  QMimeData data;
  QList<QUrl> urls;
  for (const std::string& path : paths) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
  data.setUrls(urls);
  const QPoint local = local_point(w, x, y);
  QDragEnterEvent enter(local, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w->widget, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(local), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w->widget, &drop);
  return drop.isAccepted();
}

void clear_focus() {
  if (QWidget* f = QApplication::focusWidget()) f->clearFocus();
}

bool pump_step(int max_ms) {
  QEventLoop loop;
  QTimer::singleShot(max_ms, &loop, &QEventLoop::quit);
  loop.exec();
  return true;
}

void pump(int ms) { pump_step(ms); }

QImage client_image(HWND hwnd) {
  Window* w = find_window(hwnd);
  Window* top = top_level_of(w);
  if (!top) return {};
  paint_pending(top);
  return top->buffer.copy(QRect(offset_in_top(w), w->client.size()));
}

COLORREF pixel(HWND hwnd, int x, int y) {
  Window* w = find_window(hwnd);
  Window* top = top_level_of(w);
  if (!top) return 0xFFFFFFFF;
  paint_pending(top);
  QPoint p = offset_in_top(w) + QPoint(x, y);
  if (!QRect(offset_in_top(w), w->client.size()).contains(p) || !top->buffer.rect().contains(p)) return 0xFFFFFFFF;
  return to_colorref(top->buffer.pixel(p));
}

}  // namespace ui_test
