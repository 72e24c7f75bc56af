#include "platform/audio/recorder.h"

#include <gtest/gtest.h>
#include <signal.h>
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
#include "support/file_size_limit.h"

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

  ASSERT_TRUE(rec.record(0, &error)) << error;
  audio::run_fast(44100 / 4);
  rec.stop();
  EXPECT_EQ(rec.frames(), first) << "a shorter take from the start keeps the length";
  EXPECT_NEAR(static_cast<double>(rec.head()), 11025.0 / 4, 2.0);

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
  EXPECT_FALSE(rec.save(rec.temp_path(), &error)) << "the recording's own file";
  EXPECT_EQ(file_info(rec.temp_path()).frames, 4410);
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

// Runs only inside the child process of the crash test below: records into the
// recordings folder of the settings folder it inherits.
TEST(RecorderCrash, ChildRecordsUntilKilled) {
  if (!std::getenv("QUORVIN_RECORDER_CHILD")) GTEST_SKIP() << "the crash test's child process";
  audio::shutdown();
  audio::start({"null", "null"});
  install_tone_input();
  audio::Recorder rec;
  std::string error;
  ASSERT_TRUE(rec.create({44100, 2, 16}, "", &error)) << error;
  ASSERT_TRUE(rec.record(0, &error)) << error;
  std::this_thread::sleep_for(std::chrono::seconds(60));
}

std::vector<std::string> recordings_on_disk() {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(audio::recordings_folder(), ec))
    if (entry.path().filename().string()[0] != '.') found.push_back(entry.path().string());
  return found;
}

TEST(RecorderCrash, AKilledRecordingIsOfferedWhileALiveOneIsNot) {
  if (std::getenv("QUORVIN_RECORDER_CHILD")) GTEST_SKIP();
  TempHome home;
  const pid_t child = spawn_test("RecorderCrash.ChildRecordsUntilKilled", "QUORVIN_RECORDER_CHILD", "1");
  ASSERT_GT(child, 0);
  const auto begin = std::chrono::steady_clock::now();
  while (recordings_on_disk().empty() && std::chrono::steady_clock::now() - begin < std::chrono::seconds(20))
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto started = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  ASSERT_EQ(recordings_on_disk().size(), 1u);
  const std::string path = recordings_on_disk()[0];
  EXPECT_TRUE(audio::orphaned_recordings().empty()) << "the running rack holds its recording";
  std::string error;
  EXPECT_FALSE(audio::delete_orphaned_recording(path, &error));
  audio::Recorder thief;
  EXPECT_FALSE(thief.adopt(path, &error));
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  const double recorded_for = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;

  const auto orphans = audio::orphaned_recordings();
  ASSERT_EQ(orphans.size(), 1u);
  EXPECT_EQ(orphans[0].path, path);
  EXPECT_EQ(orphans[0].format.samples_per_sec, 44100);
  EXPECT_EQ(orphans[0].format.channels, 2);
  EXPECT_EQ(orphans[0].format.bits_per_sample, 16);
  const double seconds = static_cast<double>(orphans[0].frames) / 44100.0;
  EXPECT_GT(seconds, recorded_for - 1.6) << "more than about a second was lost";
  EXPECT_LE(seconds, recorded_for + 0.1);

  // Loaded again, it is a recording like any other: it saves, and goes when discarded.
  audio::shutdown();
  audio::start({"fast", ""});
  audio::Recorder rec;
  ASSERT_TRUE(rec.adopt(path, &error)) << error;
  EXPECT_TRUE(audio::orphaned_recordings().empty()) << "now this rack holds it";
  EXPECT_EQ(rec.frames(), orphans[0].frames);
  install_tone_input();
  ASSERT_TRUE(rec.record(rec.frames(), &error)) << error;
  audio::run_fast(4410);
  rec.stop();
  ASSERT_EQ(rec.frames(), orphans[0].frames + 4410) << "it records on where it ended";
  ASSERT_TRUE(rec.save(home.file("recovered.wav"), &error)) << error;
  const auto samples = read_all(home.file("recovered.wav"));
  ASSERT_EQ(samples.size(), 2u * static_cast<std::size_t>(rec.frames()));
  const auto end_of_crash = samples.begin() + 2 * static_cast<std::ptrdiff_t>(orphans[0].frames);
  const std::vector<float> tail(end_of_crash - 2 * 4410, end_of_crash);
  EXPECT_NEAR(tone_level(tail, 2, 0, 44100, kTone), 0.5, 0.02) << "the frames the header covers are real";
  rec.discard();
  EXPECT_FALSE(fs::exists(path));
  audio::shutdown();
}

TEST_F(RecorderTest, OrphansAreListedOldestFirstEmptyOnesGoAndOnlyTheyMayBeDeleted) {
  std::string error;
  const std::string folder = audio::recordings_folder();
  fs::create_directories(folder);
  write_sine(folder + "/old.wav", 22050, 1, 0.5, kTone);
  write_sine(folder + "/empty.wav", 22050, 1, 0.0, kTone);
  write_sine(folder + "/new.wav", 22050, 2, 0.25, kTone);
  std::ofstream(folder + "/notes.txt") << "not a recording";
  std::ofstream(folder + "/broken.wav") << "not a wave";
  fs::last_write_time(folder + "/old.wav", fs::file_time_type::clock::now() - std::chrono::hours(2));
  audio::Recorder held;  // this process's own recording is held, as another rack's would be
  ASSERT_TRUE(held.create({44100, 2, 16}, "", &error)) << error;
  ASSERT_TRUE(held.record(0, &error)) << error;
  audio::run_fast(4410);
  held.stop();

  const auto orphans = audio::orphaned_recordings();
  ASSERT_EQ(orphans.size(), 2u);
  EXPECT_EQ(orphans[0].path, folder + "/old.wav");
  EXPECT_EQ(orphans[0].frames, 11025u);
  EXPECT_EQ(orphans[1].path, folder + "/new.wav");
  EXPECT_EQ(orphans[1].format.channels, 2);
  EXPECT_FALSE(fs::exists(folder + "/empty.wav"));
  EXPECT_TRUE(fs::exists(folder + "/broken.wav")) << "what can not be read is left alone";

  EXPECT_FALSE(audio::delete_orphaned_recording(held.temp_path(), &error));
  EXPECT_TRUE(fs::exists(held.temp_path()));
  const std::string elsewhere = home_.file("mine.wav");
  write_sine(elsewhere, 22050, 1, 0.1, kTone);
  EXPECT_FALSE(audio::delete_orphaned_recording(elsewhere, &error)) << "only the recordings folder";
  EXPECT_TRUE(fs::exists(elsewhere));
  EXPECT_TRUE(audio::delete_orphaned_recording(orphans[0].path, &error)) << error;
  EXPECT_FALSE(fs::exists(orphans[0].path));
}

// A save that fails at any step says why, leaves nothing under the name (nor
// a temporary file beside it) and keeps the recording to be saved again.
TEST_F(RecorderTest, AFailedSaveStepLeavesTheOldFileAndNoTrace) {
  audio::Recorder rec;
  std::string error;
  ASSERT_TRUE(rec.create({44100, 1, 16}, "", &error)) << error;
  ASSERT_TRUE(rec.record(0, &error)) << error;
  audio::run_fast(4410);
  rec.stop();
  const auto target = home_.file("kept.wav");
  std::ofstream(target) << "the user's old file";
  const struct Case {
    audio::SaveStep step;
    const char* reason;
  } cases[] = {{audio::SaveStep::Create, "Permission denied"},
               {audio::SaveStep::Write, "No space left on device"},
               {audio::SaveStep::Rename, "Input/output error"}};
  for (const Case& c : cases) {
    audio::set_save_fault_for_testing([&](audio::SaveStep step) { return step != c.step; });
    error.clear();
    EXPECT_FALSE(rec.save(target, &error));
    EXPECT_NE(error.find(target), std::string::npos) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    std::ifstream in(target);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "the user's old file");
    EXPECT_EQ(std::distance(fs::directory_iterator(home_.path()), fs::directory_iterator()), 2)
        << "only the old file and the recordings folder";
  }
  audio::set_save_fault_for_testing(nullptr);
  ASSERT_TRUE(rec.save(target, &error)) << error;
  EXPECT_EQ(file_info(target).frames, 4410);
}

// A file's sound becomes a recording at the file's rate and channels: PCM keeps
// its width, a lossy file becomes 16 bits; the file itself is only read.
TEST_F(RecorderTest, AFileBecomesARecordingInItsOwnFormat) {
  struct Case {
    int format;
    int rate, channels;
    int bits;
  } const cases[] = {
      {SF_FORMAT_WAV | SF_FORMAT_PCM_24, 48000, 2, 24},
      {SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8000, 1, 8},
      {SF_FORMAT_OGG | SF_FORMAT_VORBIS, 22050, 2, 16},
  };
  for (const Case& c : cases) {
    const std::string source = home_.file("source");
    write_sine(source, c.rate, c.channels, 0.5, kTone, c.format);
    const auto before = fs::last_write_time(source);
    audio::Recorder rec;
    std::string error;
    ASSERT_TRUE(rec.create_from_file(source, &error)) << error;
    EXPECT_EQ(rec.format().samples_per_sec, c.rate);
    EXPECT_EQ(rec.format().channels, c.channels);
    EXPECT_EQ(rec.format().bits_per_sample, c.bits);
    EXPECT_NEAR(static_cast<double>(rec.frames()), c.rate * 0.5, 2.0);
    EXPECT_EQ(fs::last_write_time(source), before);
    const auto samples = read_all(rec.temp_path());
    EXPECT_NEAR(tone_level(samples, c.channels, 0, c.rate, kTone), 0.5, 0.02);
  }
}

}  // namespace
}  // namespace audio_test
