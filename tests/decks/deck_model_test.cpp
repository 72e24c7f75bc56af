// Loading files into the decks: the Open dialog and its folder, reopening,
// failed opens, unquotable paths, and a playlist that steps over a broken item.
#include <filesystem>

#include "deck_fixture.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "resources/ids/menus.h"
#include "skin/rack_state.h"
#include "support/env_override.h"

namespace {

const Rect& lcd(int number) { return kWaveDeckFaces[number - 1].lcd; }
const Rect& bar(int number) { return kWaveDeckFaces[number - 1].bar; }

}  // namespace

TEST_F(DeckTest, OpenFromTheMenuTakesBlanksAndRemembersTheFolder) {
  std::filesystem::create_directories(home.file("my music"));
  const std::string path = wav("my music/a b.wav", 0.2);
  const std::string tune = midi("my music/tune.mid");
  run_rack([&] {
    ui_test::choose_menu_item(IDM_TAPE1_OPEN);
    ui_test::answer_file_dialog(path);
    command(CMD_TAPE1_MENU);
    ui_test::pump(30);
    ui_test::answer_file_dialog(tune);
    command(IDM_MIDI_OPEN);
    EXPECT_EQ(wave_deck(1).path, path);
    EXPECT_STREQ(wave_deck(1).file_name(), "a b.wav");
    EXPECT_NE(wave_deck(1).device, 0u);
    EXPECT_EQ(midi_deck.length_ms, 2000);
    close_rack();
  });
  ASSERT_EQ(ui_test::file_dialogs().size(), 2u);
  EXPECT_EQ(ui_test::file_dialogs()[0].initial_dir, "");
  EXPECT_EQ(ui_test::file_dialogs()[1].initial_dir, home.file("my music/"));
  EXPECT_EQ(read_setting("Directory", "LastDir"), home.file("my music/"));
}

TEST_F(DeckTest, ReopeningStopsAndClosesTheOldAliasFirst) {
  const std::string trace = home.file("trace.txt");
  EnvOverride tracing("QUORVIN_TRACE", trace.c_str());
  const std::string a = wav("a.wav", 0.2), b = wav("b.wav", 0.2);
  run_rack([&] {
    load(wave_deck(2), a);
    load(wave_deck(2), b);
    close_rack();
  });
  const auto lines = trace_lines(trace, "mci \"");
  auto at = [&](const std::string& text) {
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find(text) != std::string::npos) return static_cast<int>(i);
    return -1;
  };
  const int open_b = at("open \"" + b + "\" type waveaudio alias tape2");
  ASSERT_GT(open_b, 1);
  EXPECT_NE(lines[open_b - 2].find("\"stop tape2\""), std::string::npos);
  EXPECT_NE(lines[open_b - 1].find("\"close tape2\""), std::string::npos);
}

TEST_F(DeckTest, AFailedOpenLeavesTheDeckEmptyAndItsDisplayBlack) {
  const std::string trace = home.file("trace.txt");
  EnvOverride tracing("QUORVIN_TRACE", trace.c_str());
  const std::string good = wav("good.wav", 1.0), bad = broken("bad.wav"), quoted = wav("say \"hi\".wav", 0.2);
  run_rack([&] {
    Deck& deck = wave_deck(1);
    deck.info_view = 1;
    load(deck, good);
    command(CMD_WAVE_PLAY);
    play_for(400);
    playlist_of(deck).mode = 1;
    EXPECT_FALSE(load(deck, bad));
    EXPECT_EQ(deck.path, "");
    EXPECT_EQ(deck.device, 0u);
    EXPECT_EQ(deck.state, kStopped);
    EXPECT_EQ(mciGetDeviceIDA("tape1"), 0u);
    EXPECT_EQ(playlist_of(deck).mode, 1);
    EXPECT_EQ(count_not(Module::Wave, lcd(1), kBlack), 0);
    EXPECT_EQ(count_not(Module::Wave, bar(1), kBlack), 0);

    // Deck 2's recording waiting to start is over too.
    new_recording_pending = 1;
    EXPECT_FALSE(load(wave_deck(2), bad));
    EXPECT_EQ(new_recording_pending, 0);

    // A '"' can not be quoted in a command string: refused before any open.
    EXPECT_FALSE(load(midi_deck, quoted));
    EXPECT_FALSE(midi_deck.loaded());
    close_rack();
  });
  ASSERT_EQ(ui_test::boxes().size(), 3u);
  EXPECT_NE(ui_test::boxes()[0].text.find(bad), std::string::npos);
  EXPECT_NE(ui_test::boxes()[2].text.find("double quote"), std::string::npos);
  EXPECT_TRUE(trace_lines(trace, "mci \"open \"" + quoted).empty());
}

TEST_F(DeckTest, APlayingPlaylistStepsOverABrokenItem) {
  const std::string first = midi("1.mid", 3), second = midi("3.mid", 3);
  write_playlist(DeckKind::Midi, {first, broken("2.mid"), second});
  run_rack([&] {
    playlist_of(midi_deck).mode = 1;
    command(CMD_MIDI_PLAY);
    EXPECT_EQ(midi_deck.path, first);
    play_out();  // item 0 ends, item 1 fails, item 2 opens and plays
    ui_test::pump(50);
    EXPECT_EQ(midi_deck.path, second);
    EXPECT_EQ(midi_deck.state, kPlaying);
    EXPECT_EQ(midi_playlist_index, 2);
    play_out();  // the list ran out
    ui_test::pump(50);
    EXPECT_EQ(midi_playlist_index, 0);
    EXPECT_EQ(playlist_of(midi_deck).running, 0);
    EXPECT_EQ(midi_deck.state, kStopped);
    close_rack();
  });
  EXPECT_EQ(ui_test::boxes().size(), 1u);
}
