// A SoundFont that fails while a MIDI play waits for it (a process of its own:
// the font is loaded once per process). The deck must not stay "playing".
#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "deck_fixture.h"
#include "platform/audio/engine.h"
#include "platform/audio/midi/midi_renderer.h"
#include "resources/ids/commands.h"
#include "support/env_override.h"

TEST_F(DeckTest, AFontThatFailsWhileAPlayWaitsStopsTheDeckAndSaysSo) {
  // A RIFF "sfbk" header passes the first look; the synthesizer refuses the rest.
  const std::string font = home.file("broken.sf2");
  std::ofstream(font, std::ios::binary).write("RIFF\x04\x00\x00\x00sfbk", 12);
  EnvOverride named("QUORVIN_SOUNDFONT", font.c_str());
  std::atomic<bool> gate_open{false};
  audio::midi_set_soundfont_gate([&] {
    while (!gate_open) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  });
  const std::string tune = midi("tune.mid");
  run_rack([&] {
    ASSERT_TRUE(load(midi_deck, tune));
    command(CMD_MIDI_PLAY);
    EXPECT_EQ(midi_deck.state, kPlaying);
    gate_open = true;
    EXPECT_TRUE(ui_test::pump_until(
        [] {
          audio::run_fast(4410);
          return midi_deck.state == kStopped;
        },
        5000));
    close_rack();
  });
  gate_open = true;
  audio::midi_set_soundfont_gate(nullptr);
  char text[256];
  mciGetErrorStringA(MCIERR_NO_SOUNDFONT, text, sizeof text);
  ASSERT_EQ(ui_test::boxes().size(), 1u);
  EXPECT_EQ(ui_test::boxes()[0].text, text);
}
