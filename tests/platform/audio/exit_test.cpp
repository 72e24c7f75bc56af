#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "child_process.h"
#include "engine_fixture.h"
#include "platform/audio/recorder.h"

namespace audio_test {
namespace {

// Runs only inside the child process of the test below: leaves everything running.
TEST(EngineExit, ChildLeavesTheEngineRunning) {
  if (!std::getenv("QUORVIN_EXIT_CHILD")) GTEST_SKIP() << "the exit test's child process";
  audio::shutdown();
  audio::start({"null", "null"});
  audio::voice_play(audio::voice_create(audio::Line::Wave), constant(0, 0.1f), [](audio::EndReason) {});
  static audio::Recorder rec;  // destroyed after the engine's exit-time shutdown
  std::string error;
  ASSERT_TRUE(rec.create({44100, 2, 16}, std::getenv("QUORVIN_EXIT_CHILD"), &error)) << error;
  ASSERT_TRUE(rec.record(0, &error)) << error;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

TEST(EngineExit, AProgramMayExitWithoutShuttingTheEngineDown) {
  if (std::getenv("QUORVIN_EXIT_CHILD")) GTEST_SKIP();
  TempHome home;
  const pid_t child = spawn_test("EngineExit.ChildLeavesTheEngineRunning", "QUORVIN_EXIT_CHILD", home.file("r.wav"));
  ASSERT_GT(child, 0);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace audio_test
