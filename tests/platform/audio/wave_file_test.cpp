#include "platform/audio/wave_file.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <fstream>

#include "media.h"
#include "support/temp_home.h"

namespace audio_test {
namespace {

namespace fs = std::filesystem;

std::size_t play_all(audio::Producer& p, std::vector<float>* out = nullptr) {
  std::vector<float> buf(2 * 4096);
  std::size_t total = 0;
  for (;;) {
    const std::size_t n = p(buf.data(), 4096);
    if (out) out->insert(out->end(), buf.begin(), buf.begin() + 2 * n);
    total += n;
    if (n < 4096) return total;
  }
}

void cut(const std::string& path, std::uintmax_t size) { fs::resize_file(path, size); }

class WaveFile : public ::testing::Test {
 protected:
  TempHome home_;
};

TEST_F(WaveFile, ReportsTheFormatOfAPcmWave) {
  const auto path = home_.file("s.wav");
  write_sine(path, 44100, 2, 1.5, 440);
  audio::WaveInfo info;
  std::string error;
  ASSERT_TRUE(audio::wave_file_info(path, &info, &error)) << error;
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.samples_per_sec, 44100);
  EXPECT_EQ(info.bits_per_sample, 16);
  EXPECT_EQ(info.block_align, 4);
  EXPECT_EQ(info.avg_bytes_per_sec, 176400);
  EXPECT_EQ(info.frames, 66150u);
  EXPECT_EQ(info.length_ms, 1500u);
  EXPECT_EQ(info.format_name, "WAV");
}

TEST_F(WaveFile, ReportsEightBitMonoAndCompressedFormats) {
  const auto eight = home_.file("e.wav");
  write_sine(eight, 11025, 1, 2.0, 440, SF_FORMAT_WAV | SF_FORMAT_PCM_U8);
  audio::WaveInfo info;
  std::string error;
  ASSERT_TRUE(audio::wave_file_info(eight, &info, &error)) << error;
  EXPECT_EQ(info.bits_per_sample, 8);
  EXPECT_EQ(info.block_align, 1);
  EXPECT_EQ(info.avg_bytes_per_sec, 11025);
  EXPECT_EQ(info.length_ms, 2000u);

  const auto flac = home_.file("f.flac");
  write_sine(flac, 48000, 2, 1.0, 440, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
  ASSERT_TRUE(audio::wave_file_info(flac, &info, &error)) << error;
  EXPECT_EQ(info.format_name, "FLAC");
  EXPECT_EQ(info.bits_per_sample, 24);
  EXPECT_EQ(info.length_ms, 1000u);

  const auto ogg = home_.file("o.ogg");
  write_sine(ogg, 44100, 2, 1.0, 440, SF_FORMAT_OGG | SF_FORMAT_VORBIS);
  ASSERT_TRUE(audio::wave_file_info(ogg, &info, &error)) << error;
  EXPECT_EQ(info.frames, 44100u);
  auto p = audio::make_wave_producer(ogg, 0, audio::kToEnd, &error);
  ASSERT_TRUE(p) << error;
  std::vector<float> out;
  EXPECT_EQ(play_all(p, &out), 44100u);
  EXPECT_NEAR(tone_level(out, 2, 0, 44100, 440), 0.5, 0.05);
}

TEST_F(WaveFile, PlaysARangeOfFrames) {
  const auto path = home_.file("r.wav");
  write_sine(path, 44100, 1, 1.0, 100, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  std::string error;
  auto p = audio::make_wave_producer(path, 1000, 3000, &error);
  ASSERT_TRUE(p) << error;
  std::vector<float> out;
  ASSERT_EQ(play_all(p, &out), 2000u);
  for (std::size_t i = 0; i < 2000; i += 97) {
    EXPECT_EQ(out[2 * i], sine_sample(100, 44100, 1000 + i)) << "mono plays on the left";
    EXPECT_EQ(out[2 * i + 1], out[2 * i]) << "and on the right";
  }
  auto past = audio::make_wave_producer(path, 50000, audio::kToEnd, &error);
  ASSERT_TRUE(past);
  EXPECT_EQ(play_all(past), 0u) << "a start past the end plays nothing";
}

TEST_F(WaveFile, RejectsWhatIsNotSoundWithAPlainMessage) {
  const auto garbage = home_.file("garbage.wav");
  std::ofstream(garbage) << "this is not a sound file at all, only some text";
  const auto empty = home_.file("empty.wav");
  std::ofstream{empty};
  for (const auto& path : {garbage, empty}) {
    audio::WaveInfo info;
    std::string error;
    EXPECT_FALSE(audio::wave_file_info(path, &info, &error));
    EXPECT_EQ(error, "Format not recognised.");
    EXPECT_FALSE(audio::make_wave_producer(path, 0, audio::kToEnd, &error));
  }
  audio::WaveInfo info;
  std::string error;
  EXPECT_FALSE(audio::wave_file_info(home_.file("missing.wav"), &info, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(error.find("System error"), std::string::npos) << error;
}

TEST_F(WaveFile, AWaveCutInsideItsHeaderIsAnError) {
  const auto path = home_.file("h.wav");
  write_sine(path, 44100, 2, 0.1, 440);
  cut(path, 30);
  audio::WaveInfo info;
  std::string error;
  EXPECT_FALSE(audio::wave_file_info(path, &info, &error));
  EXPECT_FALSE(error.empty());
}

TEST_F(WaveFile, ATruncatedWavePlaysWhatIsThere) {
  const auto path = home_.file("t.wav");
  write_sine(path, 44100, 2, 1.0, 440);
  cut(path, 44 + 4 * 10000);
  std::string error;
  audio::WaveInfo info;
  ASSERT_TRUE(audio::wave_file_info(path, &info, &error)) << error;
  auto p = audio::make_wave_producer(path, 0, audio::kToEnd, &error);
  ASSERT_TRUE(p) << error;
  EXPECT_EQ(play_all(p), info.frames);
  EXPECT_LE(info.frames, 10000u);
}

TEST_F(WaveFile, ATruncatedFlacEndsEarlyWithoutHarm) {
  const auto path = home_.file("t.flac");
  write_sine(path, 22050, 2, 3.0, 440, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  cut(path, fs::file_size(path) / 2);
  std::string error;
  auto p = audio::make_wave_producer(path, 0, audio::kToEnd, &error);
  ASSERT_TRUE(p) << error;
  const std::size_t played = play_all(p);
  EXPECT_LT(played, 3u * 44100);
}

TEST_F(WaveFile, ATruncatedOggIsAnError) {
  const auto path = home_.file("t.ogg");
  write_sine(path, 44100, 2, 2.0, 440, SF_FORMAT_OGG | SF_FORMAT_VORBIS);
  cut(path, fs::file_size(path) / 2);
  audio::WaveInfo info;
  std::string error;
  EXPECT_FALSE(audio::wave_file_info(path, &info, &error));
  EXPECT_EQ(error, "The file is damaged or truncated.");
  EXPECT_FALSE(audio::make_wave_producer(path, 0, audio::kToEnd, &error));
}

TEST_F(WaveFile, RandomBytesAfterAValidHeaderDoNotCrash) {
  const auto path = home_.file("n.wav");
  write_sine(path, 44100, 2, 0.5, 440);
  {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(20);  // format tag, channels, rate...
    const char junk[] = "\x55\x13\xff\x7f\x00\x00\x00\x80\x01\x00\xff\xff";
    f.write(junk, sizeof junk - 1);
  }
  audio::WaveInfo info;
  std::string error;
  if (audio::wave_file_info(path, &info, &error)) {
    auto p = audio::make_wave_producer(path, 0, audio::kToEnd, &error);
    if (p) play_all(p);
  } else {
    EXPECT_FALSE(error.empty());
  }
}

struct Coded {
  const char* name;
  const char* file;
  int format;
  int rate;
};

class EveryFormat : public ::testing::TestWithParam<Coded> {
 protected:
  TempHome home_;
};

// Lossy coders add a little delay and padding, so their lengths are near, not exact.
TEST_P(EveryFormat, PlaysAtTheEngineRateForItsLength) {
  const Coded c = GetParam();
  const auto path = home_.file(c.file);
  write_sine(path, c.rate, 2, 2.0, 500, c.format);
  audio::WaveInfo info;
  std::string error;
  ASSERT_TRUE(audio::wave_file_info(path, &info, &error)) << error;
  EXPECT_EQ(info.samples_per_sec, c.rate);
  EXPECT_NEAR(info.length_ms, 2000.0, 60.0);
  auto p = audio::make_wave_producer(path, 0, audio::kToEnd, &error);
  ASSERT_TRUE(p) << error;
  std::vector<float> out;
  EXPECT_NEAR(static_cast<double>(play_all(p, &out)), 2.0 * 44100, 0.03 * 44100);
  const std::vector<float> middle(out.begin() + 2 * 8820, out.begin() + 2 * 70560);
  EXPECT_NEAR(tone_level(middle, 2, 1, 44100, 500), 0.5, 0.03);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, EveryFormat,
    ::testing::Values(Coded{"Wav24", "a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 96000},
                      Coded{"WavFloat", "b.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100},
                      Coded{"Aiff", "c.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 22050},
                      Coded{"Flac", "d.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 48000},
                      Coded{"Vorbis", "e.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 32000},
                      Coded{"Opus", "f.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000},
                      Coded{"Mp3", "g.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100}),
    [](const ::testing::TestParamInfo<Coded>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace audio_test
