// A short click on Rewind or Forward steps the deck's play list: wrapping at
// both ends, reopening a single item, playing on only when the deck played.
#include "decks/playlist_step.h"
#include "platform/ui/windows.h"
#include "playlist_fixture.h"
#include "resources/ids/commands.h"
#include "skin/rack_state.h"

namespace {

void step(WORD id) { playlist_step(main_window, WM_COMMAND, id, 0); }

// A press released before the rack's tick counts it as a hold.
void click_button(WORD id) {
  HWND button = GetDlgItem(main_window, id);
  ui_test::press(button, 5, 5);
  ui_test::release(button, 5, 5);
  ui_test::pump(10);
}

}  // namespace

TEST_F(PlaylistTest, ShortClicksWrapAtBothEndsOfTheWavePlayList) {
  const std::vector<std::string> items = {wav("a.wav", 0.3), wav("b.wav", 0.3), wav("c.wav", 0.3)};
  write_playlist(DeckKind::Wave, items);
  run_rack([&] {
    playlist_of(wave_deck(1)).mode = 1;
    make_active(2);
    step(CMD_WAVE_FORWARD);  // deck 2 is not the playlist's deck
    EXPECT_FALSE(wave_deck(2).loaded());
    make_active(1);
    wave_playlist_index = 2;
    click_button(CMD_WAVE_FORWARD);
    EXPECT_EQ(wave_playlist_index, 0);
    EXPECT_EQ(wave_deck(1).path, items[0]);
    EXPECT_EQ(wave_deck(1).state, kStopped);
    EXPECT_EQ(playlist_of(wave_deck(1)).running, 1);
    click_button(CMD_WAVE_REWIND);
    EXPECT_EQ(wave_playlist_index, 2);
    EXPECT_EQ(wave_deck(1).path, items[2]);
    close_rack();
  });
}

TEST_F(PlaylistTest, OneItemIsReopenedFromItsStartAndAPausedDeckIsLeftStopped) {
  const std::string only = wav("only.wav", 1.0);
  write_playlist(DeckKind::Wave, {only});
  run_rack([&] {
    load(wave_deck(1), only);
    playlist_of(wave_deck(1)).mode = 1;
    command(CMD_WAVE_PLAY);
    play_for(300);
    command(CMD_WAVE_PLAY);
    ASSERT_EQ(wave_deck(1).state, kPaused);
    ASSERT_GT(read_position(wave_deck(1)), 0);
    step(CMD_WAVE_FORWARD);
    EXPECT_EQ(wave_deck(1).path, only);
    EXPECT_EQ(wave_deck(1).state, kStopped);
    EXPECT_EQ(read_position(wave_deck(1)), 0);
    step(CMD_WAVE_REWIND);
    EXPECT_EQ(wave_playlist_index, 0);
    close_rack();
  });
}

TEST_F(PlaylistTest, AMidiDeckThatPlayedPlaysTheNextItemAndAGapHoldsTheIndex) {
  const std::string one = midi("one.mid"), three = midi("three.mid");
  write_playlist(DeckKind::Midi, {one, "No Title", three});
  run_rack([&] {
    step(CMD_MIDI_FORWARD);  // no playlist loaded: nothing
    EXPECT_EQ(midi_playlist_index, 0);
    playlist_of(midi_deck).mode = 1;
    load(midi_deck, one);
    command(CMD_MIDI_PLAY);
    ASSERT_EQ(midi_deck.state, kPlaying);
    step(CMD_MIDI_REWIND);
    EXPECT_EQ(midi_playlist_index, 2);
    EXPECT_EQ(midi_deck.path, three);
    EXPECT_EQ(midi_deck.state, kPlaying);
    step(CMD_MIDI_REWIND);  // onto the gap: nothing opens, the index stays there
    EXPECT_EQ(midi_playlist_index, 1);
    EXPECT_EQ(midi_deck.path, three);
    step(CMD_MIDI_FORWARD);
    EXPECT_EQ(midi_playlist_index, 2);
    close_rack();
  });
}

TEST_F(PlaylistTest, AStepIntoDeck2AsksTheSaveQuestionFirst) {
  const std::string take = wav("take.wav", 0.3), next = wav("next.wav", 0.3);
  write_playlist(DeckKind::Wave, {take, next});
  run_rack([&] {
    load(wave_deck(2), take);
    wave_deck(2).modified = 1;
    playlist_of(wave_deck(2)).mode = 1;
    make_active(2);
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog("");  // the Save dialog backed out of: the step is abandoned
    step(CMD_WAVE_FORWARD);
    EXPECT_EQ(wave_deck(2).path, take);
    EXPECT_EQ(wave_playlist_index, 0);
    ui_test::answer_box(IDNO);
    step(CMD_WAVE_FORWARD);
    EXPECT_EQ(wave_deck(2).path, next);
    EXPECT_EQ(ui_test::boxes().size(), 2u);
    close_rack();
  });
}
