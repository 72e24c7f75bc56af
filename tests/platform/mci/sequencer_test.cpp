// The sequencer device on MIDI files the tests write (with a tempo change), as
// the MIDI deck drives it.
#include <gtest/gtest.h>

#include "media_files.h"
#include "mci_fixture.h"

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

}  // namespace
