// The waveaudio device: sine WAVs the tests write, and new recordings made from
// the engine's test input, as the wave decks drive them.
#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "media_files.h"
#include "mci_fixture.h"
#include "platform/audio/engine.h"

namespace {

using mcitest::mci;
using mcitest::mci_error;
using mcitest::take_notices;

class WaveAudio : public mcitest::MciTest {
 protected:
  std::string open_sine(const std::string& alias, double seconds, int rate, int channels, int bits) {
    const std::string path = mcitest::write_sine_wav(home_.file(alias + " sine.wav"), seconds, rate, channels, bits);
    EXPECT_EQ(mci_error("open \"" + path + "\" type waveaudio alias " + alias), 0u);
    EXPECT_EQ(mci("set " + alias + " time format milliseconds"), "");
    return path;
  }
};

TEST_F(WaveAudio, StatusItemsComeFromTheFile) {
  open_sine("tape1", 1.5, 22050, 1, 16);
  EXPECT_EQ(mci("status tape1 channels"), "1");
  EXPECT_EQ(mci("status tape1 samplespersec"), "22050");
  EXPECT_EQ(mci("status tape1 bytespersec"), "44100");
  EXPECT_EQ(mci("status tape1 bitspersample"), "16");
  EXPECT_EQ(mci("status tape1 alignment"), "2");
  EXPECT_EQ(mci("status tape1 length"), "1500");
  EXPECT_EQ(mci("status tape1 position"), "0");
  open_sine("tape2", 0.25, 11025, 2, 8);
  EXPECT_EQ(mci("status tape2 channels"), "2");
  EXPECT_EQ(mci("status tape2 samplespersec"), "11025");
  EXPECT_EQ(mci("status tape2 bytespersec"), "22050");
  EXPECT_EQ(mci("status tape2 bitspersample"), "8");
  EXPECT_EQ(mci("status tape2 length"), "250");
}

TEST_F(WaveAudio, PlayRunsToTheEndAndIsHeard) {
  open_sine("tape1", 0.5, 48000, 2, 16);
  float peak = 0;
  audio::set_output_tap([&peak](const float* stereo, std::size_t frames) {
    for (std::size_t i = 0; i < frames * 2; ++i) peak = std::max(peak, std::fabs(stereo[i]));
  });
  ASSERT_EQ(mci("play tape1 notify"), "");
  mcitest::run_to_idle();
  audio::set_output_tap(nullptr);
  EXPECT_GT(peak, 0.1f);
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(static_cast<MCIDEVICEID>(notices[0].device), mciGetDeviceIDA("tape1"));
  EXPECT_EQ(mci("status tape1 position"), "500");
  EXPECT_EQ(mci("status tape1 mode"), "stopped");
}

TEST_F(WaveAudio, WaitBlocksUntilTheEnd) {
  open_sine("w", 0.3, 44100, 1, 16);
  EXPECT_EQ(mci("play w wait"), "");
  EXPECT_EQ(mci("status w position"), "300");
  EXPECT_EQ(mci("status w mode"), "stopped");
}

TEST_F(WaveAudio, TwoDecksPlayTogetherAndEndSeparately) {
  open_sine("tape1", 0.2, 44100, 1, 16);
  open_sine("tape2", 0.6, 44100, 1, 16);
  ASSERT_EQ(mci("play tape1 notify"), "");
  ASSERT_EQ(mci("play tape2 notify"), "");
  mcitest::run_ms(400);
  auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(static_cast<MCIDEVICEID>(notices[0].device), mciGetDeviceIDA("tape1"));
  EXPECT_EQ(mci("status tape2 mode"), "playing");
  mcitest::run_to_idle();
  notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(static_cast<MCIDEVICEID>(notices[0].device), mciGetDeviceIDA("tape2"));
}

TEST_F(WaveAudio, ANewerPlaySupersedesAndStopAborts) {
  open_sine("tape1", 1.0, 44100, 1, 16);
  ASSERT_EQ(mci("play tape1 notify"), "");
  mcitest::run_ms(100);
  ASSERT_EQ(mci("play tape1 from 0 notify"), "");
  mcitest::run_ms(100);
  ASSERT_EQ(mci("stop tape1"), "");
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUPERSEDED);
  EXPECT_EQ(notices[1].code, MCI_NOTIFY_ABORTED);
  const long at = std::stol(mci("status tape1 position"));
  EXPECT_GE(at, 50);
  EXPECT_LE(at, 150);
}

TEST_F(WaveAudio, PlayWhilePlayingKeepsPlayingAndHandsOverTheNotification) {
  open_sine("tape1", 0.5, 44100, 1, 16);
  ASSERT_EQ(mci("play tape1 notify"), "");
  mcitest::run_ms(100);
  ASSERT_EQ(mci("play tape1 notify"), "");
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUPERSEDED);
  EXPECT_EQ(notices[1].code, MCI_NOTIFY_SUCCESSFUL);
}

// The deck matches an end notification by identifier. One still queued for a
// closed device must not name the file opened next under the same alias.
TEST_F(WaveAudio, AnEndQueuedForAClosedDeviceDoesNotNameTheNextOne) {
  open_sine("tape1", 0.2, 44100, 1, 16);
  ASSERT_EQ(mci("play tape1 notify"), "");
  mcitest::run_to_idle();
  ASSERT_EQ(mci("close tape1"), "");
  const auto queued = take_notices();
  ASSERT_EQ(queued.size(), 1u);
  ASSERT_EQ(queued[0].code, MCI_NOTIFY_SUCCESSFUL);
  open_sine("tape1", 1.0, 44100, 1, 16);
  ASSERT_EQ(mci("play tape1 notify"), "");
  EXPECT_NE(static_cast<MCIDEVICEID>(LOWORD(queued[0].device)), mciGetDeviceIDA("tape1"));
  EXPECT_EQ(mci("status tape1 mode"), "playing");
}

TEST_F(WaveAudio, CorruptMissingAndOddFiles) {
  const std::string text = mcitest::write_text_file(home_.file("text.wav"), "just some text, not a sound");
  EXPECT_EQ(mci_error("open \"" + text + "\" type waveaudio alias tape1"), MCIERR_INVALID_FILE);
  const std::string empty = mcitest::write_text_file(home_.file("empty.wav"), "");
  EXPECT_EQ(mci_error("open \"" + empty + "\" type waveaudio alias tape1"), MCIERR_INVALID_FILE);
  EXPECT_EQ(mci_error("open \"" + home_.file("nope.wav") + "\" type waveaudio alias tape1"), MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(mciGetDeviceIDA("tape1"), 0u);
  // A path with blanks, quotes kept out, upper-case extension, no type given.
  const std::string odd = mcitest::write_sine_wav(home_.file("my  odd name.WAV"), 0.1, 8000, 1, 16);
  EXPECT_EQ(mci_error("open \"" + odd + "\" alias odd"), 0u);
  EXPECT_EQ(mci("status odd length"), "100");
}

// A PCM WAV of `frames` silent frames: the header by hand, the data a hole in
// the file (no disk space), so that any rate and length can be had at once.
std::string write_silent_wav(const std::string& path, std::uint32_t rate, int channels, int bits,
                             std::uint32_t frames) {
  const std::uint32_t align = static_cast<std::uint32_t>(channels * bits / 8);
  const std::uint32_t data = frames * align;
  std::string header = "RIFF";
  auto le = [&header](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) header.push_back(static_cast<char>(value >> (8 * i) & 0xff));
  };
  le(36 + data, 4);
  header += "WAVEfmt ";
  le(16, 4), le(1, 2), le(static_cast<std::uint32_t>(channels), 2), le(rate, 4);
  le(static_cast<std::uint32_t>(std::uint64_t{rate} * align), 4), le(align, 2), le(static_cast<std::uint32_t>(bits), 2);
  header += "data";
  le(data, 4);
  std::ofstream(path, std::ios::binary) << header;
  std::filesystem::resize_file(path, header.size() + data);
  return path;
}

// Replies are 32-bit; a time or rate past that answers the largest value, never a wrapped one.
TEST_F(WaveAudio, TimesAndRatesPastThirtyTwoBitsAnswerTheLargestValue) {
  // 5,000,000 s: 5e9 ms would wrap to 705032704.
  const std::string slow = write_silent_wav(home_.file("slow.wav"), 1, 1, 8, 5'000'000);
  ASSERT_EQ(mci_error("open \"" + slow + "\" type waveaudio alias tape1"), 0u);
  ASSERT_EQ(mci("set tape1 time format milliseconds"), "");
  EXPECT_EQ(mci("status tape1 length"), "4294967295");
  EXPECT_EQ(mci("seek tape1 to end"), "");
  EXPECT_EQ(mci("status tape1 position"), "4294967295");
  EXPECT_EQ(mci("seek tape1 to 4000000000"), "");
  EXPECT_EQ(mci("status tape1 position"), "4000000000") << "below the limit positions stay exact";

  // 4 bytes a frame at 2^30 frames a second is 2^32 bytes a second.
  const std::string fast = write_silent_wav(home_.file("fast.wav"), 1u << 30, 2, 16, 1000);
  ASSERT_EQ(mci_error("open \"" + fast + "\" type waveaudio alias tape2"), 0u);
  EXPECT_EQ(mci("status tape2 bytespersec"), "4294967295");
  EXPECT_EQ(mci("status tape2 length"), "0");
}

// A WAV file's format, as a saved recording must have it.
SF_INFO read_format(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file) sf_close(file);
  return info;
}

class Recording : public mcitest::MciTest {
 protected:
  void SetUp() override {
    MciTest::SetUp();
    audio::set_test_input([](float* stereo, std::size_t frames) {
      for (std::size_t i = 0; i < frames * 2; ++i) stereo[i] = 0.25f;
    });
    ASSERT_EQ(mci_error("open new type waveaudio alias tape2 buffer 4"), 0u);
    id_ = mciGetDeviceIDA("tape2");
  }
  void TearDown() override {
    MciTest::TearDown();
    audio::set_test_input(nullptr);
  }
  MCIERROR set_format(int rate, int bits, int channels) {
    MCI_WAVE_SET_PARMS parms{};
    parms.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    parms.wFormatTag = WAVE_FORMAT_PCM;
    parms.nChannels = static_cast<WORD>(channels);
    parms.nSamplesPerSec = static_cast<DWORD>(rate);
    parms.nAvgBytesPerSec = static_cast<DWORD>(bits / 8 * rate * channels);
    parms.nBlockAlign = static_cast<WORD>(bits * channels / 8);
    parms.wBitsPerSample = static_cast<WORD>(bits);
    return mciSendCommandA(id_, MCI_SET,
                           MCI_SET_TIME_FORMAT | MCI_WAVE_SET_CHANNELS | MCI_WAVE_SET_SAMPLESPERSEC |
                               MCI_WAVE_SET_AVGBYTESPERSEC | MCI_WAVE_SET_BLOCKALIGN | MCI_WAVE_SET_BITSPERSAMPLE,
                           reinterpret_cast<DWORD_PTR>(&parms));
  }
  void record_ms(std::uint32_t ms) {
    ASSERT_EQ(mci("record tape2"), "");
    EXPECT_EQ(mci("status tape2 mode"), "recording");
    mcitest::run_ms(ms);
    ASSERT_EQ(mci("stop tape2"), "");
  }
  MCIDEVICEID id_ = 0;
};

TEST_F(Recording, NewRecordingTakesTheFormatItIsGiven) {
  ASSERT_EQ(set_format(22050, 16, 1), 0u);
  EXPECT_EQ(mci("status tape2 samplespersec"), "22050");
  EXPECT_EQ(mci("status tape2 channels"), "1");
  EXPECT_EQ(mci("status tape2 bitspersample"), "16");
  EXPECT_EQ(mci("status tape2 bytespersec"), "44100");
  EXPECT_EQ(mci("status tape2 length"), "0");
  EXPECT_EQ(set_format(44100, 12, 2), MCIERR_OUTOFRANGE);
  EXPECT_EQ(set_format(44100, 16, 3), MCIERR_OUTOFRANGE);
  EXPECT_EQ(mci("status tape2 samplespersec"), "22050");  // a refused format changes nothing
}

TEST_F(Recording, RecordStopPlayAndSave) {
  ASSERT_EQ(set_format(44100, 16, 2), 0u);
  record_ms(500);
  EXPECT_EQ(mci("seek tape2 to start"), "");
  const long length = std::stol(mci("status tape2 length"));
  EXPECT_GE(length, 300);
  EXPECT_LE(length, 700);
  EXPECT_EQ(mci("status tape2 mode"), "stopped");
  ASSERT_EQ(mci("play tape2 notify"), "");
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(mci("status tape2 position"), std::to_string(length));

  const std::string saved = home_.file("my recording.wav");
  ASSERT_EQ(mci("save tape2 \"" + saved + "\""), "");
  const SF_INFO info = read_format(saved);
  EXPECT_EQ(info.samplerate, 44100);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_16);
  EXPECT_NEAR(static_cast<double>(info.frames) * 1000 / 44100, length, 2);
}

TEST_F(Recording, ASaveThatCannotBeWrittenIsAnError) {
  record_ms(100);
  EXPECT_EQ(mci_error("save tape2 \"" + home_.file("no such folder/x.wav") + "\""), MCIERR_FILE_NOT_SAVED);
  EXPECT_EQ(mci_error("save tape2"), MCIERR_MISSING_STRING_ARGUMENT);
  // The recording is still there to save elsewhere.
  EXPECT_EQ(mci("save tape2 \"" + home_.file("ok.wav") + "\""), "");
  EXPECT_TRUE(std::filesystem::exists(home_.file("ok.wav")));
}

TEST_F(Recording, FormatIsFixedOnceSomethingIsRecorded) {
  ASSERT_EQ(set_format(11025, 8, 1), 0u);
  record_ms(100);
  EXPECT_EQ(set_format(44100, 16, 2), MCIERR_NONAPPLICABLE_FUNCTION);
  EXPECT_EQ(mci("status tape2 samplespersec"), "11025");
}

TEST_F(Recording, PlayingAnEmptyRecordingEndsAtOnce) {
  ASSERT_EQ(mci("play tape2 notify"), "");
  EXPECT_EQ(mci("status tape2 mode"), "stopped");
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
}

}  // namespace
