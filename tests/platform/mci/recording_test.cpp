// Recording through the waveaudio device as deck 2 drives it: takes that
// overwrite like a tape, files opened for recording, the recording source, a
// full disk and recordings recovered after a crash.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/audio/media.h"
#include "mci_fixture.h"
#include "media_files.h"
#include "platform/audio/engine.h"
#include "platform/audio/recorder.h"
#include "support/env_override.h"
#include "support/file_size_limit.h"

namespace {

namespace fs = std::filesystem;
using mcitest::mci;
using mcitest::mci_error;
using mcitest::take_notices;

constexpr double kInputTone = 1000.0;  // what the test input hears
constexpr double kFileTone = 440.0;    // what write_sine_wav writes
constexpr std::size_t kBlock = 4096;   // the engine's longest block, in engine frames

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

SF_INFO info_of(const std::string& path) {
  SF_INFO info{};
  if (SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info)) sf_close(f);
  return info;
}

long number(const std::string& reply) { return std::stol(reply); }

class TapeRecording : public mcitest::MciTest {
 protected:
  void SetUp() override {
    MciTest::SetUp();
    auto index = std::make_shared<std::uint64_t>(0);
    audio::set_test_input([index](float* stereo, std::size_t frames) {
      for (std::size_t i = 0; i < frames; ++i)
        stereo[2 * i] = stereo[2 * i + 1] = audio_test::sine_sample(kInputTone, audio::kEngineRate, (*index)++);
    });
  }
  void TearDown() override {
    MciTest::TearDown();
    audio::set_test_input(nullptr);
  }
  void open_new(int rate, int bits, int channels) {
    ASSERT_EQ(mci_error("open new type waveaudio alias tape2 buffer 4"), 0u);
    const std::string align = std::to_string(bits * channels / 8);
    ASSERT_EQ(mci("set tape2 time format milliseconds channels " + std::to_string(channels) + " samplespersec " +
                  std::to_string(rate) + " bitspersample " + std::to_string(bits) + " alignment " + align +
                  " bytespersec " + std::to_string(bits / 8 * rate * channels)),
              "");
  }
  void take(std::uint32_t ms) {
    ASSERT_EQ(mci("record tape2"), "");
    mcitest::run_ms(ms);
    ASSERT_EQ(mci("stop tape2"), "");
  }
};

// Record, Record (which rewinds) and Record again: the third take starts at
// 0:00 over the first; the length is the longer of the two.
TEST_F(TapeRecording, TakesRecordOverWhatWasThereFromThePosition) {
  open_new(44100, 16, 2);
  take(500);
  EXPECT_EQ(mci("status tape2 length"), "500");
  EXPECT_EQ(mci("status tape2 position"), "500") << "a take ends where it stopped";
  ASSERT_EQ(mci("seek tape2 to start"), "");

  ASSERT_EQ(mci("record tape2"), "");
  mcitest::run_ms(200);
  EXPECT_EQ(mci("status tape2 position"), "200") << "the position follows the take";
  EXPECT_EQ(mci("status tape2 length"), "500");
  ASSERT_EQ(mci("stop tape2"), "");
  EXPECT_EQ(mci("status tape2 length"), "500") << "a shorter take keeps the length";

  ASSERT_EQ(mci("seek tape2 to 300"), "");
  take(400);
  EXPECT_EQ(mci("status tape2 length"), "700") << "a take past the end grows it";
  EXPECT_EQ(mci("status tape2 position"), "700");
}

// A known tone from the test input, saved: the file's format, rate, length and
// tone are what was asked and heard.
TEST_F(TapeRecording, ASavedRecordingHoldsTheToneInTheFormatAsked) {
  open_new(22050, 16, 1);
  take(1000);
  const std::string saved = home_.file("tone.wav");
  ASSERT_EQ(mci("save tape2 \"" + saved + "\""), "");
  const SF_INFO info = info_of(saved);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  EXPECT_EQ(info.samplerate, 22050);
  EXPECT_EQ(info.channels, 1);
  EXPECT_NEAR(static_cast<double>(info.frames), 22050.0, kBlock / 2.0);
  const auto samples = audio_test::read_all(saved);
  const std::vector<float> middle(samples.begin() + 1000, samples.end() - 1000);
  EXPECT_NEAR(audio_test::tone_level(middle, 1, 0, 22050, kInputTone), 0.5, 0.01);
  EXPECT_LT(audio_test::tone_level(middle, 1, 0, 22050, kInputTone * 1.5), 0.01) << "and no other";
}

// A file opened into the device records over its own sound; the file changes
// only when a save replaces it, and saving over it is safe.
TEST_F(TapeRecording, AnOpenedFileRecordsAndIsUntouchedUntilSaved) {
  const std::string path = mcitest::write_sine_wav(home_.file("song.wav"), 1.0, 22050, 1, 16);
  const std::string original = contents(path);
  ASSERT_EQ(mci_error("open \"" + path + "\" type waveaudio alias tape2"), 0u);
  EXPECT_EQ(mci("capability tape2 can record"), "true");
  ASSERT_EQ(mci("seek tape2 to 500"), "");
  take(300);
  EXPECT_EQ(mci("status tape2 length"), "1000");
  EXPECT_EQ(mci("status tape2 position"), "800");
  EXPECT_EQ(contents(path), original);

  ASSERT_EQ(mci("save tape2 \"" + path + "\""), "");
  const SF_INFO info = info_of(path);
  EXPECT_EQ(info.samplerate, 22050);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.frames, 22050);
  const auto samples = audio_test::read_all(path);
  const std::vector<float> kept(samples.begin(), samples.begin() + 11000);
  const std::vector<float> taken(samples.begin() + 11100, samples.begin() + 17500);
  const std::vector<float> after(samples.begin() + 17700, samples.end());
  EXPECT_NEAR(audio_test::tone_level(kept, 1, 0, 22050, kFileTone), 0.5, 0.02);
  EXPECT_NEAR(audio_test::tone_level(taken, 1, 0, 22050, kInputTone), 0.5, 0.02);
  EXPECT_NEAR(audio_test::tone_level(after, 1, 0, 22050, kFileTone), 0.5, 0.02);
  EXPECT_EQ(mci("play tape2 from 0 wait"), "") << "the device plays on from its own copy";
}

// With the rack's own output as the source, what a deck plays is recorded.
TEST_F(TapeRecording, TheRacksOwnOutputRecordsAPlayingFile) {
  EnvOverride source("QUORVIN_RECORD_SOURCE", "rack");
  const std::string path = mcitest::write_sine_wav(home_.file("deck1.wav"), 2.0, 44100, 2, 16);
  ASSERT_EQ(mci_error("open \"" + path + "\" type waveaudio alias tape1"), 0u);
  open_new(44100, 16, 2);
  ASSERT_EQ(mci("play tape1"), "");
  take(1000);
  const std::string saved = home_.file("recorded.wav");
  ASSERT_EQ(mci("save tape2 \"" + saved + "\""), "");
  const auto samples = audio_test::read_all(saved);
  ASSERT_NEAR(static_cast<double>(samples.size()) / 2, 44100.0, kBlock);
  const std::vector<float> middle(samples.begin() + 2 * kBlock, samples.end() - 2 * kBlock);
  EXPECT_NEAR(audio_test::tone_level(middle, 2, 0, 44100, kFileTone), 0.5, 0.02);
  EXPECT_LT(audio_test::tone_level(middle, 2, 0, 44100, kInputTone), 0.01) << "not the capture device";
}

class RecordingWithoutCaptureDevice : public mcitest::MciTest {};

// The capture device is chosen and there is none: Record says which device is
// missing and nothing changes: no take, no temporary file, the file untouched.
TEST_F(RecordingWithoutCaptureDevice, RecordFailsNamingTheDeviceAndChangesNothing) {
  EnvOverride source("QUORVIN_RECORD_SOURCE", "capture");
  ASSERT_EQ(mci_error("open new type waveaudio alias tape2 buffer 4"), 0u);
  const MCIERROR err = mci_error("record tape2");
  EXPECT_EQ(err, MCIERR_NO_RECORDING_DEVICE);
  EXPECT_NE(mcitest::error_text(err).find("capture device"), std::string::npos) << mcitest::error_text(err);
  EXPECT_EQ(mci("status tape2 mode"), "stopped");
  EXPECT_EQ(mci("status tape2 length"), "0");
  std::error_code ec;
  EXPECT_EQ(fs::directory_iterator(audio::recordings_folder(), ec), fs::directory_iterator());

  const std::string path = mcitest::write_sine_wav(home_.file("song.wav"), 0.5, 22050, 1, 16);
  ASSERT_EQ(mci_error("open \"" + path + "\" type waveaudio alias tape1"), 0u);
  ASSERT_EQ(mci("seek tape1 to 200"), "");
  EXPECT_EQ(mci_error("record tape1"), MCIERR_NO_RECORDING_DEVICE);
  EXPECT_EQ(mci("status tape1 position"), "200");
  EXPECT_EQ(fs::directory_iterator(audio::recordings_folder(), ec), fs::directory_iterator());
}

// A disk that fills ends the take at once, keeps what fitted and says so.
TEST_F(TapeRecording, AFullDiskEndsTheTakeAndTheDeviceSaysSo) {
  open_new(44100, 16, 2);
  {
    FileSizeLimit limit(64 * 1024);
    ASSERT_EQ(mci("record tape2 notify"), "");
    mcitest::run_ms(1000);
    EXPECT_EQ(mci("status tape2 mode"), "stopped");
    const auto notices = take_notices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].code, MCI_NOTIFY_FAILURE);
    EXPECT_EQ(mci_error("stop tape2"), MCIERR_FILE_WRITE);
    EXPECT_EQ(mci_error("stop tape2"), 0u) << "said once";
  }
  const long length = number(mci("status tape2 length"));
  EXPECT_GT(length, 300);
  EXPECT_LT(length, 380);  // 64 KiB hold 371 ms
  EXPECT_EQ(mci("status tape2 position"), std::to_string(length));
  const std::string saved = home_.file("fitted.wav");
  ASSERT_EQ(mci("save tape2 \"" + saved + "\""), "");
  EXPECT_NEAR(static_cast<double>(info_of(saved).frames) * 1000 / 44100, length, 1.0);
}

// A recording device that stops delivering (unplugged) ends the take as a full
// disk does: what came before is kept, the stop says why once, and the next
// take records again.
TEST_F(TapeRecording, ARecordingDeviceThatStopsEndsTheTakeAndTheDeviceSaysSo) {
  open_new(44100, 16, 2);
  ASSERT_EQ(mci("record tape2 notify"), "");
  mcitest::run_ms(300);
  audio::fail_input_for_testing();
  mcitest::run_ms(300);
  EXPECT_EQ(mci("status tape2 mode"), "stopped");
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_FAILURE);
  EXPECT_EQ(mci_error("stop tape2"), MCIERR_RECORDING_DEVICE_FAILED);
  EXPECT_EQ(mci_error("stop tape2"), 0u) << "said once";
  const long length = number(mci("status tape2 length"));
  EXPECT_NEAR(length, 300, 1000.0 * kBlock / audio::kEngineRate);
  EXPECT_EQ(mci("status tape2 position"), std::to_string(length));

  take(200);
  EXPECT_NEAR(number(mci("status tape2 length")), length + 200, 1000.0 * kBlock / audio::kEngineRate);
}

// "load" takes a recording a crashed rack left behind; it stays unsaved in the
// device, which deletes it when closed. One another device holds is refused.
TEST_F(TapeRecording, ALeftBehindRecordingLoadsAndGoesWhenClosed) {
  fs::create_directories(audio::recordings_folder());
  const std::string orphan = audio::recordings_folder() + "/recording-1-1.wav";
  audio_test::write_sine(orphan, 22050, 1, 0.75, kFileTone);
  ASSERT_EQ(mci_error("open new type waveaudio alias tape2 buffer 4"), 0u);
  ASSERT_EQ(mci("load tape2 \"" + orphan + "\""), "");
  EXPECT_EQ(mci("status tape2 length"), "750");
  EXPECT_EQ(mci("status tape2 samplespersec"), "22050");
  ASSERT_EQ(mci_error("open new type waveaudio alias other buffer 4"), 0u);
  EXPECT_EQ(mci_error("load other \"" + orphan + "\""), MCIERR_FILE_READ);
  EXPECT_EQ(mci_error("load other"), MCIERR_MISSING_STRING_ARGUMENT);
  ASSERT_EQ(mci("close tape2"), "");
  EXPECT_FALSE(fs::exists(orphan));
}

}  // namespace
