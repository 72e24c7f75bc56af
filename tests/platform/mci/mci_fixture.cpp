#include "mci_fixture.h"

#include <mutex>

#include "platform/audio/engine.h"

namespace mcitest {

namespace {
std::mutex g_mutex;
std::vector<Notice> g_notices;

void record_notice(HWND window, UINT message, WPARAM code, LPARAM device) {
  std::lock_guard lock(g_mutex);
  g_notices.push_back({window, message, code, device});
}
}  // namespace

void record_notices() { mci_set_notify_poster(record_notice); }

std::vector<Notice> take_notices() {
  std::lock_guard lock(g_mutex);
  std::vector<Notice> taken;
  taken.swap(g_notices);
  return taken;
}

std::string mci(const std::string& command) {
  char reply[128];
  const MCIERROR err = mciSendStringA(command.c_str(), reply, sizeof reply, test_window());
  return err == 0 ? std::string(reply) : "error " + std::to_string(err);
}

MCIERROR mci_error(const std::string& command) {
  char reply[128];
  return mciSendStringA(command.c_str(), reply, sizeof reply, test_window());
}

std::string error_text(MCIERROR code) {
  char text[256];
  return mciGetErrorStringA(code, text, sizeof text) ? text : "";
}

// Bounded, so a voice left paused by a faulty test cannot hang it.
void run_to_idle() { audio::run_fast(600ull * audio::kEngineRate); }

void run_ms(std::uint32_t ms) { audio::run_fast(static_cast<std::uint64_t>(ms) * audio::kEngineRate / 1000); }

void MciTest::SetUp() {
  record_notices();
  audio::start();
  ASSERT_EQ(audio::device_kind(), audio::DeviceKind::NullFast);
  take_notices();
}

void MciTest::TearDown() {
  mciSendStringA("close all", nullptr, 0, nullptr);
  take_notices();
}

}  // namespace mcitest

namespace {
// The engine's threads must be stopped before the process exits.
class EngineShutdown : public testing::Environment {
 public:
  void TearDown() override {
    mciSendStringA("close all", nullptr, 0, nullptr);
    audio::shutdown();
  }
};
const testing::Environment* const g_engine_shutdown = testing::AddGlobalTestEnvironment(new EngineShutdown);
}  // namespace
