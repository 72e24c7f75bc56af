// The media player object drives the deck the user last played, and shows it.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QProcess>

#include "decks/decks.h"
#include "mixer/mixer.h"
#include "mixer/mixer_channels.h"
#include "platform/desktop/desktop_messages.h"
#include "platform/mci/media_files.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "private_bus.h"
#include "resources/ids/commands.h"
#include "skin/rack_state.h"
#include "support/rack_program.h"
#include "support/temp_home.h"

namespace {

struct Player : testing::Test {
  TempHome home;
  std::string wav, mid;
  void SetUp() override {
    ASSERT_FALSE(private_bus::address().empty()) << "dbus-daemon could not be started (scripts/install-deps)";
    ui_test::reset();
    ui_test::script_ui();
    wav = mcitest::write_sine_wav(home.file("tone.wav"), 2.0, 44100, 2, 16);
    mid = mcitest::write_tempo_change_midi(home.file("tune.mid"), 6);
  }
  void TearDown() override { ui_test::reset(); }
};

QString status() {
  return private_bus::player_property("org.mpris.MediaPlayer2.Player", "PlaybackStatus").toString();
}

// Waits for the published status, which follows the rack at its tick.
bool status_becomes(const QString& wanted) {
  return ui_test::pump_until([&] { return status() == wanted; }, 2000);
}

QVariantMap metadata() {
  const QVariant v = private_bus::player_property("org.mpris.MediaPlayer2.Player", "Metadata");
  QVariantMap map;
  v.value<QDBusArgument>() >> map;
  return map;
}

// As "open with" hands files over.
void open_with(const std::vector<std::string>& files) { send_open_files(main_window, files); }

}  // namespace

TEST_F(Player, KeysPlayPauseAndStopTheDeckLastPlayed) {
  DeckState wave_after_play = kStopped, wave_after_pause = kStopped, midi_after_pause = kStopped;
  DeckState wave_after_stop = kPlaying, midi_untouched = kStopped;
  QString title, playing, paused, stopped;
  qlonglong length = 0;
  std::string deck1_file, midi_file;
  run_rack([&] {
    // Each file goes where its kind plays.
    open_with({wav, mid});
    deck1_file = wave_deck(1).path;
    midi_file = midi_deck.path;
    // Nothing was played yet: the keys act on the first deck that holds a file, wave deck 1.
    private_bus::player_call("PlayPause");
    ui_test::pump_until([] { return wave_deck(1).state == kPlaying; }, 2000);
    wave_after_play = wave_deck(1).state;
    playing = status_becomes("Playing") ? "Playing" : status();
    title = metadata().value("xesam:title").toString();
    length = metadata().value("mpris:length").toLongLong();
    private_bus::player_call("Pause");
    ui_test::pump_until([] { return wave_deck(1).state == kPaused; }, 2000);
    wave_after_pause = wave_deck(1).state;
    paused = status_becomes("Paused") ? "Paused" : status();

    // The user plays the MIDI deck with its own button: the keys follow it.
    SendMessageA(main_window, WM_COMMAND, CMD_MIDI_PLAY, 0);
    ui_test::pump_until([] { return midi_deck.state == kPlaying; }, 3000);
    status_becomes("Playing");
    private_bus::player_call("Pause");
    ui_test::pump_until([] { return midi_deck.state == kPaused; }, 2000);
    midi_after_pause = midi_deck.state;

    // Stop acts on the MIDI deck; deck 1 keeps its pause.
    private_bus::player_call("Stop");
    ui_test::pump_until([] { return midi_deck.state == kStopped; }, 2000);
    stopped = status_becomes("Stopped") ? "Stopped" : status();
    wave_after_stop = wave_deck(1).state;
    midi_untouched = midi_deck.state;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(deck1_file, wav);
  EXPECT_EQ(midi_file, mid);
  EXPECT_EQ(wave_after_play, kPlaying);
  EXPECT_EQ(playing, "Playing");
  EXPECT_EQ(title, "tone.wav");
  EXPECT_EQ(length, 2'000'000);
  EXPECT_EQ(wave_after_pause, kPaused);
  EXPECT_EQ(paused, "Paused");
  EXPECT_EQ(midi_after_pause, kPaused);
  EXPECT_EQ(stopped, "Stopped");
  EXPECT_EQ(wave_after_stop, kPaused);
  EXPECT_EQ(midi_untouched, kStopped);
}

TEST_F(Player, PlayOnWaveDeck2MakesItTheActiveDeckFirst) {
  int active = 0;
  DeckState deck2 = kStopped, deck1 = kPlaying;
  run_rack([&] {
    ASSERT_TRUE(ui_test::drop_files(main_window, 250, 200, {wav}));  // deck 2's window
    ui_test::pump(20);
    ASSERT_EQ(wave_deck(2).path, wav);
    SendMessageA(main_window, WM_COMMAND, CMD_WAVE_PLAY, 0);  // the user plays deck 2
    ui_test::pump_until([] { return wave_deck(2).state == kPlaying; }, 2000);
    SendMessageA(main_window, WM_COMMAND, CMD_WAVE_STOP, 0);
    SendMessageA(main_window, WM_COMMAND, CMD_ACTIVATE_TAPE1, 0);
    private_bus::player_call("Play");
    ui_test::pump_until([] { return wave_deck(2).state == kPlaying; }, 2000);
    active = active_wave_deck;
    deck2 = wave_deck(2).state;
    deck1 = wave_deck(1).state;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(active, 2);
  EXPECT_EQ(deck2, kPlaying);
  EXPECT_EQ(deck1, kStopped);
}

TEST_F(Player, ASecondStartLoadsItsWaveFileIntoDeck1OfTheRunningRack) {
  std::string loaded;
  int second_exit = -1;
  run_rack([&] {
    QProcess second;
    second.start(QUORVIN_PROGRAM, {QString::fromStdString(wav)});
    ui_test::pump_until([&] { return second.state() == QProcess::NotRunning; }, 8000);
    second_exit = second.exitCode();
    ui_test::pump_until([] { return wave_deck(1).loaded(); }, 3000);
    loaded = wave_deck(1).path;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(second_exit, 0);
  EXPECT_EQ(loaded, wav);
}

// The desktop's volume is the mixer's master volume: set from the bus it turns
// the master channel (clamped to its range); turned on the rack the bus sees it.
TEST_F(Player, TheDesktopVolumeIsTheMasterVolume) {
  double at_start = -1, master_at_start = -2, after_set = -1, after_step = -1, master_after_step = -2;
  DWORD quarter_left = 0, quarter_right = 0, loud_left = 0;
  run_rack([&] {
    at_start = private_bus::player_property("org.mpris.MediaPlayer2.Player", "Volume").toDouble();
    master_at_start = master_volume();

    private_bus::set_player_property("Volume", 0.25);
    ui_test::pump_until([] { return mixer_channels[kMaster].value_left < 20000; }, 2000);
    quarter_left = mixer_channels[kMaster].value_left;
    quarter_right = mixer_channels[kMaster].value_right;
    after_set = private_bus::player_property("org.mpris.MediaPlayer2.Player", "Volume").toDouble();

    volume_step(kMaster, kStepUp);
    master_after_step = master_volume();
    ui_test::pump_until([&] {
      return private_bus::player_property("org.mpris.MediaPlayer2.Player", "Volume").toDouble() > 0.26;
    }, 2000);
    after_step = private_bus::player_property("org.mpris.MediaPlayer2.Player", "Volume").toDouble();

    private_bus::set_player_property("Volume", 7.5);
    ui_test::pump_until([] { return mixer_channels[kMaster].value_left > 60000; }, 2000);
    loud_left = mixer_channels[kMaster].value_left;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_DOUBLE_EQ(at_start, master_at_start);
  EXPECT_NEAR(quarter_left, 16384u, 1u);
  EXPECT_EQ(quarter_right, quarter_left) << "equal sides stay equal";
  EXPECT_NEAR(after_set, 0.25, 0.001);
  EXPECT_NEAR(after_step, master_after_step, 0.001);
  EXPECT_GT(after_step, 0.3);
  EXPECT_EQ(loud_left, 65535u) << "beyond the top is the top";
}
