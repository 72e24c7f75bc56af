// The transports of both deck kinds: pause and play, held search, auto repeat,
// the active-deck rule, refused plays, the end of a MIDI file, and Close.
#include "deck_fixture.h"
#include "decks/midi_deck.h"
#include "decks/wave_decks.h"
#include "platform/audio/engine.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "resources/ids/menus.h"
#include "skin/dispatch.h"
#include "skin/rack_state.h"

namespace {

void hold(WORD id, Handler step, int ticks) {
  for (int i = 0; i < ticks; ++i) step(main_window, WM_COMMAND, id, 0);
}

}  // namespace

TEST_F(DeckTest, PauseOnAStoppedMidiDeckPlaysAndRewindLeavesAPausedOneStopped) {
  const std::string tune = midi("tune.mid");
  run_rack([&] {
    load(midi_deck, tune);
    command(CMD_MIDI_PAUSE);
    ui_test::pump(30);
    EXPECT_EQ(midi_deck.state, kPlaying);
    play_for(500);
    command(CMD_MIDI_PAUSE);
    EXPECT_EQ(midi_deck.state, kPaused);
    const long before = read_position(midi_deck);
    hold(CMD_MIDI_REWIND, midi_seek_hold, 1);
    EXPECT_EQ(midi_deck.state, kStopped);
    EXPECT_EQ(read_position(midi_deck), before - 20);
    EXPECT_EQ(midi_deck.info_view, 1);  // searching shows the position
    close_rack();
  });
}

TEST_F(DeckTest, SearchStopsAtTheEndsOfBothDeckKinds) {
  const std::string tune = midi("tune.mid"), song = wav("song.wav", 1.0);
  run_rack([&] {
    load(midi_deck, tune);
    load(wave_deck(1), song);
    hold(CMD_MIDI_FORWARD, midi_seek_hold, 105);
    hold(CMD_WAVE_FORWARD, wave_seek_hold, 55);
    EXPECT_EQ(read_position(midi_deck), midi_deck.length_ms);
    EXPECT_EQ(read_position(wave_deck(1)), wave_deck(1).length_ms);
    hold(CMD_MIDI_REWIND, midi_seek_hold, 105);
    hold(CMD_WAVE_REWIND, wave_seek_hold, 55);
    EXPECT_EQ(read_position(midi_deck), 0);
    EXPECT_EQ(read_position(wave_deck(1)), 0);
    close_rack();
  });
}

TEST_F(DeckTest, AutoRepeatPlaysAgainOnBothDeckKinds) {
  const std::string tune = midi("tune.mid", 3), song = wav("song.wav", 0.3);
  run_rack([&] {
    load(midi_deck, tune);
    command(IDM_MIDI_REPEAT);
    command(CMD_MIDI_PLAY);
    play_out();
    EXPECT_EQ(midi_deck.state, kPlaying);
    command(CMD_MIDI_STOP);
    load(wave_deck(2), song);
    command(IDM_TAPE2_REPEAT);
    command(CMD_WAVE_PLAY);
    play_out();
    EXPECT_EQ(wave_deck(2).state, kPlaying);
    EXPECT_LT(read_position(wave_deck(2)), 300);
    close_rack();
  });
}

TEST_F(DeckTest, AMidiFileWithATempoChangeEndsOnTime) {
  const std::string tune = midi("tune.mid", 6);
  std::uint64_t frames = 0;
  run_rack([&] {
    load(midi_deck, tune);
    command(CMD_MIDI_PLAY);
    frames = audio::run_fast(UINT64_MAX);
    ui_test::pump(30);
    EXPECT_EQ(midi_deck.length_ms, 2000);
    EXPECT_EQ(midi_deck.state, kStopped);
    close_rack();
  });
  // Two quarters at 120 bpm, four at 240, the notes' ring-out, and the
  // engine's buffers (at 120 bpm throughout it would be 3 s).
  const double ms = static_cast<double>(frames) / audio::kEngineRate * 1000;
  EXPECT_GE(ms, 2000 + 250);
  EXPECT_LT(ms, 2000 + 250 + 120);
}

TEST_F(DeckTest, PlayOnTheOtherDeckStopsTheFirstWhereItWas) {
  const std::string a = wav("a.wav", 2.0), b = wav("b.wav", 2.0);
  run_rack([&] {
    load(wave_deck(2), b);
    load(wave_deck(1), a);
    command(CMD_WAVE_PLAY);
    play_for(600);
    const long where = read_position(wave_deck(1));
    command(CMD_ACTIVATE_TAPE2);
    command(CMD_WAVE_PLAY);
    EXPECT_EQ(wave_deck(1).state, kStopped);
    EXPECT_EQ(read_position(wave_deck(1)), where);
    EXPECT_GT(where, 0);
    EXPECT_EQ(wave_deck(2).state, kPlaying);
    close_rack();
  });
}

TEST_F(DeckTest, ARefusedWavePlayLeavesTheDeckAsItWas) {
  const std::string a = wav("a.wav", 1.0);
  run_rack([&] {
    load(wave_deck(1), a);
    mciSendStringA("close tape1", nullptr, 0, nullptr);  // the device went away behind the deck
    command(CMD_WAVE_PLAY);
    EXPECT_EQ(wave_deck(1).state, kStopped);
    close_rack();
  });
  ASSERT_EQ(ui_test::boxes().size(), 1u);
  EXPECT_EQ(ui_test::boxes()[0].caption, "MCI error");
}

TEST_F(DeckTest, TheWavePlaylistPlaysOnAndOnlyTheActiveDecksEndMovesIt) {
  const std::string a = wav("a.wav", 0.3), b = wav("b.wav", 0.3), c = wav("c.wav", 0.3);
  write_playlist(DeckKind::Wave, {b, c});
  run_rack([&] {
    playlist_of(wave_deck(2)).mode = 1;
    command(CMD_ACTIVATE_TAPE2);
    command(CMD_WAVE_PLAY);
    EXPECT_EQ(wave_deck(2).path, b);
    play_out();
    EXPECT_EQ(wave_deck(2).path, c);
    EXPECT_EQ(wave_deck(2).state, kPlaying);
    play_out();
    EXPECT_EQ(wave_playlist_index, 0);
    EXPECT_EQ(playlist_of(wave_deck(2)).running, 0);

    // Deck 2 runs the playlist and is active while deck 1's own file ends.
    load(wave_deck(1), a);
    command(CMD_WAVE_PLAY);
    active_wave_deck = 2;
    playlist_of(wave_deck(2)).running = 1;
    play_out();
    EXPECT_EQ(wave_playlist_index, 0);
    EXPECT_EQ(wave_deck(2).state, kStopped);
    close_rack();
  });
}

TEST_F(DeckTest, ClosingADeckBlacksOutItsDisplay) {
  const std::string a = wav("a.wav", 1.0), tune = midi("tune.mid");
  run_rack([&] {
    command(CMD_TAPE1_DISPLAY);
    command(CMD_MIDI_DISPLAY);
    load(wave_deck(1), a);
    load(midi_deck, tune);
    command(CMD_WAVE_PLAY);
    play_for(500);
    refresh_wave_position(1);
    const Rect& lcd = kWaveDeckFaces[0].lcd;
    const Rect& bar = kWaveDeckFaces[0].bar;
    EXPECT_GT(count_pixels(Module::Wave, lcd, kYellow), 0);
    EXPECT_GT(count_pixels(Module::Wave, bar, kCyan), 0);
    EXPECT_GT(count_pixels(Module::Midi, kMidiDeckFace.lcd, kYellow), 0);
    command(IDM_TAPE1_CLOSE);
    command(IDM_MIDI_CLOSE);
    EXPECT_EQ(count_not(Module::Wave, lcd, kBlack), 0);
    EXPECT_EQ(count_not(Module::Wave, bar, kBlack), 0);
    EXPECT_EQ(count_pixels(Module::Midi, kMidiDeckFace.lcd, kYellow), 0);
    close_rack();
  });
}
