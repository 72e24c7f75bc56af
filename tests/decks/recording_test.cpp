// Recording on deck 2 through the rack: the format dialog and its settings,
// the pending recording's lamp, takes like a tape's, recording over an opened
// file, Save..., the recording's content, a full disk and a missing device.
#include <sndfile.h>

#include <filesystem>

#include "decks/record_face.h"
#include "decks/record_format.h"
#include "platform/audio/engine.h"
#include "platform/audio/media.h"
#include "platform/audio/recorder.h"
#include "platform/ui/windows.h"
#include "recording_fixture.h"
#include "resources/ids/commands.h"
#include "resources/ids/dialogs.h"
#include "resources/ids/menus.h"
#include "skin/buttons.h"
#include "skin/layout.h"
#include "skin/rack_state.h"
#include "support/env_override.h"
#include "support/file_size_limit.h"

namespace {

namespace fs = std::filesystem;

constexpr double kBlockMs = 4096.0 * 1000 / 44100;  // the engine's longest block

// New... with the dialog answered by `script` (which presses OK or Cancel).
void new_recording_with(std::function<void(HWND)> script) {
  ui_test::on_dialog(std::move(script));
  command(IDM_TAPE2_NEW);
}
void new_recording_ok() { new_recording_with([](HWND d) { ui_test::click_control(d, IDOK); }); }

QImage wave_area(const Rect& a) {
  return ui_test::client_image(main_window).copy(a.left, wave_top + a.top, a.width, a.height);
}

long position(int number) { return read_position(wave_deck(number)); }

SF_INFO info_of(const std::string& path) {
  SF_INFO info{};
  if (SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info)) sf_close(f);
  return info;
}

TEST(CustomRate, KilohertzToHertzWithin8000To48000) {
  EXPECT_EQ(custom_rate_hz("8"), 8000);
  EXPECT_EQ(custom_rate_hz("48"), 48000);
  EXPECT_EQ(custom_rate_hz("11.025"), 11025) << "not cut to 11024";
  for (const char* refused : {"48.001", "7.999", "", "fast", "1e400", "nan"})
    EXPECT_EQ(custom_rate_hz(refused), std::nullopt) << refused;
}

// With no settings the dialog offers 44.1 kHz, 16 bits, stereo. A custom rate
// out of range keeps it open with the box and the focus on the rate; 8 kHz
// mono 8-bit is then made, active and pending, and the choice (not the rate)
// is there the next time; Cancel changes nothing.
TEST_F(RecordingTest, TheFormatDialogMakesTheChosenRecordingAndKeepsTheChoice) {
  bool defaults = false, still_open = false, focus_on_rate = false, kept = false;
  run_rack([&] {
    new_recording_with([&](HWND d) {
      defaults = ui_test::is_checked(d, IDC_RATE_44100) && ui_test::is_checked(d, IDC_SIZE_16) &&
                 ui_test::is_checked(d, IDC_STEREO);
      ui_test::click_control(d, IDC_RATE_CUSTOM);
      ui_test::click_control(d, IDC_SIZE_8);
      ui_test::click_control(d, IDC_MONO);
      ui_test::set_text(d, IDC_CUSTOM_RATE, "48.001");
      ui_test::click_control(d, IDOK);
      still_open = IsWindow(d) && !ui_test::is_checked(d, IDC_RATE_44100) && ui_test::is_checked(d, IDC_RATE_CUSTOM);
      focus_on_rate = ui_test::has_focus(d, IDC_CUSTOM_RATE);
      ui_test::set_text(d, IDC_CUSTOM_RATE, "8");
      ui_test::click_control(d, IDOK);
    });
    const Deck& deck = wave_deck(2);
    EXPECT_STREQ(deck.file_name(), "UNTITLED.WAV");
    EXPECT_EQ(deck.format.samples_per_second, 8000);
    EXPECT_EQ(deck.format.bits_per_sample, 8);
    EXPECT_EQ(deck.format.channels, 1);
    EXPECT_EQ(active_wave_deck, 2);
    EXPECT_EQ(new_recording_pending, 1);
    new_recording_with([&](HWND d) {
      kept = ui_test::is_checked(d, IDC_RATE_CUSTOM) && ui_test::is_checked(d, IDC_MONO) &&
             ui_test::control_text(d, IDC_CUSTOM_RATE).empty();
      ui_test::click_control(d, IDCANCEL);
    });
    EXPECT_EQ(deck.format.samples_per_second, 8000);
    close_rack();
  });
  EXPECT_TRUE(defaults);
  EXPECT_TRUE(still_open);
  EXPECT_TRUE(focus_on_rate);
  EXPECT_TRUE(kept);
  ASSERT_EQ(ui_test::boxes().size(), 1u);
  EXPECT_EQ(ui_test::boxes()[0].text, "Invalid Sampling Rate!");
  EXPECT_EQ(ui_test::boxes()[0].caption, "ERROR");
  EXPECT_EQ(read_setting("Rack", "SampRate"), "1012");
  EXPECT_EQ(read_setting("Rack", "SampSize"), "1014");
  EXPECT_EQ(read_setting("Rack", "Channels"), "1016");
}

// The pending recording blinks the lamp and sends the transport to deck 1;
// Record starts at 0:00, lights the face and ends the blinking; Record again
// stops, rewinds and shows the length; a third take records over the first
// from 0:00 and the length is the longer of the two.
TEST_F(RecordingTest, TakesRecordLikeATape) {
  const std::string song = wav("deck1.wav", 2.0);
  int blinks = 0;
  run_rack([&] {
    const ButtonRow& record = *find_button(CMD_WAVE_RECORD);
    load(wave_deck(1), song);
    new_recording_ok();
    QImage seen = wave_area(kWaveDeckFaces[1].lamp);
    for (int i = 0; i < 20 && blinks < 3; ++i) {
      ui_test::pump(150);
      const QImage now = wave_area(kWaveDeckFaces[1].lamp);
      blinks += now != seen;
      seen = now;
    }
    command(CMD_WAVE_PLAY);
    EXPECT_EQ(wave_deck(1).state, kPlaying) << "the transport serves deck 1 while deck 2 waits";
    command(CMD_WAVE_STOP);

    const Deck& deck = wave_deck(2);
    const Rect face = {record.left, record.top, record.width, record.height};
    const QImage before = wave_area(face);
    command(CMD_WAVE_RECORD);
    EXPECT_EQ(deck.state, kRecording);
    EXPECT_EQ(deck.modified, 1);
    EXPECT_EQ(record_flag, 1);
    EXPECT_EQ(new_recording_pending, 0);
    EXPECT_NE(wave_area(face), before) << "the Record face lights";
    play_for(1000);
    ui_test::pump(300);
    EXPECT_EQ(count_pixels(Module::Wave, kWaveDeckFaces[1].bar, RGB(255, 0, 0)),
              kWaveDeckFaces[1].bar.width * kWaveDeckFaces[1].bar.height) << "an all-red bar";
    ui_test::answer_file_dialog(home.file("so far.wav"));
    command(IDM_TAPE2_SAVE);
    EXPECT_EQ(deck.state, kRecording) << "Save... does not stop the take";
    EXPECT_EQ(deck.modified, 1) << "what the take records next is not saved yet";
    command(CMD_WAVE_RECORD);
    EXPECT_EQ(deck.state, kStopped);
    EXPECT_EQ(record_flag, 0);
    EXPECT_EQ(position(2), 0);
    EXPECT_NEAR(deck.length_ms, 1000, kBlockMs);
    const long first = deck.length_ms;

    record_take(400);
    EXPECT_EQ(deck.length_ms, first) << "a shorter take from 0:00 keeps the length";
    command(CMD_ACTIVATE_TAPE2);
    command(CMD_WAVE_PLAY);  // deck 2 plays from 0:00
    play_for(200);
    command(CMD_WAVE_RECORD);  // stops the play, records from where it stopped
    play_for(1500);
    command(CMD_WAVE_RECORD);
    EXPECT_NEAR(deck.length_ms, first + 700, 2 * kBlockMs) << "a take past the end grows it";
    close_rack_declining();
  });
  EXPECT_GE(blinks, 3) << "the lamp blinks every 300 ms while the recording waits";
}

// A file opened into deck 2 records over its own sound and stays as it was
// until Save... replaces it; Save... proposes the deck's name in its folder.
TEST_F(RecordingTest, AnOpenedFileIsUntouchedUntilSaveReplacesIt) {
  const std::string song = wav("song.wav", 1.0, 22050, 1, 16);
  const std::string original = file_contents(song);
  run_rack([&] {
    ASSERT_TRUE(load(wave_deck(2), song));
    record_take(300);
    EXPECT_EQ(wave_deck(2).modified, 1);
    EXPECT_EQ(file_contents(song), original);
    ui_test::answer_file_dialog(song);
    ui_test::answer_box(IDYES);  // replace it
    command(IDM_TAPE2_SAVE);
    EXPECT_EQ(wave_deck(2).modified, 0);
    EXPECT_EQ(wave_deck(2).path, song);
    close_rack();
  });
  EXPECT_NE(file_contents(song), original);
  const SF_INFO info = info_of(song);
  EXPECT_EQ(info.samplerate, 22050);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.frames, 22050) << "the take lies inside the second";
  const auto samples = audio_test::read_all(song);
  const std::vector<float> taken(samples.begin() + 1000, samples.begin() + 5000);
  const std::vector<float> kept(samples.begin() + 9000, samples.end());
  EXPECT_NEAR(audio_test::tone_level(taken, 1, 0, 22050, kInputTone), 0.5, 0.02);
  EXPECT_NEAR(audio_test::tone_level(kept, 1, 0, 22050, kFileTone), 0.5, 0.02);
  ASSERT_EQ(ui_test::file_dialogs().size(), 1u);
  EXPECT_EQ(ui_test::file_dialogs()[0].initial_dir, home.path() + "/");
}

// A known tone, recorded in the chosen format and saved under a bare name:
// ".wav" is added, and the file holds the format, the length and the tone.
TEST_F(RecordingTest, ASavedRecordingHoldsTheToneInTheChosenFormat) {
  const std::string bare = home.file("take");
  run_rack([&] {
    new_recording_with([](HWND d) {
      ui_test::click_control(d, IDC_RATE_22050);
      ui_test::click_control(d, IDC_MONO);
      ui_test::click_control(d, IDOK);
    });
    record_take(1000);
    ui_test::answer_file_dialog(bare);
    command(IDM_TAPE2_SAVE);
    EXPECT_EQ(wave_deck(2).path, bare + ".wav");
    EXPECT_STREQ(wave_deck(2).file_name(), "take.wav");
    close_rack();
  });
  ASSERT_EQ(ui_test::file_dialogs().size(), 1u);
  EXPECT_EQ(ui_test::file_dialogs()[0].initial_dir, "") << "a new recording has no folder yet";
  const SF_INFO info = info_of(bare + ".wav");
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  EXPECT_EQ(info.samplerate, 22050);
  EXPECT_EQ(info.channels, 1);
  EXPECT_NEAR(static_cast<double>(info.frames) * 1000 / 22050, 1000.0, kBlockMs);
  const auto samples = audio_test::read_all(bare + ".wav");
  const std::vector<float> middle(samples.begin() + 2000, samples.end() - 2000);
  EXPECT_NEAR(audio_test::tone_level(middle, 1, 0, 22050, kInputTone), 0.5, 0.02);
  EXPECT_LT(audio_test::tone_level(middle, 1, 0, 22050, kInputTone * 1.5), 0.01) << "and no other";
}

// A disk that fills ends the take on the next tick: the deck stops as Record
// stops it, the user is told, and what fitted stays recorded.
TEST_F(RecordingTest, AFullDiskEndsTheTakeAndSaysSo) {
  run_rack([&] {
    new_recording_ok();
    {
      FileSizeLimit limit(64 * 1024);
      command(CMD_WAVE_RECORD);
      play_for(1000);
      ui_test::pump_until([] { return wave_deck(2).state != kRecording; }, 1000);
    }
    const Deck& deck = wave_deck(2);
    EXPECT_EQ(deck.state, kStopped);
    EXPECT_EQ(record_flag, 0);
    EXPECT_EQ(deck.modified, 1);
    EXPECT_GT(deck.length_ms, 300);
    EXPECT_LT(deck.length_ms, 380);
    close_rack_declining();
  });
  ASSERT_GE(ui_test::boxes().size(), 1u);
  EXPECT_NE(ui_test::boxes()[0].text.find("recording stopped"), std::string::npos) << ui_test::boxes()[0].text;
}

// A recording device unplugged during a take: the deck stops on the next tick
// and says which fault ended it; the recording is kept.
TEST_F(RecordingTest, AnUnpluggedRecordingDeviceEndsTheTakeAndSaysSo) {
  run_rack([&] {
    new_recording_ok();
    command(CMD_WAVE_RECORD);
    play_for(300);
    audio::fail_input_for_testing();
    ui_test::pump_until([] { return wave_deck(2).state != kRecording; }, 1000);
    const Deck& deck = wave_deck(2);
    EXPECT_EQ(deck.state, kStopped);
    EXPECT_EQ(record_flag, 0);
    EXPECT_EQ(deck.modified, 1);
    EXPECT_GT(deck.length_ms, 200);
    close_rack_declining();
  });
  ASSERT_GE(ui_test::boxes().size(), 1u);
  EXPECT_NE(ui_test::boxes()[0].text.find("recording device stopped working"), std::string::npos)
      << ui_test::boxes()[0].text;
}

// With the capture device chosen and none there, Record says which device is
// missing in the "MCI error" box and changes nothing.
TEST_F(RecordingTest, RecordWithoutTheCaptureDeviceChangesNothing) {
  audio::set_test_input(nullptr);
  EnvOverride source("QUORVIN_RECORD_SOURCE", "capture");
  run_rack([&] {
    new_recording_ok();
    command(CMD_WAVE_RECORD);
    const Deck& deck = wave_deck(2);
    EXPECT_EQ(deck.state, kStopped);
    EXPECT_EQ(deck.modified, 0);
    EXPECT_EQ(record_flag, 0);
    EXPECT_EQ(new_recording_pending, 1);
    close_rack();
  });
  ASSERT_EQ(ui_test::boxes().size(), 1u);
  EXPECT_EQ(ui_test::boxes()[0].caption, "MCI error");
  EXPECT_NE(ui_test::boxes()[0].text.find("capture device"), std::string::npos) << ui_test::boxes()[0].text;
}

}  // namespace
