#pragma once
// Shared test scaffolding: a private settings folder, the engine on the fast null
// device, a recorder in place of PostMessageA, and short ways to send strings.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/mci/mmsystem.h"
#include "support/temp_home.h"

namespace mcitest {

struct Notice {
  HWND window;
  UINT message;
  WPARAM code;
  LPARAM device;
};

// Puts the recorder in place of PostMessageA (MciTest does it in SetUp).
void record_notices();
// Every notification posted since the last take, in order.
std::vector<Notice> take_notices();

// A window handle for notifications (never dereferenced).
inline HWND test_window() { return reinterpret_cast<HWND>(0x1234); }

// Sends `command` with the test window; the reply, or "error <code>".
std::string mci(const std::string& command);
MCIERROR mci_error(const std::string& command);
// The error text of a code.
std::string error_text(MCIERROR code);

// Runs the fast null engine until every voice is idle.
void run_to_idle();
// Runs the fast null engine for about `ms` milliseconds of output.
void run_ms(std::uint32_t ms);

class MciTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TempHome home_;
};

}  // namespace mcitest
