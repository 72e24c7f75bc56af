#include "ui_fixture.h"

#include <QApplication>

#include "resources/resources.h"

std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> UiTest::handler;
std::vector<Seen> UiTest::log;

LRESULT CALLBACK UiTest::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  log.push_back({hwnd, msg, wp, lp});
  LRESULT result = 0;
  if (handler && handler(hwnd, msg, wp, lp, result)) return result;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void UiTest::SetUpTestSuite() {
  if (QApplication::instance()) return;
  static int argc = 1;
  static char name[] = "test_ui";
  static char* argv[] = {name, nullptr};
  auto* app = new QApplication(argc, argv);
  app->setQuitOnLastWindowClosed(false);
  InstallResources();
}

void UiTest::SetUp() {
  log.clear();
  handler = nullptr;
  ui_test::reset();
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kTestClass;
  ASSERT_NE(RegisterClassA(&wc), 0);
}

void UiTest::TearDown() {
  while (HWND w = FindWindowA(kTestClass, nullptr)) DestroyWindow(w);
  handler = nullptr;
  UnregisterClassA(kTestClass, nullptr);
  ui_test::reset();
  ui_test::pump(1);  // frees widgets released during the test
}

HWND UiTest::make_window(int width, int height, DWORD style) {
  HWND hwnd = CreateWindowExA(0, kTestClass, "Test", style, 10, 20, width, height, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  EXPECT_NE(hwnd, nullptr);
  return hwnd;
}

HWND UiTest::make_button(HWND parent, int id, int x, int y, int w, int h) {
  HWND b = CreateWindowExA(0, "BUTTON", nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), GetModuleHandleA(nullptr),
                           nullptr);
  EXPECT_NE(b, nullptr);
  return b;
}

std::vector<Seen> UiTest::seen(UINT msg) const {
  std::vector<Seen> out;
  for (const auto& s : log)
    if (s.msg == msg) out.push_back(s);
  return out;
}

std::vector<UINT> UiTest::messages_of(HWND hwnd) const {
  std::vector<UINT> out;
  for (const auto& s : log)
    if (s.hwnd == hwnd) out.push_back(s.msg);
  return out;
}
