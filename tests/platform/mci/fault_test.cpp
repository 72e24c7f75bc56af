// Faults met while the decks use their devices: the sound device failing under
// a play, a full disk at save, media deleted or cut short while they play, and
// disc images that name a missing file or hold no tracks or the most a disc
// can. Each gets its error or notice, or the quiet handling the device states.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "mci_fixture.h"
#include "media/disc_image.h"
#include "media_files.h"
#include "platform/audio/engine.h"
#include "platform/mci/cd_refusal.h"
#include "support/file_size_limit.h"

namespace {

namespace fs = std::filesystem;
using mcitest::mci;
using mcitest::mci_error;
using mcitest::Notice;
using mcitest::take_notices;

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<Notice> of_kind(const std::vector<Notice>& all, UINT message) {
  std::vector<Notice> out;
  for (const Notice& n : all)
    if (n.message == message) out.push_back(n);
  return out;
}

std::string notice_text(WPARAM code) {
  char text[256];
  return mciGetNoticeTextA(code, text, sizeof text) ? text : "";
}

long number(const std::string& reply) { return std::stol(reply); }

class Faults : public mcitest::MciTest {
 protected:
  std::string wave(const std::string& name, double seconds) {
    return mcitest::write_sine_wav(home_.file(name), seconds, 44100, 1, 16);
  }
};

// Every play the failed device carried ends with a failure where its sound
// stopped; the user is told once per failure, with the first play that has a
// window to tell, and the next play runs on the silent device.
TEST_F(Faults, ASoundDeviceFailingUnderThePlaysFailsThemAndIsToldOnce) {
  ASSERT_EQ(mci_error("open \"" + wave("a.wav", 2.0) + "\" type waveaudio alias w"), 0u);
  ASSERT_EQ(mci_error("open \"" + wave("b.wav", 2.0) + "\" type waveaudio alias tape1"), 0u);
  ASSERT_EQ(mci("set w time format ms"), "");
  ASSERT_EQ(mci("play w notify"), "");
  ASSERT_EQ(mci("play tape1 notify"), "");
  mcitest::run_ms(500);
  audio::fail_output_for_testing("the card was unplugged");
  mcitest::run_ms(100);

  auto notices = take_notices();
  const auto ends = of_kind(notices, MM_MCINOTIFY);
  ASSERT_EQ(ends.size(), 2u);
  for (const Notice& n : ends) EXPECT_EQ(n.code, MCI_NOTIFY_FAILURE);
  const auto told = of_kind(notices, MM_QUORVIN_NOTICE);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].code, MCIERR_SOUND_DEVICE_FAILED);
  EXPECT_EQ(told[0].window, mcitest::test_window());
  EXPECT_NE(notice_text(MCIERR_SOUND_DEVICE_FAILED).find("the card was unplugged"), std::string::npos)
      << notice_text(MCIERR_SOUND_DEVICE_FAILED);
  EXPECT_EQ(mci("status w mode"), "stopped");
  const long stopped_at = number(mci("status w position"));
  EXPECT_GE(stopped_at, 450);
  EXPECT_LE(stopped_at, 650);

  ASSERT_EQ(mci("play w notify"), "");
  mcitest::run_to_idle();
  notices = take_notices();
  ASSERT_EQ(notices.size(), 1u) << "the next play is not told again";
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(mci("status w position"), "2000");

  // A play without notify has no window to tell: the next play tells.
  ASSERT_EQ(mci("play w from 0"), "");
  mcitest::run_ms(200);
  audio::fail_output_for_testing("a driver error");
  mcitest::run_ms(100);
  EXPECT_TRUE(take_notices().empty());
  EXPECT_EQ(mci("status w mode"), "stopped");
  ASSERT_EQ(mci("play w from 0 notify"), "");
  notices = of_kind(take_notices(), MM_QUORVIN_NOTICE);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCIERR_SOUND_DEVICE_FAILED);
  EXPECT_NE(notice_text(MCIERR_SOUND_DEVICE_FAILED).find("a driver error"), std::string::npos);
}

// A play waited for that the device cuts short answers so, and only that one.
TEST_F(Faults, APlayWaitedForThatTheDeviceCutsShortIsNotASuccess) {
  ASSERT_EQ(mci_error("open \"" + wave("a.wav", 1.0) + "\" type waveaudio alias w"), 0u);
  auto frames = std::make_shared<std::uint64_t>(0);
  audio::set_output_tap([frames](const float*, std::size_t n) {
    if ((*frames += n) >= 8192 && *frames - n < 8192) audio::fail_output_for_testing("a driver error");
  });
  EXPECT_EQ(mci_error("play w wait"), MCIERR_SOUND_DEVICE_FAILED);
  audio::set_output_tap(nullptr);
  EXPECT_EQ(mci("status w mode"), "stopped");
  EXPECT_EQ(mci("play w from 0 to 0 wait"), "") << "an empty range is not the failed play";
  EXPECT_EQ(mci("play w from 0 wait"), "");
  EXPECT_EQ(mci("status w position"), "1000");
}

// A take or a save the disk cannot hold fails plainly and leaves the file it
// would have replaced whole, also when that is the file the device opened; the
// recording is kept and saves once there is room.
TEST_F(Faults, ASaveOnAFullDiskLeavesTheOldFileWhole) {
  audio::set_test_input([](float* stereo, std::size_t frames) { std::fill(stereo, stereo + 2 * frames, 0.25f); });
  const std::string opened = wave("opened.wav", 1.0);
  const std::string opened_before = contents(opened);
  ASSERT_EQ(mci_error("open \"" + opened + "\" type waveaudio alias tape2"), 0u);
  {
    FileSizeLimit full(16 * 1024);  // the file's sound does not fit in a recording
    EXPECT_EQ(mci_error("record tape2"), MCIERR_FILE_WRITE);
    EXPECT_EQ(mci("status tape2 mode"), "stopped");
  }
  ASSERT_EQ(mci("record tape2"), "");
  mcitest::run_ms(500);
  ASSERT_EQ(mci("stop tape2"), "");
  const std::string other = home_.file("old take.wav");
  std::ofstream(other, std::ios::binary) << "the user's old take";
  {
    FileSizeLimit full(16 * 1024);
    EXPECT_EQ(mci_error("save tape2 \"" + opened + "\""), MCIERR_FILE_NOT_SAVED);
    EXPECT_EQ(mci_error("save tape2 \"" + other + "\""), MCIERR_FILE_NOT_SAVED);
  }
  audio::set_test_input(nullptr);
  EXPECT_EQ(contents(opened), opened_before);
  EXPECT_EQ(contents(other), "the user's old take");
  for (const auto& entry : fs::directory_iterator(home_.path()))
    EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
  ASSERT_EQ(mci("save tape2 \"" + other + "\""), "");
  ASSERT_EQ(mci_error("open \"" + other + "\" type waveaudio alias check"), 0u);
  EXPECT_EQ(mci("status check length"), "1000");
}

// A wave file cut short while it plays ends early into silence: the play runs
// to the length it had when opened and ends successfully, as any short read.
// One deleted while it plays sounds to its end (it is held open); a new play
// of it then answers that the file cannot be read.
TEST_F(Faults, AWaveFileCutShortOrDeletedWhileItPlays) {
  const std::string cut = wave("cut.wav", 2.0);
  ASSERT_EQ(mci_error("open \"" + cut + "\" type waveaudio alias w"), 0u);
  ASSERT_EQ(mci("play w notify"), "");
  mcitest::run_ms(300);
  fs::resize_file(cut, 44 + 2 * 4410);
  mcitest::run_to_idle();
  auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(mci("status w position"), "2000");
  ASSERT_EQ(mci("play w from 0 notify"), "");
  mcitest::run_to_idle();
  EXPECT_EQ(take_notices().at(0).code, MCI_NOTIFY_SUCCESSFUL);
  ASSERT_EQ(mci("close w"), "");
  ASSERT_EQ(mci_error("open \"" + cut + "\" type waveaudio alias w"), 0u);
  EXPECT_EQ(mci("status w length"), "100") << "reopened, it has its new length";
  ASSERT_EQ(mci("close w"), "");

  const std::string gone = wave("gone.wav", 1.0);
  ASSERT_EQ(mci_error("open \"" + gone + "\" type waveaudio alias w"), 0u);
  ASSERT_EQ(mci("play w notify"), "");
  mcitest::run_ms(100);
  fs::remove(gone);
  mcitest::run_to_idle();
  EXPECT_EQ(take_notices().at(0).code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(mci_error("play w from 0 notify"), MCIERR_FILE_READ);
  EXPECT_EQ(mci("status w mode"), "stopped");
  EXPECT_EQ(mci_error("open \"" + gone + "\" type waveaudio alias again"), MCIERR_FILE_NOT_FOUND);
}

// A MIDI file is read whole when opened: cutting or deleting it while it plays
// changes nothing until it is opened again, which then says why it cannot.
TEST_F(Faults, AMidiFileCutShortOrDeletedWhileItPlays) {
  const std::string midi = mcitest::write_tempo_change_midi(home_.file("song.mid"), 4);
  ASSERT_EQ(mci_error("open \"" + midi + "\" type sequencer alias mymidi"), 0u);
  ASSERT_EQ(mci("play mymidi notify"), "");
  mcitest::run_ms(300);
  fs::resize_file(midi, 20);
  mcitest::run_to_idle();
  EXPECT_EQ(take_notices().at(0).code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(mci("status mymidi position"), mci("status mymidi length"));
  ASSERT_EQ(mci("play mymidi from 0 notify"), "");
  fs::remove(midi);
  mcitest::run_to_idle();
  EXPECT_EQ(take_notices().at(0).code, MCI_NOTIFY_SUCCESSFUL);
  ASSERT_EQ(mci("close mymidi"), "");

  mcitest::write_text_file(midi, contents(mcitest::write_tempo_change_midi(home_.file("whole.mid"), 4)).substr(0, 30));
  EXPECT_EQ(mci_error("open \"" + midi + "\" type sequencer alias mymidi"), MCIERR_INVALID_FILE);
  fs::remove(midi);
  EXPECT_EQ(mci_error("open \"" + midi + "\" type sequencer alias mymidi"), MCIERR_FILE_NOT_FOUND);
}

// Sheets that name a missing BIN or hold no track are refused by name and
// fault; an image with 99 tracks, the most a disc holds, plays its last one.
TEST_F(Faults, DiscImagesWithAMissingBinNoTracksOrNinetyNine) {
  std::string told;
  mci_cd_take_refusal(&told);
  struct Refused {
    const char* name;
    const char* text;
    const char* said;  // what the refusal must name
  } const refused[] = {
      {"lost.cue", "FILE \"lost.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n", "lost.bin"},
      {"empty.cue", "FILE \"empty.bin\" BINARY\n", "empty.cue"},
      {"empty.toc", "CD_DA\n", "empty.toc"},
  };
  std::ofstream(home_.file("empty.bin"), std::ios::binary) << std::string(2352 * 75, '\0');
  for (const Refused& r : refused) {
    const std::string sheet = mcitest::write_text_file(home_.file(r.name), r.text);
    EXPECT_EQ(mci_error("open \"" + sheet + "\" type cdaudio alias cd"), MCIERR_CD_SOURCE_REFUSED) << r.name;
    const std::string text = mcitest::error_text(MCIERR_CD_SOURCE_REFUSED);
    EXPECT_NE(text.find(r.said), std::string::npos) << text;
    EXPECT_EQ(mciGetDeviceIDA("cd"), 0u);
  }

  const std::string full = testmedia::write_cd_image(home_.path(), "full", testmedia::cd_image_of(std::vector(99, 0.2)));
  ASSERT_EQ(mci_error("open \"" + full + "\" type cdaudio alias cd"), 0u);
  EXPECT_EQ(mci("status cd number of tracks"), "99");
  ASSERT_EQ(mci("set cd time format tmsf"), "");
  EXPECT_EQ(mci("status cd position track 99"), "99:00:00:00");
  ASSERT_EQ(mci("play cd from 99 notify"), "");
  mcitest::run_to_idle();
  EXPECT_EQ(take_notices().at(0).code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(mci("status cd current track"), "99");
  EXPECT_EQ(mci_error("play cd from 100"), MCIERR_OUTOFRANGE);
  ASSERT_EQ(mci("close cd"), "");
}

// A BIN cut short while its disc plays reads as silence to the end of the
// table the image had when loaded, as a scratched disc's unreadable sectors.
TEST_F(Faults, ADiscImageCutShortWhileItPlays) {
  const std::string cue = testmedia::write_cd_image(home_.path(), "cut", testmedia::cd_image_of({2.0, 2.0}));
  ASSERT_EQ(mci_error("open \"" + cue + "\" type cdaudio alias cd"), 0u);
  ASSERT_EQ(mci("set cd time format ms"), "");
  ASSERT_EQ(mci("play cd notify"), "");
  mcitest::run_ms(300);
  fs::resize_file(home_.file("cut.bin"), 2352 * 100);
  mcitest::run_to_idle();
  EXPECT_EQ(take_notices().at(0).code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(mci("status cd mode"), "stopped");
  fs::remove(home_.file("cut.bin"));
  ASSERT_EQ(mci("set cd time format tmsf"), "");
  ASSERT_EQ(mci("play cd from 1 notify"), "");
  mcitest::run_to_idle();
  EXPECT_EQ(take_notices().at(0).code, MCI_NOTIFY_SUCCESSFUL);
  ASSERT_EQ(mci("close cd"), "");
}

}  // namespace
