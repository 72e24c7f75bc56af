#include "recording_fixture.h"

#include <fstream>
#include <iterator>
#include <memory>

#include "platform/audio/engine.h"
#include "platform/audio/media.h"
#include "platform/audio/recorder.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"

void RecordingTest::SetUp() {
  DeckTest::SetUp();
  auto index = std::make_shared<std::uint64_t>(0);
  audio::set_test_input([index](float* stereo, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i)
      stereo[2 * i] = stereo[2 * i + 1] = audio_test::sine_sample(kInputTone, audio::kEngineRate, (*index)++);
  });
}

void RecordingTest::TearDown() {
  audio::set_test_input(nullptr);
  audio::set_save_fault_for_testing(nullptr);
  DeckTest::TearDown();
}

void record_take(int ms) {
  command(CMD_WAVE_RECORD);
  play_for(ms);
  command(CMD_WAVE_RECORD);
}

std::string file_contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void close_rack_declining() {
  ui_test::answer_box(IDNO);
  close_rack();
}
