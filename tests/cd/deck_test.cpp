// The CD deck in the running program on generated disc images: loading and
// identity, transport, scanning, the end-of-entry rules, failed entries, the
// LCD and what the engine plays.
#include <gtest/gtest.h>

#include <chrono>

#include "cd/cd.h"
#include "cd/cd_commands.h"
#include "cd/cd_deck.h"
#include "cd/cd_display.h"
#include "cd_rack_fixture.h"
#include "platform/audio/engine.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "resources/ids/bitmaps.h"
#include "resources/ids/commands.h"
#include "skin/rack_state.h"
#include "support/env_override.h"
#include "support/rack_program.h"

namespace {

void close_rack() { PostMessageA(main_window, WM_CLOSE, 0, 0); }

bool lcd_shows(int track, int minutes, int seconds) {
  const int figures[6] = {track / 10, track % 10, minutes / 10, minutes % 10, seconds / 10, seconds % 10};
  for (int cell = 0; cell < 6; ++cell)
    if (!lcd_cell_shows(cell, static_cast<WORD>(BMP_CD_DIGIT_0 + figures[cell]))) return false;
  return true;
}

bool stopped() { return device_mode() != MCI_MODE_PLAY; }

// Three audio tracks (5 s, 3 s, 4 s) and a data track.
testmedia::CdImage three_and_data() { return testmedia::cd_image_of({5.0, 3.0, 4.0}, 1); }

}  // namespace

TEST_F(CdRack, LoadsAtStartUpEvenWithThePanelHiddenAndNamesTheDisc) {
  // Each track 2 s and 40 frames: the frames would add up to more than a second.
  testmedia::CdImage image = testmedia::cd_image_of({2.0, 2.0, 2.0});
  for (auto& t : image.tracks) t.sectors += 40;
  use_disc(image);
  write_setting("Rack", "CDAudioOn", "NO");
  run_rack([&] {
    EXPECT_EQ(cd_ready(), 1);
    EXPECT_EQ(cd.identity, "03-0006-0002-0002");
    EXPECT_EQ(cd.repeat_mode, kRepeatOff);
    EXPECT_EQ(list_length(cd.normal), 3);
    close_rack();
  });
  const auto strings = mci_strings();
  ASSERT_GE(strings.size(), 3u);
  EXPECT_EQ(strings.front(), "open cdaudio");
  EXPECT_EQ(strings[strings.size() - 2], "stop cdaudio");
  EXPECT_EQ(strings.back(), "close cdaudio");
}

TEST_F(CdRack, TheEngineCarriesTrackTwosToneWhileTrackTwoPlays) {
  use_disc(three_and_data());
  std::vector<float> left;
  run_rack([&] {
    command(CMD_CD_NEXT);
    command(CMD_CD_PLAY);
    audio::set_output_tap([&left](const float* stereo, std::size_t frames) {
      for (std::size_t i = 0; i < frames; ++i) left.push_back(stereo[2 * i]);
    });
    audio::run_fast(audio::kEngineRate);
    audio::set_output_tap(nullptr);
    close_rack();
  });
  ASSERT_GT(left.size(), 40000u);
  std::size_t first = 0, last = 0;
  int cycles = -1;
  for (std::size_t i = 1; i < left.size(); ++i)
    if (left[i - 1] < 0 && left[i] >= 0) {
      if (cycles < 0) first = i;
      last = i;
      ++cycles;
    }
  ASSERT_GT(last, first);
  EXPECT_NEAR(cycles * 44100.0 / static_cast<double>(last - first), testmedia::cd_image_frequency(1), 3.0);
}

TEST_F(CdRack, PreviousAtTwoSecondsGoesToTheLastEntryAndAtThreeRestarts) {
  use_disc(three_and_data());
  run_rack([&] {
    cd_send("seek cdaudio to 1:0:3");
    command(CMD_CD_PREVIOUS);
    EXPECT_EQ(cd.index, 0);
    cd_send("seek cdaudio to 1:0:2");
    command(CMD_CD_PREVIOUS);
    EXPECT_EQ(cd.index, 3);
    EXPECT_EQ(current_entry(), 4);
    command(CMD_CD_NEXT);
    EXPECT_EQ(cd.index, 0) << "Next wraps";
    close_rack();
  });
  EXPECT_TRUE(sent("seek cdaudio to 4"));
}

TEST_F(CdRack, ScansStayInsideTheTrackAlsoAcrossAMinute) {
  use_disc(testmedia::cd_image_of({62.0}));
  run_rack([&] {
    cd_send("play cdaudio from 1:0:58 to 1:1:2 notify", main_window);
    clear_trace();
    cd_scan_forward(main_window, WM_COMMAND, CMD_CD_FORWARD, 0);
    EXPECT_TRUE(sent("play cdaudio from 1:1:2 to 1:1:2 notify"));
    clear_trace();
    cd_send("play cdaudio from 1:0:50 to 1:1:2 notify", main_window);
    cd_scan_forward(main_window, WM_COMMAND, CMD_CD_FORWARD, 0);
    EXPECT_TRUE(sent("play cdaudio from 1:0:55 to 1:1:2 notify"));
    clear_trace();
    cd_send("play cdaudio from 1:0:3 to 1:1:2 notify", main_window);
    cd_scan_back(main_window, WM_COMMAND, CMD_CD_REWIND, 0);
    EXPECT_TRUE(sent("play cdaudio from 1:0:0 to 1:1:2 notify"));
    clear_trace();
    cd_send("play cdaudio from 1:1:1 to 1:1:2 notify", main_window);
    cd_scan_back(main_window, WM_COMMAND, CMD_CD_REWIND, 0);
    EXPECT_TRUE(sent("play cdaudio from 1:0:56 to 1:1:2 notify"));
    command(CMD_CD_STOP);
    clear_trace();
    cd_scan_forward(main_window, WM_COMMAND, CMD_CD_FORWARD, 0);
    EXPECT_TRUE(mci_strings().empty()) << "nothing while stopped";
    close_rack();
  });
}

TEST_F(CdRack, PauseTwiceResumesFromThePausedSecond) {
  use_disc(three_and_data());
  run_rack([&] {
    command(CMD_CD_PLAY);
    audio::run_fast(audio::kEngineRate * 2 + 100);
    command(CMD_CD_PAUSE);
    EXPECT_EQ(cd.paused, 1);
    clear_trace();
    command(CMD_CD_PAUSE);
    ui_test::pump_until([] { return device_mode() == MCI_MODE_PLAY; }, 1000);
    EXPECT_EQ(cd.paused, 0);
    const Position p = playing_position();
    EXPECT_EQ(p.track, 1);
    EXPECT_EQ(p.seconds, 2);
    close_rack();
  });
  EXPECT_TRUE(sent("play cdaudio to 1:0:5 notify"));
}

TEST_F(CdRack, EjectTwiceOnAnImageAndTheNextTickReloads) {
  use_disc(three_and_data());
  run_rack([&] {
    command(CMD_CD_EJECT);
    EXPECT_EQ(cd_ready(), 0);
    EXPECT_EQ(cd.door_opened, 1);
    EXPECT_EQ(list_length(cd.normal), 0);
    command(CMD_CD_EJECT);
    EXPECT_EQ(cd.door_opened, 0);
    EXPECT_TRUE(ui_test::pump_until([] { return cd_ready() == 1; }, 2000)) << "the tick loads the disc";
    EXPECT_EQ(list_length(cd.normal), 4);
    close_rack();
  });
  EXPECT_TRUE(sent("set cdaudio door open"));
  EXPECT_TRUE(sent("set cdaudio door closed"));
}

TEST_F(CdRack, ADataTrackStopsTheDeckInRepeatOne) {
  use_disc(three_and_data());
  run_rack([&] {
    command(CMD_CD_REPEAT);
    ASSERT_EQ(cd.repeat_mode, kRepeatOne);
    cd.index = 3;
    command(CMD_CD_PLAY);
    EXPECT_EQ(cd.play_failed, 1);
    ui_test::pump(2 * kFailedEndDelayMs + 100);
    EXPECT_EQ(cd.index, 3);
    EXPECT_EQ(cd.play_failed, 0);
    close_rack();
  });
  EXPECT_TRUE(sent("seek cdaudio to 4"));
}

TEST_F(CdRack, StopWhileAFailedEntrysEndIsPendingEndsIt) {
  use_disc(three_and_data());
  run_rack([&] {
    cd.index = 3;
    command(CMD_CD_PLAY);
    command(CMD_CD_STOP);
    clear_trace();
    ui_test::pump(3 * kFailedEndDelayMs);
    EXPECT_EQ(cd.index, 0);
    for (const std::string& s : mci_strings()) EXPECT_NE(s.rfind("play", 0), 0u) << s;
    close_rack();
  });
}

TEST_F(CdRack, ADiscWithoutAudioCyclesInRepeatAllAtAPace) {
  use_disc(testmedia::cd_image_of({}, 3));
  run_rack([&] {
    command(CMD_CD_REPEAT);
    command(CMD_CD_REPEAT);
    ASSERT_EQ(cd.repeat_mode, kRepeatAll);
    clear_trace();
    const auto started = std::chrono::steady_clock::now();
    command(CMD_CD_PLAY);
    const auto count_plays = [this] {
      int plays = 0;
      for (const std::string& s : mci_strings()) plays += s.rfind("play", 0) == 0;
      return plays;
    };
    // Timers can come late on a loaded machine, never early: wait for the
    // cycling, then check it was paced.
    for (int i = 0; i < 500 && count_plays() < 4; ++i) ui_test::pump(10);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    const int plays = count_plays();
    EXPECT_GE(plays, 4) << "it keeps cycling";
    EXPECT_LE(plays, static_cast<int>(elapsed.count()) / static_cast<int>(kFailedEndDelayMs) + 2) << "paced, not spinning";
    command(CMD_CD_EJECT);
    close_rack();
  });
}

TEST_F(CdRack, RandomPlaysAPermutationAndTheGridTurnsItsPageAt16) {
  std::vector<double> twenty(20, 1.0);
  use_disc(testmedia::cd_image_of(twenty));
  run_rack([&] {
    command(CMD_CD_SHUFFLE);
    EXPECT_EQ(cd.play_mode, kPlayRandom);
    EXPECT_EQ(cd.current, &cd.random);
    EXPECT_EQ(list_length(cd.random), 20);
    command(CMD_CD_STOP);
    cd.index = 15;
    draw_grid_and_title();
    EXPECT_GT(grid_red_pixels(15), 0);
    EXPECT_EQ(grid_red_pixels(0), 0);
    cd.index = 16;
    draw_grid_and_title();
    EXPECT_GT(grid_red_pixels(0), 0) << "the second page starts at index 16";
    EXPECT_EQ(grid_red_pixels(15), 0);
    command(CMD_CD_SHUFFLE);
    EXPECT_EQ(cd.play_mode, kPlayNormal);
    EXPECT_EQ(cd.current, &cd.normal);
    close_rack();
  });
}

TEST_F(CdRack, StoredTitlesCutToLengthAndAStoredProgram) {
  use_disc(three_and_data());
  write_setting("04-0014-0005-0002", "TRACKS", "4");
  write_setting("04-0014-0005-0002", "TITLE", "Evening Concert");
  write_setting("04-0014-0005-0002", "TRACK02", "Nocturne");
  write_setting("04-0014-0005-0002", "LENGTH", "7");
  write_setting("04-0014-0005-0002", "LIST", " 5 2 0 9 3");
  run_rack([&] {
    EXPECT_EQ(cd.identity, "04-0014-0005-0002");
    EXPECT_EQ(cd.titled, 1);
    EXPECT_EQ(cd_disc_title(), "Evening");
    EXPECT_EQ(cd_track_title(2), "Nocturn");
    EXPECT_EQ(list_length(cd.program), 2);
    EXPECT_EQ(cd.program[0], 2);
    EXPECT_EQ(cd.program[1], 3);
    close_rack();
  });
}

TEST_F(CdRack, CdTextShowsWhereStoredTitlesWouldAndNothingIsWritten) {
  testmedia::CdImage image = three_and_data();
  image.title = "Harbour Lights";
  image.tracks[1].title = "Tide";
  use_disc(image);
  run_rack([&] {
    EXPECT_EQ(cd.titled, 0);
    EXPECT_EQ(cd_disc_title(), "Harbour Lights");
    EXPECT_EQ(cd_track_title(2), "Tide");
    close_rack();
  });
  EXPECT_EQ(read_setting("04-0014-0005-0002", "TITLE"), "<missing>");
}

TEST_F(CdRack, WithoutADiscDashesAndPlayNamesTheRefusedImageOnce) {
  setenv("QUORVIN_CDROM", home_.file("missing.cue").c_str(), 1);
  run_rack([&] {
    ui_test::script_ui();
    EXPECT_EQ(cd_ready(), 0);
    for (int cell = 0; cell < 6; ++cell) EXPECT_TRUE(lcd_cell_shows(cell, BMP_CD_DIGIT_DASH)) << cell;
    ui_test::pump(600);  // the tick retries the open
    command(CMD_CD_PLAY);
    command(CMD_CD_PLAY);
    ASSERT_EQ(ui_test::boxes().size(), 2u);
    EXPECT_NE(ui_test::boxes()[0].text.find("missing.cue\" does not exist"), std::string::npos)
        << ui_test::boxes()[0].text;
    EXPECT_EQ(ui_test::boxes()[1].text, "Audio CD not ready or not present.");
    command(CMD_CD_REPEAT);
    EXPECT_EQ(cd.repeat_mode, kRepeatOne) << "Repeat cycles without a disc";
    close_rack();
  });
}

TEST_F(CdRack, APlayTheDeviceEndsWithoutSuccessLeavesNoPlayingIconBehind) {
  use_disc(three_and_data());
  run_rack([&] {
    command(CMD_CD_PLAY);
    EXPECT_TRUE(state_icon_shows_playing());
    cd_send("stop cdaudio");  // as a failed sound device ends it: no successful end
    cd_tick();
    EXPECT_FALSE(state_icon_shows_playing());
    EXPECT_EQ(cd.index, 0);
    close_rack();
  });
}

TEST_F(CdRack, SwitchingThePanelOffStopsTheDisc) {
  use_disc(three_and_data());
  run_rack([&] {
    command(CMD_CD_PLAY);
    EXPECT_EQ(device_mode(), MCI_MODE_PLAY);
    command(CMD_CD_MODULE);
    EXPECT_EQ(cd_audio_on, 0);
    EXPECT_NE(device_mode(), MCI_MODE_PLAY);
    EXPECT_EQ(cd.index, 0);
    close_rack();
  });
  EXPECT_TRUE(sent("stop cdaudio"));
}

TEST_F(CdRack, PlaysThroughTheDiscInRealTimeOnTheNullDevice) {
  use_disc(testmedia::cd_image_of({1.5, 1.5, 1.5}, 1));
  EnvOverride realtime("QUORVIN_AUDIO", "null");
  audio::shutdown();
  bool saw_track_two = false;
  run_rack(
      [&] {
        ASSERT_EQ(audio::device_kind(), audio::DeviceKind::NullRealtime);
        command(CMD_CD_PLAY);
        // The tick shows track 2 while it plays, then the deck stands at track 1.
        saw_track_two = ui_test::pump_until([] { return cd.index == 1 && lcd_shows(2, 0, 0); }, 4000);
        EXPECT_TRUE(ui_test::pump_until([] { return cd.index == 0 && stopped(); }, 8000));
        ui_test::pump(300);
        EXPECT_TRUE(lcd_shows(1, 0, 0));
        close_rack();
      },
      20000);
  audio::shutdown();  // the next test starts the fast device again
  EXPECT_TRUE(saw_track_two);
  const std::vector<std::string> expected = {
      "play cdaudio from 1:0:0 to 1:0:1 notify", "play cdaudio from 2:0:0 to 2:0:1 notify",
      "play cdaudio from 3:0:0 to 3:0:1 notify", "play cdaudio from 4:0:0 to 4:0:2 notify", "seek cdaudio to 1"};
  std::vector<std::string> plays;
  for (const std::string& s : mci_strings())
    if (s.rfind("play", 0) == 0 || s.rfind("seek cdaudio to", 0) == 0) plays.push_back(s);
  EXPECT_EQ(plays, expected);
}
