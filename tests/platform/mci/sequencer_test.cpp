// The sequencer device on MIDI files the tests write (with a tempo change), as
// the MIDI deck drives it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "media_files.h"
#include "mci_fixture.h"
#include "platform/audio/engine.h"
#include "platform/audio/midi/midi_renderer.h"
#include "support/env_override.h"

namespace {

using mcitest::mci;
using mcitest::mci_error;
using mcitest::take_notices;

constexpr int kQuarters = 8;  // 1000 ms at 120 bpm, then 6 × 250 ms at 240 bpm

class Sequencer : public mcitest::MciTest {
 protected:
  void SetUp() override {
    MciTest::SetUp();
    path_ = mcitest::write_tempo_change_midi(home_.file("tempo change.mid"), kQuarters);
    const std::string id = mci("open \"" + path_ + "\" type sequencer alias mymidi");
    ASSERT_EQ(id, std::to_string(mciGetDeviceIDA("mymidi")));
    ASSERT_EQ(mci("set mymidi time format milliseconds"), "");
  }
  std::string path_;
};

TEST_F(Sequencer, LengthFollowsTheTempoMap) {
  EXPECT_EQ(mci("status mymidi length"), std::to_string(mcitest::tempo_change_midi_ms(kQuarters)));
  EXPECT_EQ(mci("status mymidi position"), "0");
  EXPECT_EQ(mci("status mymidi mode"), "stopped");
}

TEST_F(Sequencer, PlayToTheEndNotifiesOnceWithTheDeviceId) {
  ASSERT_EQ(mci("play mymidi notify"), "");
  EXPECT_EQ(mci("status mymidi mode"), "playing");
  mcitest::run_ms(1000);
  const long at = std::stol(mci("status mymidi position"));
  EXPECT_GE(at, 900);
  EXPECT_LE(at, 1100);
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(static_cast<MCIDEVICEID>(LOWORD(notices[0].device)), mciGetDeviceIDA("mymidi"));
  EXPECT_EQ(mci("status mymidi position"), mci("status mymidi length"));
  EXPECT_EQ(mci("status mymidi mode"), "stopped");
  // The end-of-play handling: rewind, then auto repeat plays it again.
  EXPECT_EQ(mci("seek mymidi to start"), "");
  EXPECT_EQ(mci("status mymidi position"), "0");
  EXPECT_EQ(mci("play mymidi notify"), "");
  mcitest::run_to_idle();
  ASSERT_EQ(take_notices().size(), 1u);
}

TEST_F(Sequencer, SeekStepKeepsPlaying) {
  ASSERT_EQ(mci("play mymidi notify"), "");
  mcitest::run_ms(200);
  // The deck's seek step: seek (which stops) then play again.
  EXPECT_EQ(mci("seek mymidi to 1500"), "");
  EXPECT_EQ(mci("status mymidi mode"), "stopped");
  EXPECT_EQ(mci("status mymidi position"), "1500");
  EXPECT_EQ(mci("play mymidi notify"), "");
  mcitest::run_ms(500);
  const long at = std::stol(mci("status mymidi position"));
  EXPECT_GE(at, 1900);
  EXPECT_LE(at, 2100);
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_ABORTED);
  EXPECT_EQ(notices[1].code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(mci_error("seek mymidi to 999999"), MCIERR_OUTOFRANGE);
}

TEST_F(Sequencer, PauseThenPlayResumesWhereItPaused) {
  ASSERT_EQ(mci("play mymidi notify"), "");
  mcitest::run_ms(700);
  EXPECT_EQ(mci("pause mymidi"), "");
  EXPECT_EQ(mci("status mymidi mode"), "paused");
  const std::string paused_at = mci("status mymidi position");
  mcitest::run_ms(500);
  EXPECT_EQ(mci("status mymidi position"), paused_at);
  EXPECT_EQ(mci("play mymidi notify"), "");
  mcitest::run_ms(100);
  EXPECT_GT(std::stol(mci("status mymidi position")), std::stol(paused_at));
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_ABORTED);
  EXPECT_EQ(notices[1].code, MCI_NOTIFY_SUCCESSFUL);
}

TEST_F(Sequencer, PlayFromToInMilliseconds) {
  ASSERT_EQ(mci("play mymidi from 1000 to 1250 notify"), "");
  mcitest::run_to_idle();
  EXPECT_EQ(mci("status mymidi position"), "1250");
  EXPECT_EQ(take_notices().size(), 1u);
  EXPECT_EQ(mci("play mymidi to 2000 wait"), "");
  EXPECT_EQ(mci("status mymidi position"), "2000");
  EXPECT_EQ(mci("status mymidi mode"), "stopped");
}

TEST_F(Sequencer, CorruptAndMissingFiles) {
  const std::string corrupt = mcitest::write_text_file(home_.file("broken.mid"), "MThd this is not a MIDI file");
  EXPECT_EQ(mci_error("open \"" + corrupt + "\" type sequencer alias bad"), MCIERR_INVALID_FILE);
  EXPECT_EQ(mci_error("open \"" + home_.file("gone.mid") + "\" type sequencer alias bad"), MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(mci_error("open \"" + home_.path() + "\" type sequencer alias bad"), MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(mciGetDeviceIDA("bad"), 0u);
  // The open device is unharmed.
  EXPECT_EQ(mci("status mymidi mode"), "stopped");
}

TEST_F(Sequencer, TypeFromTheExtension) {
  ASSERT_EQ(mci_error("open \"" + path_ + "\" alias second"), 0u);
  EXPECT_EQ(mci("status second length"), mci("status mymidi length"));
  EXPECT_EQ(mci("close second"), "");
}

// Holds the SoundFont's background load until the test opens it. Should an
// open or a play wait for the load, the gate opens by itself after a long
// while, so the test fails instead of hanging.
class FontGate {
 public:
  FontGate() {
    audio::midi_set_soundfont_gate([this] {
      std::unique_lock lock(mutex_);
      entered_ = true;
      changed_.notify_all();
      if (!changed_.wait_for(lock, std::chrono::seconds(30), [this] { return opened_; })) timed_out_ = true;
    });
  }
  ~FontGate() {
    open();
    audio::midi_set_soundfont_gate({});
  }
  // True once the load is held at the gate.
  bool wait_until_held() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(30), [this] { return entered_; });
  }
  void open() {
    std::lock_guard lock(mutex_);
    opened_ = true;
    changed_.notify_all();
  }
  bool timed_out() {
    std::lock_guard lock(mutex_);
    return timed_out_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool entered_ = false, opened_ = false, timed_out_ = false;
};

// The fixture's open may have started loading the default font; the tests
// that name another font start once that load is over.
void settle_default_font() {
  std::string error;
  ASSERT_TRUE(audio::midi_wait_for_soundfont(&error)) << error;
}

// A SoundFont this process has not loaded yet (the store keeps each font it
// loaded): a copy of the small GM font under a new name.
std::string fresh_font(const TempHome& home, const std::string& name) {
  const std::string path = home.file(name);
  std::filesystem::copy_file("/usr/share/sounds/sf2/TimGM6mb.sf2", path);
  return path;
}

// A file that passes for a SoundFont by its header and size, but whose
// inside FluidSynth cannot read.
std::string broken_font(const TempHome& home) {
  const std::string path = home.file("broken.sf2");
  std::string body = "sfbkLIST";
  body.resize(4096, 'x');
  const std::uint32_t size = static_cast<std::uint32_t>(body.size());
  std::ofstream out(path, std::ios::binary);
  out << "RIFF" << char(size & 0xFF) << char((size >> 8) & 0xFF) << char((size >> 16) & 0xFF) << char(size >> 24)
      << body;
  return path;
}

TEST_F(Sequencer, OpenAndPlayDoNotWaitForTheSoundFont) {
  settle_default_font();
  EnvOverride font("QUORVIN_SOUNDFONT", fresh_font(home_, "slow.sf2").c_str());
  FontGate gate;
  ASSERT_EQ(mci_error("open \"" + path_ + "\" type sequencer alias slow"), 0u);
  ASSERT_EQ(mci("set slow time format milliseconds"), "");
  ASSERT_EQ(mci("play slow notify"), "");
  ASSERT_TRUE(gate.wait_until_held());
  EXPECT_FALSE(gate.timed_out()) << "open or play waited for the font";
  // Waiting for the font: the play is taken, nothing has sounded yet.
  EXPECT_EQ(mci("status slow mode"), "playing");
  EXPECT_EQ(mci("status slow position"), "0");
  EXPECT_EQ(mci("status slow length"), std::to_string(mcitest::tempo_change_midi_ms(kQuarters)));
  EXPECT_TRUE(take_notices().empty());

  float peak = 0.0f;  // the tap runs here, inside run_fast
  audio::set_output_tap([&peak](const float* stereo, std::size_t frames) {
    for (std::size_t i = 0; i < 2 * frames; ++i) peak = std::max(peak, std::fabs(stereo[i]));
  });
  gate.open();
  mcitest::run_to_idle();
  audio::set_output_tap(nullptr);
  EXPECT_GT(peak, 0.01f) << "played through the font once it came";
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(static_cast<MCIDEVICEID>(LOWORD(notices[0].device)), mciGetDeviceIDA("slow"));
  EXPECT_EQ(mci("status slow position"), mci("status slow length"));
  EXPECT_EQ(mci("status slow mode"), "stopped");
}

TEST_F(Sequencer, ClosingWhileThePlayWaitsForTheFont) {
  settle_default_font();
  EnvOverride font("QUORVIN_SOUNDFONT", fresh_font(home_, "closed.sf2").c_str());
  FontGate gate;
  ASSERT_EQ(mci_error("open \"" + path_ + "\" type sequencer alias gone"), 0u);
  ASSERT_EQ(mci("play gone notify"), "");
  ASSERT_TRUE(gate.wait_until_held());
  EXPECT_EQ(mci("close gone"), "");
  EXPECT_FALSE(gate.timed_out()) << "close waited for the font";
  gate.open();
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u) << "the play is cut short, nothing else";
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_ABORTED);
  // The other device plays on as before.
  ASSERT_EQ(mci("play mymidi notify"), "");
  mcitest::run_to_idle();
  ASSERT_EQ(take_notices().size(), 1u);
}

TEST_F(Sequencer, AFontThatFailsWhileAPlayWaitsEndsItWithFailure) {
  settle_default_font();
  EnvOverride font("QUORVIN_SOUNDFONT", broken_font(home_).c_str());
  FontGate gate;
  ASSERT_EQ(mci_error("open \"" + path_ + "\" type sequencer alias broken"), 0u);
  ASSERT_EQ(mci("play broken notify"), "");
  ASSERT_TRUE(gate.wait_until_held());
  EXPECT_EQ(mci("status broken mode"), "playing");
  gate.open();
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_FAILURE);
  EXPECT_EQ(mci("status broken mode"), "stopped");
  EXPECT_EQ(mci("status broken position"), "0");
  // Now the failure is known: the next play says so at once.
  EXPECT_EQ(mci_error("play broken notify"), MCIERR_NO_SOUNDFONT);
  EXPECT_TRUE(take_notices().empty());
}

TEST_F(Sequencer, AMissingFontFailsThePlayUntilAnOpenFindsItAgain) {
  settle_default_font();
  {
    EnvOverride font("QUORVIN_SOUNDFONT", home_.file("none.sf2").c_str());
    ASSERT_EQ(mci_error("open \"" + path_ + "\" type sequencer alias nofont"), 0u);
    EXPECT_EQ(mci_error("play nofont notify"), MCIERR_NO_SOUNDFONT);
    EXPECT_NE(mcitest::error_text(MCIERR_NO_SOUNDFONT).find("SoundFont"), std::string::npos);
    EXPECT_EQ(mci("status nofont mode"), "stopped");
  }
  // The settings name a font that exists again: the next open looks for it.
  EXPECT_EQ(mci_error("play nofont"), MCIERR_NO_SOUNDFONT);
  ASSERT_EQ(mci("close nofont"), "");
  ASSERT_EQ(mci_error("open \"" + path_ + "\" type sequencer alias nofont"), 0u);
  ASSERT_EQ(mci("play nofont notify"), "");
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
}

}  // namespace
