#pragma once
// A QApplication for the whole test binary and a test window whose procedure
// records every message and lets each test add its own handling.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"

struct Seen {
  HWND hwnd;
  UINT msg;
  WPARAM wp;
  LPARAM lp;
};

class UiTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // A top-level window of the recording class (579 x 402 with a border by default).
  HWND make_window(int width = 579, int height = 402, DWORD style = WS_POPUP | WS_BORDER | WS_SYSMENU);
  HWND make_button(HWND parent, int id, int x, int y, int w, int h);
  std::vector<Seen> seen(UINT msg) const;
  std::vector<UINT> messages_of(HWND hwnd) const;

 public:
  // Handled messages return handler's value; unhandled ones go to DefWindowProcA.
  static std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> handler;
  static std::vector<Seen> log;
  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

constexpr const char* kTestClass = "QuorvinTest";
