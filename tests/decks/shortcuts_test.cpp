// The recording shortcuts: one-touch recording (7028) and the recording
// control that 7027 starts through WinExec.
#include "mixer/mixer.h"
#include "mixer/mixer_channels.h"
#include "platform/audio/engine.h"
#include "platform/audio/media.h"
#include "platform/ui/windows.h"
#include "media/disc_image.h"
#include "recording_fixture.h"
#include "resources/ids/commands.h"
#include "resources/ids/dialogs.h"
#include "resources/ids/menus.h"
#include "support/env_override.h"

namespace {

void new_recording() {
  ui_test::on_dialog([](HWND d) { ui_test::click_control(d, IDOK); });
  command(IDM_TAPE2_NEW);
}

// Deck 1 active: nothing. Deck 2 active: record, and the MIDI deck and the
// CD play, which the rack's own output records.
TEST_F(RecordingTest, OneTouchRecordsWhatTheMidiDeckAndTheCdPlay) {
  EnvOverride source("QUORVIN_RECORD_SOURCE", "rack");
  // A track far above the MIDI deck's notes, so that each is heard apart.
  constexpr double kCdTone = 2000.0;
  testmedia::CdImage image;
  image.tracks.emplace_back().frequency = kCdTone;
  const std::string cue = testmedia::write_cd_image(home.path(), "disc", image);
  EnvOverride disc("QUORVIN_CDROM", cue.c_str());
  const std::string tune = midi("tune.mid", 6), saved = home.file("one-touch.wav");
  run_rack([&] {
    load(midi_deck, tune);
    new_recording();
    command(CMD_ACTIVATE_TAPE1);
    command(CMD_ONE_TOUCH_RECORD);
    EXPECT_EQ(wave_deck(2).state, kStopped);
    EXPECT_EQ(midi_deck.state, kStopped);
    EXPECT_EQ(audio::line_peak(audio::Line::CD), 0.0f);

    command(CMD_ACTIVATE_TAPE2);
    command(CMD_ONE_TOUCH_RECORD);
    EXPECT_EQ(wave_deck(2).state, kRecording);
    EXPECT_EQ(midi_deck.state, kPlaying);
    play_for(1000);
    command(CMD_WAVE_RECORD);
    ui_test::answer_file_dialog(saved);
    command(IDM_TAPE2_SAVE);
    close_rack();
  });
  int channels = 0;
  const auto samples = audio_test::read_all(saved, &channels);
  ASSERT_EQ(channels, 2);
  EXPECT_GT(audio_test::tone_level(samples, 2, 0, 44100, kCdTone), 0.2) << "the CD track";
  EXPECT_GT(audio_test::tone_level(samples, 2, 0, 44100, 261.63), 0.002) << "the MIDI deck's middle C";
  EXPECT_LT(audio_test::tone_level(samples, 2, 0, 44100, 700.0), 0.0002) << "and nothing else";
  EXPECT_LT(audio_test::tone_level(samples, 2, 0, 44100, kInputTone), 0.002) << "not the capture device";
}

// 7027 opens the recording control: the source it shows and stores, the line
// volume and mute the mixer panel follows, and a meter that hears the input.
TEST_F(RecordingTest, TheRecordingControlSetsTheSourceAndTheMixersInputs) {
  std::string meter, state_before;
  bool capture_checked = false, rack_checked = false;
  DWORD line_before = 0, line_after = 0;
  run_rack([&] {
    line_before = mixer_channels[kLineChannel].value_left;
    ui_test::on_dialog([&](HWND d) {
      capture_checked = ui_test::is_checked(d, IDC_SOURCE_CAPTURE);
      state_before = ui_test::control_text(d, IDC_CAPTURE_STATE);
      // On the fast device the input runs only while the engine is run.
      for (int i = 0; i < 20 && ui_test::control_text(d, IDC_INPUT_METER).find("dB") == std::string::npos; ++i) {
        play_for(100);
        ui_test::pump(120);
      }
      meter = ui_test::control_text(d, IDC_INPUT_METER);
      ui_test::click_control(d, IDC_LINE_DOWN);
      ui_test::click_control(d, IDC_LINE_MUTE);
      ui_test::click_control(d, IDC_SOURCE_RACK);
      rack_checked = ui_test::is_checked(d, IDC_SOURCE_RACK) && !ui_test::is_checked(d, IDC_SOURCE_CAPTURE);
      ui_test::pump(50);
      line_after = mixer_channels[kLineChannel].value_left;
      ui_test::click_control(d, IDCANCEL);
    });
    command(CMD_RECORDING_INPUT);
    EXPECT_EQ(mixer_channels[kLineChannel].mute, 1u) << "the mixer panel follows the mute";
    EXPECT_FALSE(audio::capture_active()) << "the meter's capture ends with the window";
    close_rack();
  });
  EXPECT_TRUE(capture_checked);
  EXPECT_EQ(state_before, "Records from the capture device.");
  EXPECT_NE(meter.find("-6 dB"), std::string::npos) << meter;  // the test tone's amplitude is 0.5
  EXPECT_LT(line_after, line_before);
  EXPECT_TRUE(rack_checked);
  EXPECT_EQ(audio::record_source(), audio::RecordSource::RackOutput);
}

}  // namespace
