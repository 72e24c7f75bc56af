// A recording cut short by a crash: the next start offers it on deck 2 as an
// unsaved recording, with at most about the last second lost, while a rack
// still running keeps its own recording to itself.
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/audio/child_process.h"
#include "platform/audio/recorder.h"
#include "platform/ui/windows.h"
#include "recording_fixture.h"
#include "resources/ids/commands.h"
#include "resources/ids/menus.h"

namespace {

namespace fs = std::filesystem;
constexpr const char* kChildFlag = "QUORVIN_RECORDING_CHILD";

std::vector<std::string> recordings_on_disk() {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(audio::recordings_folder(), ec))
    if (entry.path().filename().string()[0] != '.') found.push_back(entry.path().string());
  return found;
}

// Only inside the child: a rack on the real-time null device records on deck 2 until killed.
TEST_F(RecordingTest, ChildRecordsUntilKilled) {
  const char* home_of_parent = std::getenv(kChildFlag);
  if (!home_of_parent) GTEST_SKIP() << "the crash test's child process";
  setenv("QUORVIN_HOME", home_of_parent, 1);
  setenv("QUORVIN_AUDIO", "null", 1);
  run_rack([&] {
    ui_test::on_dialog([](HWND d) { ui_test::click_control(d, IDOK); });
    command(IDM_TAPE2_NEW);
    command(CMD_WAVE_RECORD);
    ui_test::pump(60000);
  }, 70000);
}

bool offered(const ui_test::ShownBox& box) { return box.caption == "Recording recovered"; }

TEST_F(RecordingTest, AKilledRecordingIsOfferedAtTheNextStartButALiveOneIsNot) {
  if (std::getenv(kChildFlag)) GTEST_SKIP();
  const pid_t child = audio_test::spawn_test("RecordingTest.ChildRecordsUntilKilled", kChildFlag, home.path());
  ASSERT_GT(child, 0);
  const auto begin = std::chrono::steady_clock::now();
  while (recordings_on_disk().empty() && std::chrono::steady_clock::now() - begin < std::chrono::seconds(30))
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto started = std::chrono::steady_clock::now();

  // A second rack beside the running one offers nothing.
  run_rack([&] {
    ui_test::pump(400);  // the first ticks
    EXPECT_FALSE(wave_deck(2).loaded());
    close_rack();
  });
  EXPECT_TRUE(ui_test::boxes().empty());
  std::this_thread::sleep_for(std::chrono::milliseconds(2500) - (std::chrono::steady_clock::now() - started));

  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  const double recorded_for = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;
  ASSERT_EQ(recordings_on_disk().size(), 1u);

  // The next start offers it; it saves, and its temporary file goes with the deck.
  const std::string saved = home.file("rescued.wav");
  long length = 0;
  ui_test::reset();
  ui_test::script_ui();
  run_rack([&] {
    ui_test::pump_until([] { return wave_deck(2).loaded(); }, 2000);
    length = wave_deck(2).length_ms;
    EXPECT_EQ(wave_deck(2).modified, 1);
    EXPECT_EQ(active_wave_deck, 2);
    ui_test::answer_file_dialog(saved);
    command(IDM_TAPE2_SAVE);
    command(IDM_TAPE2_CLOSE);
    close_rack();
  });
  ASSERT_EQ(ui_test::boxes().size(), 1u) << "told once";
  EXPECT_TRUE(offered(ui_test::boxes()[0]));
  EXPECT_GT(length, (recorded_for - 1.6) * 1000) << "more than about a second was lost";
  EXPECT_LE(length, (recorded_for + 0.1) * 1000);
  EXPECT_TRUE(fs::exists(saved));
  EXPECT_TRUE(recordings_on_disk().empty()) << "saved, the recovered file is gone";
}

}  // namespace
