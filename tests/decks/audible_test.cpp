// The decks heard on the fast null device: a wave file comes out sample for
// sample at unity gain, a MIDI file sounds while it plays and not after, and
// the deck's volume keys move the mixer's meter and the level.
#include <sndfile.h>

#include <cmath>

#include "deck_fixture.h"
#include "decks/deck_volume.h"
#include "mixer/mixer.h"
#include "mixer/mixer_channels.h"
#include "mixer/sound3d.h"
#include "platform/audio/engine.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "skin/rack_state.h"

namespace {

// On the fast device the output is mixed on the thread that runs it.
std::vector<float> tapped;
void tap_output() {
  audio::set_output_tap([](const float* stereo, std::size_t n) { tapped.insert(tapped.end(), stereo, stereo + 2 * n); });
}
std::vector<float> take() { return std::exchange(tapped, {}); }

std::vector<float> file_samples(const std::string& path) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
  sf_readf_float(f, samples.data(), info.frames);
  sf_close(f);
  return samples;
}

float peak(const std::vector<float>& s) {
  float p = 0;
  for (float v : s) p = std::max(p, std::fabs(v));
  return p;
}

void unity_gain() {
  for (int i = 0; i < 17; ++i) {
    volume_step(kMaster, kStepUp);
    volume_step(kWaveChannel, kStepUp);
  }
  if (sound3d_on) command(CMD_SOUND3D);
}

}  // namespace

TEST_F(DeckTest, AWaveFileComesOutAsItIsAtUnityGain) {
  const std::string song = wav("song.wav", 0.5);
  std::vector<float> out;
  run_rack([&] {
    unity_gain();
    tap_output();
    load(wave_deck(1), song);
    command(CMD_WAVE_PLAY);
    play_out();
    out = take();
    close_rack();
  });
  audio::set_output_tap(nullptr);
  const std::vector<float> in = file_samples(song);
  ASSERT_GE(out.size(), in.size());
  std::size_t differing = 0;
  for (std::size_t i = 2048; i < in.size(); ++i) differing += out[i] != in[i];
  EXPECT_EQ(differing, 0u);
}

TEST_F(DeckTest, MidiSoundsWhilePlayingAndNotAfterItsEnd) {
  const std::string tune = midi("tune.mid", 3), song = wav("song.wav", 0.5);
  run_rack([&] {
    unity_gain();
    tap_output();
    load(midi_deck, tune);
    command(CMD_MIDI_PLAY);
    play_for(400);
    EXPECT_GT(peak(take()), 0.01f);
    play_out();
    ASSERT_EQ(midi_deck.state, kStopped);
    audio::line_peak(audio::Line::Synth);
    load(wave_deck(1), song);
    command(CMD_WAVE_PLAY);
    play_for(200);
    EXPECT_EQ(audio::line_peak(audio::Line::Synth), 0.0f);
    EXPECT_GT(audio::line_peak(audio::Line::Wave), 0.1f);

    // The deck's volume key: the mixer's wave meter changes, the level drops.
    const QImage before = ui_test::client_image(main_window);
    const DWORD value = mixer_channels[kWaveChannel].value_left;
    for (int i = 0; i < 4; ++i) wave_volume_hold(main_window, WM_COMMAND, CMD_WAVE_VOLUME_DOWN, 0);
    EXPECT_LT(mixer_channels[kWaveChannel].value_left, value);
    EXPECT_NE(ui_test::client_image(main_window), before);
    take();
    play_for(300);
    const std::vector<float> after = take();
    EXPECT_LT(peak({after.end() - 2048, after.end()}), 0.4f);
    close_rack();
  });
  audio::set_output_tap(nullptr);
}
