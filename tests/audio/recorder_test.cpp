#include "platform/audio/recorder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "child_process.h"
#include "engine_fixture.h"
#include "media.h"
#include "platform/audio/wave_file.h"

namespace audio_test {
namespace {

namespace fs = std::filesystem;
constexpr double kTone = 1000.0;

// The input "hears" a steady 1 kHz tone of amplitude 0.5, left and right alike.
void install_tone_input() {
  auto index = std::make_shared<std::uint64_t>(0);
  audio::set_test_input([index](float* stereo, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) stereo[2 * i] = stereo[2 * i + 1] = sine_sample(kTone, 44100, (*index)++);
  });
}

SF_INFO file_info(const std::string& path) {
  SF_INFO info{};
  if (SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info)) sf_close(f);
  return info;
}

class RecorderTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    install_tone_input();
  }
};

TEST_F(RecorderTest, RecordsOneSecondSavesItAndTheFileHoldsTheTone) {
  audio::Recorder rec;
  std::string error;
  ASSERT_TRUE(rec.create({22050, 1, 16}, "", &error)) << error;
  EXPECT_EQ(fs::path(rec.temp_path()).parent_path(), fs::path(home_.file("recordings")))
      << "the temporary file lives with the settings";
  ASSERT_TRUE(rec.record(0, &error)) << error;
  EXPECT_TRUE(rec.recording());
  EXPECT_EQ(audio::run_fast(44100), 44100u) << "a running capture keeps the fast device going";
  rec.stop();
  EXPECT_FALSE(rec.recording());
  EXPECT_NEAR(static_cast<double>(rec.frames()), 22050.0, 2.0);

  const auto saved = home_.file("take.wav");
  ASSERT_TRUE(rec.save(saved, &error)) << error;
  const SF_INFO info = file_info(saved);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  EXPECT_EQ(info.samplerate, 22050);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(static_cast<std::uint64_t>(info.frames), rec.frames());
  const auto samples = read_all(saved);
  const std::vector<float> middle(samples.begin() + 1000, samples.end() - 1000);
  EXPECT_NEAR(tone_level(middle, 1, 0, 22050, kTone), 0.5, 0.01);
  EXPECT_NEAR(rms(middle, 1, 0), 0.5 / std::sqrt(2.0), 0.01) << "the tone and nothing else";
  EXPECT_FALSE(fs::exists(saved + ".partial"));
}

TEST_F(RecorderTest, AtTheEngineRateTheSamplesAreThoseHeard) {
  audio::Recorder rec;
  std::string error;
  ASSERT_TRUE(rec.create({44100, 2, 16}, home_.file("rec.wav"), &error)) << error;
  ASSERT_TRUE(rec.record(0, &error)) << error;
  audio::run_fast(10000);
  rec.stop();
  int channels = 0;
  const auto samples = read_all(rec.temp_path(), &channels);
  ASSERT_EQ(channels, 2);
  ASSERT_EQ(samples.size(), 2u * 10000);
  for (std::size_t i = 0; i < 10000; i += 37) {
    EXPECT_NEAR(samples[2 * i], sine_sample(kTone, 44100, i), 1.0 / 32768) << i;
    EXPECT_EQ(samples[2 * i + 1], samples[2 * i]);
  }
}

// A tape: each take starts where it is told and overwrites; the length is the
// furthest any take reached.
TEST_F(RecorderTest, TakesOverwriteFromWhereTheyStartAndEightBitsSaveAsUnsigned) {
  audio::Recorder rec;
  std::string error;
  ASSERT_TRUE(rec.create({11025, 2, 8}, "", &error)) << error;
  ASSERT_TRUE(rec.record(0, &error)) << error;
  audio::run_fast(44100 / 2);
  rec.stop();
  const auto first = rec.frames();
  EXPECT_NEAR(static_cast<double>(first), 11025.0 / 2, 2.0);
  EXPECT_EQ(rec.head(), first);

  audio::set_test_input([](float* stereo, std::size_t frames) { std::fill(stereo, stereo + 2 * frames, -0.5f); });
  ASSERT_TRUE(rec.record(0, &error)) << error;
  audio::run_fast(44100 / 4);
  rec.stop();
  EXPECT_EQ(rec.frames(), first) << "a shorter take from the start keeps the length";
  const auto second_end = rec.head();
  EXPECT_NEAR(static_cast<double>(second_end), 11025.0 / 4, 2.0);
  const auto samples = read_all(rec.temp_path());
  ASSERT_EQ(samples.size(), 2 * first);
  EXPECT_NEAR(samples[2 * (second_end - 100)], -0.5, 0.01) << "the new take";
  EXPECT_GT(tone_level({samples.begin() + 2 * (second_end + 200), samples.end()}, 2, 0, 11025, kTone), 0.4)
      << "the old take after it";

  ASSERT_TRUE(rec.record(rec.frames() - 100, &error)) << error;
  audio::run_fast(44100 / 4);
  rec.stop();
  EXPECT_NEAR(static_cast<double>(rec.frames()), first - 100 + 11025.0 / 4, 2.0) << "a take past the end grows it";
  const auto saved = home_.file("eight.wav");
  ASSERT_TRUE(rec.save(saved, &error)) << error;
  const SF_INFO info = file_info(saved);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_U8);
  EXPECT_EQ(static_cast<std::uint64_t>(info.frames), rec.frames());
}

TEST_F(RecorderTest, TheRecordingPlaysBackThroughTheEngine) {
  audio::Recorder rec;
  std::string error;
  ASSERT_TRUE(rec.create({22050, 2, 16}, "", &error)) << error;
  ASSERT_TRUE(rec.record(0, &error)) << error;
  audio::run_fast(44100);
  rec.stop();
  auto producer = rec.make_producer(0, audio::kToEnd, &error);
  ASSERT_TRUE(producer) << error;
  Capture out;
  out.install();
  Ends ends;
  const auto v = audio::voice_create(audio::Line::Wave);
  audio::voice_play(v, producer, ends.callback());
  audio::run_fast(1'000'000);
  EXPECT_EQ(ends.reasons(), std::vector{audio::EndReason::Finished});
  EXPECT_NEAR(static_cast<double>(audio::voice_frames_played(v)), 44100.0, 4.0);
  const auto s = out.take();
  const std::vector<float> middle(s.begin() + 4000, s.begin() + 80000);
  EXPECT_NEAR(tone_level(middle, 2, 0, 44100, kTone), 0.5, 0.01);
}

TEST_F(RecorderTest, AFailedSaveSaysSoAndLeavesTheOldFile) {
  audio::Recorder rec;
  std::string error;
  EXPECT_FALSE(rec.save(home_.file("x.wav"), &error)) << "nothing recorded yet";
  ASSERT_TRUE(rec.create({44100, 2, 16}, "", &error)) << error;
  ASSERT_TRUE(rec.record(0, &error)) << error;
  audio::run_fast(4410);
  rec.stop();

  error.clear();
  EXPECT_FALSE(rec.save(home_.file("no/such/folder/x.wav"), &error));
  EXPECT_FALSE(error.empty());

  const auto folder = home_.file("a folder");
  fs::create_directory(folder);
  std::ofstream(folder + "/keep") << "kept";
  error.clear();
  EXPECT_FALSE(rec.save(folder, &error)) << "a folder cannot be replaced by a file";
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::exists(folder + "/keep"));
  EXPECT_FALSE(fs::exists(folder + ".partial"));

  const auto existing = home_.file("old.wav");
  std::ofstream(existing) << "old contents";
  ASSERT_TRUE(rec.save(existing, &error)) << error;
  EXPECT_EQ(file_info(existing).frames, 4410);
}

TEST_F(RecorderTest, SaveWorksWhileRecordingAndDiscardRemovesTheTemporaryFile) {
  audio::Recorder rec;
  std::string error;
  ASSERT_TRUE(rec.create({44100, 1, 16}, "", &error)) << error;
  ASSERT_TRUE(rec.record(0, &error)) << error;
  audio::run_fast(8192);
  ASSERT_TRUE(rec.save(home_.file("mid.wav"), &error)) << error;
  EXPECT_EQ(file_info(home_.file("mid.wav")).frames, 8192);
  EXPECT_TRUE(rec.recording());
  const std::string temp = rec.temp_path();
  rec.discard();
  EXPECT_FALSE(rec.recording());
  EXPECT_FALSE(fs::exists(temp));
  EXPECT_FALSE(rec.record(0, &error));
}

// A file size limit stands in for a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previous_handler_ = signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    signal(SIGXFSZ, previous_handler_);
  }

 private:
  rlimit previous_{};
  sighandler_t previous_handler_;
};

TEST_F(RecorderTest, AFullDiskKeepsWhatFittedAndAFailedSaveIsAnError) {
  audio::Recorder rec;
  std::string error;
  ASSERT_TRUE(rec.create({44100, 2, 16}, "", &error)) << error;
  std::uint64_t kept;
  {
    FileSizeLimit limit(64 * 1024);
    ASSERT_TRUE(rec.record(0, &error)) << error;
    audio::run_fast(44100);
    rec.stop();
    EXPECT_TRUE(rec.write_failed());
    kept = rec.frames();
    EXPECT_LT(kept, 64u * 1024 / 4);
    EXPECT_GT(kept, 60u * 1024 / 4);
  }
  {
    FileSizeLimit tighter(16 * 1024);
    EXPECT_FALSE(rec.save(home_.file("too big.wav"), &error)) << "the copy does not fit";
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(home_.file("too big.wav")));
    EXPECT_FALSE(fs::exists(home_.file("too big.wav.partial")));
  }
  EXPECT_EQ(file_info(rec.temp_path()).frames, static_cast<sf_count_t>(kept)) << "the recording stays valid";
  ASSERT_TRUE(rec.save(home_.file("fits.wav"), &error)) << error;
  EXPECT_EQ(file_info(home_.file("fits.wav")).frames, static_cast<sf_count_t>(kept));
}

TEST_F(RecorderTest, AShutdownEndsTheRecordingAndRecordStartsItAgain) {
  audio::Recorder rec;
  std::string error;
  ASSERT_TRUE(rec.create({44100, 2, 16}, "", &error)) << error;
  ASSERT_TRUE(rec.record(0, &error)) << error;
  audio::run_fast(4096);
  audio::shutdown();
  EXPECT_FALSE(rec.recording());
  EXPECT_EQ(rec.frames(), 4096u) << "what was captured before the shutdown is kept";
  audio::start({"fast", ""});
  ASSERT_TRUE(rec.record(rec.head(), &error)) << error;
  EXPECT_TRUE(rec.recording());
  audio::run_fast(4096);
  rec.stop();
  EXPECT_EQ(rec.frames(), 8192u);
}

TEST_F(RecorderTest, UnsupportedFormatsAreRefused) {
  audio::Recorder rec;
  std::string error;
  EXPECT_FALSE(rec.create({44100, 3, 16}, "", &error));
  EXPECT_FALSE(rec.create({44100, 2, 12}, "", &error));
  EXPECT_FALSE(rec.create({500, 2, 16}, "", &error));
  EXPECT_EQ(error, "The recording format is not supported.");
  EXPECT_FALSE(rec.create({44100, 2, 16}, home_.file("no/folder/r.wav"), &error));
}

// Runs only inside the child process of the crash test below.
TEST(RecorderCrash, ChildRecordsUntilKilled) {
  const char* path = std::getenv("QUORVIN_RECORDER_CHILD");
  if (!path) GTEST_SKIP() << "the crash test's child process";
  audio::shutdown();
  audio::start({"null", "null"});
  install_tone_input();
  audio::Recorder rec;
  std::string error;
  ASSERT_TRUE(rec.create({44100, 2, 16}, path, &error)) << error;
  ASSERT_TRUE(rec.record(0, &error)) << error;
  std::this_thread::sleep_for(std::chrono::seconds(60));
}

TEST(RecorderCrash, AKilledRecordingLeavesAValidFileUpToAboutTheLastSecond) {
  if (std::getenv("QUORVIN_RECORDER_CHILD")) GTEST_SKIP();
  TempHome home;
  const std::string path = home.file("crash.wav");
  const pid_t child = spawn_test("RecorderCrash.ChildRecordsUntilKilled", "QUORVIN_RECORDER_CHILD", path);
  ASSERT_GT(child, 0);
  const auto begin = std::chrono::steady_clock::now();
  while (!fs::exists(path) && std::chrono::steady_clock::now() - begin < std::chrono::seconds(20))
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto started = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  const double recorded_for = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;

  const SF_INFO info = file_info(path);
  ASSERT_EQ(info.channels, 2) << "the file must open as a wave";
  const double seconds = static_cast<double>(info.frames) / 44100.0;
  EXPECT_GT(seconds, recorded_for - 1.6) << "more than about a second was lost";
  EXPECT_LE(seconds, recorded_for + 0.1);
  const auto samples = read_all(path);
  ASSERT_EQ(samples.size(), 2u * static_cast<std::size_t>(info.frames));
  const std::vector<float> tail(samples.end() - 2 * 4410, samples.end());
  EXPECT_NEAR(tone_level(tail, 2, 0, 44100, kTone), 0.5, 0.02) << "the frames the header covers are real";
}

}  // namespace
}  // namespace audio_test
