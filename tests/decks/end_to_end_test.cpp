// The running program on the real-time null device: files opened through the
// popup menus and the file dialog, played to their end by the buttons, as the
// trace file and the LCDs show it.
#include <chrono>

#include "deck_fixture.h"
#include "platform/audio/engine.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "resources/ids/menus.h"
#include "skin/layout.h"
#include "skin/rack_state.h"
#include "support/env_override.h"

namespace {

// A click in the middle of a rack button.
void press_button(WORD id) { ui_test::click(GetDlgItem(main_window, id), 5, 5); }

// A click on a painted area of a module (its click areas are strict inside).
void click_area(Module module, const Rect& r) {
  ui_test::click(main_window, r.left + r.width / 2, module_top(module) + r.top + r.height / 2);
}

bool has_line(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines)
    if (line == text) return true;
  return false;
}

}  // namespace

TEST_F(DeckTest, FilesOpenedFromTheMenusPlayToTheirEndInRealTime) {
  EnvOverride device("QUORVIN_AUDIO", "null");
  const std::string trace = home.file("trace.txt");
  EnvOverride tracing("QUORVIN_TRACE", trace.c_str());
  const std::string song = wav("song.wav", 0.6), tune = midi("tune.mid", 6);
  double midi_seconds = 0;
  run_rack(
      [&] {
        ui_test::choose_menu_item(IDM_TAPE1_OPEN);
        ui_test::answer_file_dialog(song);
        click_area(Module::Wave, kWaveDeckFaces[0].menu);
        ASSERT_TRUE(ui_test::pump_until([] { return wave_deck(1).loaded(); }, 2000));
        click_area(Module::Wave, kWaveDeckFaces[0].lcd);  // the information view
        ASSERT_TRUE(ui_test::pump_until([] { return wave_deck(1).info_view == 1; }, 2000));
        press_button(CMD_WAVE_PLAY);
        EXPECT_EQ(wave_deck(1).state, kPlaying);
        EXPECT_TRUE(ui_test::pump_until([] { return wave_deck(1).state == kStopped; }, 3000));
        // Back at the start: the cyan "00:00" in the inner half, the bar all black.
        const Rect& lcd = kWaveDeckFaces[0].lcd;
        EXPECT_GT(count_pixels(Module::Wave, {lcd.left + lcd.width / 2, lcd.top + 28, lcd.width / 2, 14}, kCyan), 0);
        EXPECT_GT(count_pixels(Module::Wave, {lcd.left, lcd.top, lcd.width, 14}, kYellow), 0);
        EXPECT_EQ(count_not(Module::Wave, kWaveDeckFaces[0].bar, kBlack), 0);

        ui_test::choose_menu_item(IDM_MIDI_OPEN);
        ui_test::answer_file_dialog(tune);
        click_area(Module::Midi, kMidiDeckFace.menu);
        ASSERT_TRUE(ui_test::pump_until([] { return midi_deck.loaded(); }, 2000));
        click_area(Module::Midi, kMidiDeckFace.display);
        const auto start = std::chrono::steady_clock::now();
        press_button(CMD_MIDI_PLAY);
        EXPECT_TRUE(ui_test::pump_until([] { return midi_deck.state == kStopped; }, 6000));
        midi_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_GT(count_pixels(Module::Midi, kMidiDeckFace.lcd, kYellow), 0);
        EXPECT_GT(count_pixels(Module::Midi, kMidiDeckFace.lcd, kCyan), 0);
        close_rack();
      },
      20000);
  // 2 s of music and its ring-out, whenever the font was ready.
  EXPECT_GT(midi_seconds, 2.2);
  EXPECT_LT(midi_seconds, 4.0);
  const auto mci = trace_lines(trace, "mci \"");
  EXPECT_TRUE(has_line(mci, "mci \"open \"" + song + "\" type waveaudio alias tape1\" -> 0"));
  EXPECT_TRUE(has_line(mci, "mci \"play tape1 notify\" -> 0"));
  EXPECT_TRUE(has_line(mci, "mci \"seek tape1 to start\" -> 0"));
  EXPECT_TRUE(has_line(mci, "mci \"play mymidi notify\" -> 0"));
  EXPECT_TRUE(has_line(mci, "mci \"seek mymidi to start\" -> 0"));
  EXPECT_TRUE(has_line(mci, "mci \"close mymidi\" -> 0"));
}

// After the test above: this one leaves the process on the silent replacement device.
TEST_F(DeckTest, ASoundDeviceThatFailsStopsTheWaveDeckWhereItWas) {
  EnvOverride device("QUORVIN_AUDIO", "null");
  const std::string song = wav("song.wav", 3.0);
  write_playlist(DeckKind::Wave, {song, song});
  run_rack([&] {
    playlist_of(wave_deck(1)).mode = 1;
    command(CMD_WAVE_PLAY);
    ASSERT_EQ(wave_deck(1).state, kPlaying);
    ui_test::pump(400);
    audio::fail_output_for_testing("unplugged");
    EXPECT_TRUE(ui_test::pump_until([] { return wave_deck(1).state == kStopped; }, 3000));
    ui_test::pump(100);
    EXPECT_GT(read_position(wave_deck(1)), 0);
    EXPECT_EQ(wave_playlist_index, 0);
    EXPECT_EQ(playlist_of(wave_deck(1)).running, 0);
    close_rack();
  });
  ASSERT_FALSE(ui_test::boxes().empty());
  EXPECT_NE(ui_test::boxes()[0].text.find("unplugged"), std::string::npos);
}
