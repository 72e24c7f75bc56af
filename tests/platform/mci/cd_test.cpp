// The cdaudio device on a disc image: three audio tracks (5 s, 3 s, 4 s) and a
// data track, driven by the command strings and messages the CD deck sends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "mci_fixture.h"
#include "media/disc_image.h"
#include "platform/audio/engine.h"
#include "platform/mci/cd_refusal.h"
#include "platform/mci/cd_text.h"

namespace {

using mcitest::mci;
using mcitest::mci_error;
using mcitest::take_notices;

class CdAudio : public mcitest::MciTest {
 protected:
  void SetUp() override {
    MciTest::SetUp();
    testmedia::CdImage image = testmedia::cd_image_of({5.0, 3.0, 4.0}, 1);
    image.title = "Test Disc";
    image.tracks[1].title = "Second Song";
    const std::string cue = testmedia::write_cd_image(home_.path(), "disc", image);
    setenv("QUORVIN_CDROM", cue.c_str(), 1);
    ASSERT_EQ(mci_error("open cdaudio"), 0u);
    id_ = mciGetDeviceIDA("cdaudio");
    ASSERT_NE(id_, 0u);
  }
  void TearDown() override {
    MciTest::TearDown();
    unsetenv("QUORVIN_CDROM");
  }

  DWORD status(DWORD item, DWORD flags = 0, DWORD track = 0) {
    MCI_STATUS_PARMS parms{};
    parms.dwItem = item;
    parms.dwTrack = track;
    last_ = mciSendCommandA(id_, MCI_STATUS, MCI_STATUS_ITEM | flags, reinterpret_cast<DWORD_PTR>(&parms));
    return static_cast<DWORD>(parms.dwReturn);
  }
  void set_format(DWORD format) {
    MCI_SET_PARMS parms{};
    parms.dwTimeFormat = format;
    ASSERT_EQ(mciSendCommandA(id_, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&parms)), 0u);
  }
  // The deck's play of one whole track.
  MCIERROR play_track(int track) {
    const DWORD length = status(MCI_STATUS_LENGTH, MCI_TRACK, track);
    const std::string command = "play cdaudio from " + std::to_string(track) + ":0:0 to " + std::to_string(track) +
                                ":" + std::to_string(MCI_MSF_MINUTE(length)) + ":" +
                                std::to_string(MCI_MSF_SECOND(length)) + " notify";
    return mci_error(command);
  }

  MCIDEVICEID id_ = 0;
  MCIERROR last_ = 0;
};

TEST_F(CdAudio, LoadDiscSequence) {
  EXPECT_EQ(status(MCI_STATUS_MODE), MCI_MODE_STOP);
  EXPECT_EQ(status(MCI_STATUS_MEDIA_PRESENT), static_cast<DWORD>(TRUE));
  set_format(MCI_FORMAT_TMSF);
  EXPECT_EQ(status(MCI_STATUS_NUMBER_OF_TRACKS), 4u);
  EXPECT_EQ(status(MCI_STATUS_LENGTH, MCI_TRACK, 1), MCI_MAKE_MSF(0, 5, 0));
  EXPECT_EQ(status(MCI_STATUS_LENGTH, MCI_TRACK, 2), MCI_MAKE_MSF(0, 3, 0));
  EXPECT_EQ(status(MCI_STATUS_LENGTH, MCI_TRACK, 3), MCI_MAKE_MSF(0, 4, 0));
  EXPECT_EQ(mciSendCommandA(id_, MCI_SEEK, MCI_SEEK_TO_START, 0), 0u);
  EXPECT_EQ(status(MCI_STATUS_POSITION), MCI_MAKE_TMSF(1, 0, 0, 0));
  EXPECT_EQ(status(MCI_STATUS_POSITION, MCI_STATUS_START), MCI_MAKE_TMSF(1, 0, 0, 0));
  MCI_GETDEVCAPS_PARMS caps{};
  caps.dwItem = MCI_GETDEVCAPS_CAN_EJECT;
  EXPECT_EQ(mciSendCommandA(id_, MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM, reinterpret_cast<DWORD_PTR>(&caps)), 0u);
  EXPECT_EQ(caps.dwReturn, static_cast<DWORD>(TRUE));
  status(MCI_STATUS_LENGTH, MCI_TRACK, 9);
  EXPECT_EQ(last_, MCIERR_OUTOFRANGE);
}

TEST_F(CdAudio, CommandMessagesPlayAndSeek) {
  set_format(MCI_FORMAT_TMSF);
  MCI_SEEK_PARMS seek{};
  seek.dwTo = MCI_MAKE_TMSF(2, 0, 0, 0);
  ASSERT_EQ(mciSendCommandA(id_, MCI_SEEK, MCI_TO, reinterpret_cast<DWORD_PTR>(&seek)), 0u);
  EXPECT_EQ(status(MCI_STATUS_POSITION), MCI_MAKE_TMSF(2, 0, 0, 0));
  MCI_PLAY_PARMS play{};
  play.dwCallback = reinterpret_cast<DWORD_PTR>(mcitest::test_window());
  play.dwFrom = MCI_MAKE_TMSF(3, 0, 2, 0);
  play.dwTo = MCI_MAKE_TMSF(3, 0, 3, 0);
  ASSERT_EQ(mciSendCommandA(id_, MCI_PLAY, MCI_FROM | MCI_TO | MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play)), 0u);
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(status(MCI_STATUS_POSITION), MCI_MAKE_TMSF(3, 0, 3, 0));
  // Other commands with MCI_NOTIFY report at once.
  MCI_GENERIC_PARMS generic{reinterpret_cast<DWORD_PTR>(mcitest::test_window())};
  ASSERT_EQ(mciSendCommandA(id_, MCI_STOP, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&generic)), 0u);
  ASSERT_EQ(take_notices().size(), 1u);
}

// Frequency of the left channel between its first and last rising zero
// crossings (the output around the play may hold silence).
double tone_of(const std::vector<float>& left) {
  std::size_t first = 0, last = 0;
  int cycles = -1;
  for (std::size_t i = 1; i < left.size(); ++i) {
    if (!(left[i - 1] < 0 && left[i] >= 0)) continue;
    if (cycles < 0) first = i;
    last = i;
    ++cycles;
  }
  return last > first ? cycles * 44100.0 / static_cast<double>(last - first) : 0.0;
}

TEST_F(CdAudio, EachTrackSoundsAsItIsWritten) {
  set_format(MCI_FORMAT_TMSF);
  for (int track : {1, 3}) {
    std::vector<float> left;
    audio::set_output_tap([&left](const float* stereo, std::size_t frames) {
      for (std::size_t i = 0; i < frames; ++i) left.push_back(stereo[2 * i]);
    });
    ASSERT_EQ(mci_error("play cdaudio from " + std::to_string(track) + ":0:1 to " + std::to_string(track) + ":0:2"),
              0u);
    mcitest::run_to_idle();
    audio::set_output_tap(nullptr);
    ASSERT_GT(left.size(), 40000u);
    EXPECT_NEAR(tone_of(left), testmedia::cd_image_frequency(static_cast<std::size_t>(track - 1)), 3.0) << track;
  }
}

TEST_F(CdAudio, OneDeviceInstance) {
  EXPECT_EQ(mci_error("open cdaudio"), MCIERR_DEVICE_OPEN);
  EXPECT_EQ(mci_error("open cdaudio alias other"), MCIERR_DEVICE_OPEN);
}

TEST_F(CdAudio, TimeFormatsAgreeOnOnePlace) {
  ASSERT_EQ(mci_error("seek cdaudio to start"), 0u);
  EXPECT_EQ(mci("status cdaudio time format"), "msf");  // the default
  EXPECT_EQ(mci("status cdaudio position"), "00:02:00");  // after the two-second lead-in
  EXPECT_EQ(mci("set cdaudio time format tmsf"), "");
  EXPECT_EQ(mci("seek cdaudio to 3"), "");
  EXPECT_EQ(mci("status cdaudio position"), "03:00:00:00");
  EXPECT_EQ(mci("status cdaudio current track"), "3");
  EXPECT_EQ(mci("status cdaudio length track 2"), "00:03:00");
  EXPECT_EQ(mci("status cdaudio position track 2"), "02:00:00:00");
  EXPECT_EQ(mci("status cdaudio length"), "00:14:00");
  EXPECT_EQ(mci("status cdaudio number of tracks"), "4");
  EXPECT_EQ(mci("set cdaudio time format msf"), "");
  EXPECT_EQ(mci("status cdaudio position"), "00:10:00");  // 2 + 5 + 3 seconds
  EXPECT_EQ(mci("set cdaudio time format milliseconds"), "");
  EXPECT_EQ(mci("status cdaudio position"), "10000");
  EXPECT_EQ(mci("status cdaudio length track 3"), "4000");
  EXPECT_EQ(mci("seek cdaudio to 7500"), "");
  EXPECT_EQ(mci("status cdaudio current track"), "2");
  EXPECT_EQ(mci_error("seek cdaudio to 99000"), MCIERR_OUTOFRANGE);
}

TEST_F(CdAudio, TrackPlayedToItsEndNotifiesSuccess) {
  set_format(MCI_FORMAT_TMSF);
  ASSERT_EQ(play_track(2), 0u);
  EXPECT_EQ(status(MCI_STATUS_MODE), MCI_MODE_PLAY);
  EXPECT_EQ(mci("status cdaudio mode"), "playing");
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].window, mcitest::test_window());
  EXPECT_EQ(notices[0].message, MM_MCINOTIFY);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(LOWORD(notices[0].device), id_);
  EXPECT_EQ(status(MCI_STATUS_MODE), MCI_MODE_STOP);
  EXPECT_EQ(status(MCI_STATUS_POSITION), MCI_MAKE_TMSF(3, 0, 0, 0));  // the end of track 2
}

TEST_F(CdAudio, PlaysAcrossTracksAndStopsWhereAsked) {
  set_format(MCI_FORMAT_TMSF);
  ASSERT_EQ(mci_error("play cdaudio from 1:0:4 to 2:0:1 notify"), 0u);
  mcitest::run_ms(500);
  EXPECT_EQ(MCI_TMSF_TRACK(status(MCI_STATUS_POSITION)), 1);
  mcitest::run_to_idle();
  EXPECT_EQ(status(MCI_STATUS_POSITION), MCI_MAKE_TMSF(2, 0, 1, 0));
  ASSERT_EQ(take_notices().size(), 1u);
}

TEST_F(CdAudio, PauseKeepsThePlaceAndPlayWithoutStartResumes) {
  set_format(MCI_FORMAT_TMSF);
  ASSERT_EQ(play_track(1), 0u);
  mcitest::run_ms(2000);
  EXPECT_EQ(mci("pause cdaudio"), "");
  EXPECT_EQ(status(MCI_STATUS_MODE), MCI_MODE_PAUSE);
  const DWORD paused_at = status(MCI_STATUS_POSITION);
  EXPECT_EQ(MCI_TMSF_TRACK(paused_at), 1);
  EXPECT_GE(MCI_TMSF_SECOND(paused_at), 1);
  EXPECT_LE(MCI_TMSF_SECOND(paused_at), 3);
  mcitest::run_ms(1000);
  EXPECT_EQ(status(MCI_STATUS_POSITION), paused_at);
  auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_ABORTED);

  ASSERT_EQ(mci_error("play cdaudio to 1:0:5 notify"), 0u);
  EXPECT_EQ(status(MCI_STATUS_MODE), MCI_MODE_PLAY);
  mcitest::run_to_idle();
  notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(status(MCI_STATUS_POSITION), MCI_MAKE_TMSF(2, 0, 0, 0));
}

TEST_F(CdAudio, EveryInterruptionEndsTheNotificationOtherThanSuccessfully) {
  set_format(MCI_FORMAT_TMSF);
  struct Case {
    const char* interruption;
    WPARAM code;
  };
  for (const Case& c : {Case{"stop cdaudio", MCI_NOTIFY_ABORTED}, Case{"seek cdaudio to 3", MCI_NOTIFY_ABORTED},
                        Case{"pause cdaudio", MCI_NOTIFY_ABORTED},
                        Case{"play cdaudio from 3:0:0 to 3:0:1 notify", MCI_NOTIFY_SUPERSEDED}}) {
    ASSERT_EQ(play_track(1), 0u);
    mcitest::run_ms(300);
    ASSERT_EQ(mci_error(c.interruption), 0u) << c.interruption;
    mcitest::run_to_idle();
    const auto notices = take_notices();
    ASSERT_GE(notices.size(), 1u) << c.interruption;
    EXPECT_EQ(notices[0].code, c.code) << c.interruption;
    for (std::size_t i = 1; i < notices.size(); ++i) EXPECT_EQ(notices[i].code, MCI_NOTIFY_SUCCESSFUL);
    ASSERT_EQ(mci_error("stop cdaudio"), 0u);
  }
  ASSERT_EQ(play_track(2), 0u);
  ASSERT_EQ(mci_error("close cdaudio"), 0u);
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_ABORTED);
}

TEST_F(CdAudio, DataTrackCannotBePlayed) {
  set_format(MCI_FORMAT_TMSF);
  EXPECT_EQ(play_track(4), MCIERR_CDA_DATA_TRACK);
  EXPECT_EQ(mci_error("play cdaudio from 3:0:3 to 4:0:1 notify"), MCIERR_CDA_DATA_TRACK);
  EXPECT_EQ(status(MCI_STATUS_MODE), MCI_MODE_STOP);
  mcitest::run_to_idle();
  EXPECT_TRUE(take_notices().empty());
  EXPECT_FALSE(mcitest::error_text(MCIERR_CDA_DATA_TRACK).empty());
}

TEST_F(CdAudio, ARejectedPlayLeavesTheEarlierPlayRunning) {
  set_format(MCI_FORMAT_TMSF);
  ASSERT_EQ(play_track(3), 0u);
  mcitest::run_ms(200);
  EXPECT_EQ(play_track(4), MCIERR_CDA_DATA_TRACK);
  EXPECT_EQ(mci_error("play cdaudio from 3:0:3 to 3:0:1 notify"), MCIERR_OUTOFRANGE);
  EXPECT_EQ(status(MCI_STATUS_MODE), MCI_MODE_PLAY);
  EXPECT_TRUE(take_notices().empty());
  mcitest::run_to_idle();
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
}

TEST_F(CdAudio, DoorOpenAndClosed) {
  set_format(MCI_FORMAT_TMSF);
  ASSERT_EQ(play_track(1), 0u);
  EXPECT_EQ(mci("set cdaudio door open"), "");
  EXPECT_EQ(status(MCI_STATUS_MODE), MCI_MODE_OPEN);
  EXPECT_EQ(mci("status cdaudio mode"), "open");
  EXPECT_EQ(mci("status cdaudio media present"), "false");
  EXPECT_EQ(play_track(1), MCIERR_DEVICE_NOT_READY);
  mcitest::run_to_idle();
  auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_ABORTED);
  EXPECT_EQ(mci("set cdaudio door closed"), "");
  EXPECT_EQ(status(MCI_STATUS_MEDIA_PRESENT), static_cast<DWORD>(TRUE));
  EXPECT_EQ(status(MCI_STATUS_MODE), MCI_MODE_STOP);
  EXPECT_EQ(status(MCI_STATUS_NUMBER_OF_TRACKS), 4u);
  EXPECT_EQ(play_track(3), 0u);
}

TEST_F(CdAudio, ScanToTheTrackEndIsAnEmptyPlayThatEnds) {
  set_format(MCI_FORMAT_TMSF);
  ASSERT_EQ(mci_error("play cdaudio from 2:0:3 to 2:0:3 notify"), 0u);
  const auto notices = take_notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, MCI_NOTIFY_SUCCESSFUL);
  EXPECT_EQ(mci_error("play cdaudio from 2:0:2 to 2:0:1"), MCIERR_OUTOFRANGE);
  EXPECT_EQ(mci_error("play cdaudio from 9:0:0"), MCIERR_OUTOFRANGE);
}

TEST_F(CdAudio, AnImageCanBeNamedInTheOpen) {
  const std::string cue = testmedia::write_cd_image(home_.path(), "other", testmedia::cd_image_of({2.0, 2.0}));
  ASSERT_EQ(mci_error("close cdaudio"), 0u);
  ASSERT_EQ(mci_error("open \"" + cue + "\" type cdaudio alias cd"), 0u);
  EXPECT_EQ(mci("status cd number of tracks"), "2");
  EXPECT_EQ(mciGetDeviceIDA("cdaudio"), 0u);
}

TEST_F(CdAudio, CdTextIsReachable) {
  std::string title, performer;
  ASSERT_TRUE(mci_cd_text(id_, 0, &title, &performer));
  EXPECT_EQ(title, "Test Disc");
  ASSERT_TRUE(mci_cd_text(id_, 2, &title, nullptr));
  EXPECT_EQ(title, "Second Song");
  EXPECT_FALSE(mci_cd_text(id_ + 100, 1, &title, nullptr));
}

// A refused image fails the open with a code whose text names the file and the
// fault; the deck's query hands each fault out once, however often the timer
// retries the open.
TEST(CdAudioRefused, TheFaultIsToldByFileOncePerFault) {
  TempHome home;
  std::string told;
  mci_cd_take_refusal(&told);  // what earlier tests left
  const std::string crasher = home.file("disc.nrg");
  std::ofstream(crasher, std::ios::binary)
      << std::string("\0\0\0\0\xf5\x01\xf5\x01\xe8\x03\xe8\x03\xd7\x05\xd7\x05NER5\0\0\0\0\0\0\0\0", 28);
  setenv("QUORVIN_CDROM", crasher.c_str(), 1);
  EXPECT_EQ(mci_error("open cdaudio"), MCIERR_CD_SOURCE_REFUSED);
  EXPECT_EQ(mciGetDeviceIDA("cdaudio"), 0u);
  const std::string text = mcitest::error_text(MCIERR_CD_SOURCE_REFUSED);
  EXPECT_NE(text.find("\"" + crasher + "\" is damaged: "), std::string::npos) << text;
  ASSERT_TRUE(mci_cd_take_refusal(&told));
  EXPECT_EQ(told, text);
  for (int tick = 0; tick < 3; ++tick) {
    EXPECT_EQ(mci_error("open cdaudio"), MCIERR_CD_SOURCE_REFUSED);
    EXPECT_FALSE(mci_cd_take_refusal(&told)) << "a retry that fails the same way is not told again";
  }

  setenv("QUORVIN_CDROM", home.file("nothing-here.cue").c_str(), 1);
  EXPECT_EQ(mci_error("open cdaudio"), MCIERR_CD_SOURCE_REFUSED);
  ASSERT_TRUE(mci_cd_take_refusal(&told));
  EXPECT_NE(told.find("nothing-here.cue\" does not exist"), std::string::npos) << told;
  std::ofstream(home.file("garbage.cue")) << "FILE \"nowhere.bin\" BINARY\n  TRACK 01 AUDIO\n";
  setenv("QUORVIN_CDROM", home.file("garbage.cue").c_str(), 1);
  EXPECT_EQ(mci_error("open cdaudio"), MCIERR_CD_SOURCE_REFUSED);
  ASSERT_TRUE(mci_cd_take_refusal(&told));
  EXPECT_NE(told.find("garbage.cue"), std::string::npos) << told;

  // Working once makes the same fault news again.
  const std::string cue = testmedia::write_cd_image(home.path(), "good", testmedia::cd_image_of({1.0}));
  setenv("QUORVIN_CDROM", cue.c_str(), 1);
  ASSERT_EQ(mci_error("open cdaudio"), 0u);
  EXPECT_FALSE(mci_cd_take_refusal(&told));
  ASSERT_EQ(mci_error("close cdaudio"), 0u);
  setenv("QUORVIN_CDROM", crasher.c_str(), 1);
  EXPECT_EQ(mci_error("open cdaudio"), MCIERR_CD_SOURCE_REFUSED);
  EXPECT_TRUE(mci_cd_take_refusal(&told));
  unsetenv("QUORVIN_CDROM");
}

std::size_t thread_count() {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                                std::filesystem::directory_iterator()));
}

// The deck retries a refused open four times a second: each retry costs a
// look at the file, not an engine brought up with its threads.
TEST(CdAudioRefused, ARefusedOpenLeavesTheEngineDown) {
  TempHome home;
  mciSendStringA("close all", nullptr, 0, nullptr);
  audio::shutdown();
  const std::size_t threads = thread_count();
  setenv("QUORVIN_CDROM", home.file("nothing-here.cue").c_str(), 1);
  for (int tick = 0; tick < 4; ++tick) EXPECT_EQ(mci_error("open cdaudio"), MCIERR_CD_SOURCE_REFUSED);
  EXPECT_EQ(thread_count(), threads);
  std::string told;
  mci_cd_take_refusal(&told);
  unsetenv("QUORVIN_CDROM");
}

// An image damaged while its tray was out is refused when the tray closes, and
// told like a refused open; once mended it loads at the next media query.
TEST(CdAudioRefused, AnImageDamagedWhileOutIsToldWhenTheTrayCloses) {
  TempHome home;
  std::string told;
  mci_cd_take_refusal(&told);
  const std::string cue = testmedia::write_cd_image(home.path(), "swap", testmedia::cd_image_of({1.0, 1.0}));
  ASSERT_EQ(mci_error("open \"" + cue + "\" type cdaudio alias cd"), 0u);
  ASSERT_EQ(mci("set cd door open"), "");
  std::ofstream(cue, std::ios::binary | std::ios::trunc) << "FILE \"swap.bin\" BINARY\n  TRACK 01 AUDIO\n";
  EXPECT_NE(mci_error("set cd door closed"), 0u);
  EXPECT_EQ(mci("status cd media present"), "false");
  ASSERT_TRUE(mci_cd_take_refusal(&told));
  EXPECT_NE(told.find("swap.cue\" is damaged: track 1 has no INDEX 01"), std::string::npos) << told;
  EXPECT_EQ(mci("status cd media present"), "false");
  EXPECT_FALSE(mci_cd_take_refusal(&told));

  testmedia::write_cd_image(home.path(), "swap", testmedia::cd_image_of({1.0, 1.0}));
  EXPECT_EQ(mci("status cd media present"), "true");
  EXPECT_EQ(mci("status cd number of tracks"), "2");
  EXPECT_FALSE(mci_cd_take_refusal(&told));
  EXPECT_EQ(mci_error("close cd"), 0u);
}

// MSF has room for 255 minutes: a longer image answers the largest time.
TEST(CdAudioLong, AnImagePastTwoHundredFiftyFiveMinutesAnswersTheLargestMsf) {
  TempHome home;
  std::ofstream(home.file("long.cue")) << "FILE \"long.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
  std::ofstream(home.file("long.bin")).close();
  std::filesystem::resize_file(home.file("long.bin"), std::uint64_t{260} * 60 * 75 * 2352);  // a hole: no disk
  ASSERT_EQ(mci_error("open \"" + home.file("long.cue") + "\" type cdaudio alias long"), 0u);
  EXPECT_EQ(mci("set long time format msf"), "");
  EXPECT_EQ(mci("status long length"), "255:59:74");
  EXPECT_EQ(mci("seek long to end"), "");
  EXPECT_EQ(mci("status long position"), "255:59:74");
  EXPECT_EQ(mci("set long time format milliseconds"), "");
  EXPECT_EQ(mci("status long length"), "15600000");
  EXPECT_EQ(mci_error("close long"), 0u);
}

}  // namespace
