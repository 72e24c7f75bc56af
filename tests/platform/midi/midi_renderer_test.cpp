#include "platform/audio/midi/midi_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "smf_builder.h"
#include "support/temp_home.h"

using audio::MidiRenderer;
using midi_test::Bytes;
using midi_test::Track;

namespace {

constexpr int kRate = 44100;

// Format 1, 480 ppq. 120 bpm until 2000 ms (tick 1920), then 240 bpm; the end
// of the tempo track is at tick 3840 = 3000 ms. One note from 1000 ms to 2500 ms.
Bytes tempo_change_song() {
  Track tempo;
  tempo.tempo(0, 500000).tempo(1920, 250000).end(1920);
  Track notes;
  notes.event(0, {0xC0, 0}).note_on(960, 0, 60, 110).event(1920, {60, 0}).end(0);  // running status
  return midi_test::smf(1, 480, {tempo, notes});
}

// Format 0: 120 bpm for 1000 ms (tick 960), then 60 bpm; a note at 2000 ms
// (tick 1440) held to 2500 ms; `prelude` comes first on channel 0.
Bytes late_note_song(const Bytes& prelude = {}) {
  Track t;
  t.tempo(0, 500000);
  if (!prelude.empty()) t.event(0, prelude);
  t.tempo(960, 1000000).note_on(480, 0, 72, 120).note_off(240, 0, 72).end(0);
  return midi_test::smf(0, 480, {t});
}

// Below -100 dB: FluidSynth's output is never exactly zero.
constexpr float kSilence = 1e-5f;

float peak(const std::vector<float>& samples, std::size_t from = 0, std::size_t to = SIZE_MAX) {
  float p = 0;
  for (std::size_t i = from; i < std::min(to, samples.size()); ++i) p = std::max(p, std::fabs(samples[i]));
  return p;
}

// Index of the first frame louder than `level`, or -1.
long first_sound(const std::vector<float>& stereo, float level = 1e-4f) {
  for (std::size_t i = 0; i < stereo.size(); ++i)
    if (std::fabs(stereo[i]) > level) return long(i / 2);
  return -1;
}

std::vector<float> render_ms(MidiRenderer& r, int ms, int rate = kRate) {
  std::vector<float> out(std::size_t(rate) * ms / 1000 * 2);
  const std::size_t got = r.render(out.data(), out.size() / 2, rate);
  out.resize(got * 2);
  return out;
}

class MidiRendererTest : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const Bytes& bytes) {
    return midi_test::write_file(home_.file(name), bytes);
  }
  void open(MidiRenderer& r, const Bytes& bytes) {
    std::string error;
    ASSERT_TRUE(r.open(write("song.mid", bytes), &error)) << error;
  }
  TempHome home_;
};

}  // namespace

TEST_F(MidiRendererTest, LengthAndPositionAreExactAcrossTempoChanges) {
  MidiRenderer r;
  open(r, tempo_change_song());
  EXPECT_EQ(r.length_ms(), 3000u);
  EXPECT_EQ(r.position_ms(), 0u);
  r.seek_ms(2600);
  EXPECT_EQ(r.position_ms(), 2600u);  // at once, before any render
  EXPECT_EQ(render_ms(r, 100).size(), 4410u * 2);
  EXPECT_EQ(r.position_ms(), 2700u);
  r.seek_ms(500);  // backwards
  EXPECT_EQ(r.position_ms(), 500u);
  render_ms(r, 500);
  EXPECT_EQ(r.position_ms(), 1000u);
  r.seek_ms(999999);  // past the end goes to the end
  EXPECT_EQ(r.position_ms(), 3000u);
  EXPECT_TRUE(r.at_end());
}

TEST_F(MidiRendererTest, SilentBeforeTheFirstNoteAndAudibleDuringIt) {
  MidiRenderer r;
  open(r, tempo_change_song());
  const std::vector<float> before = render_ms(r, 990);
  EXPECT_LT(peak(before), kSilence);
  const std::vector<float> during = render_ms(r, 500);
  EXPECT_GT(peak(during), 0.01f);
  const long onset = first_sound(during);
  EXPECT_GE(onset, 441 - 64);  // 10 ms in, within one synthesizer block
  EXPECT_LE(onset, 441 + 128);
}

TEST_F(MidiRendererTest, NotesStartOnTimeAfterATempoChangeAndAfterASeek) {
  MidiRenderer through;
  open(through, late_note_song());
  EXPECT_EQ(through.length_ms(), 2500u);
  const long onset = first_sound(render_ms(through, 2200));
  EXPECT_GE(onset, 2 * kRate - 64);
  EXPECT_LE(onset, 2 * kRate + 128);

  MidiRenderer sought;
  open(sought, late_note_song());
  sought.seek_ms(1900);
  const long after_seek = first_sound(render_ms(sought, 300));
  EXPECT_GE(after_seek, 4410 - 64);
  EXPECT_LE(after_seek, 4410 + 128);
}

TEST_F(MidiRendererTest, SeekReappliesControllersSetBeforeTheTarget) {
  MidiRenderer loud;
  open(loud, late_note_song({0xB0, 7, 127}));
  loud.seek_ms(1000);
  EXPECT_GT(peak(render_ms(loud, 1400)), 0.01f);

  MidiRenderer muted;  // channel volume 0 at the start: silent even when the start is skipped
  open(muted, late_note_song({0xB0, 7, 0}));
  muted.seek_ms(1000);
  EXPECT_LT(peak(render_ms(muted, 1400)), kSilence);
}

TEST_F(MidiRendererTest, SeekReappliesProgramAndPitchBend) {
  auto sought = [&](const Bytes& prelude) {
    MidiRenderer r;
    open(r, late_note_song(prelude));
    r.seek_ms(1000);
    return render_ms(r, 1400);
  };
  const std::vector<float> plain = sought({0xB0, 7, 127});
  EXPECT_NE(sought({0xC0, 40}), plain);            // violin instead of piano
  EXPECT_NE(sought({0xE0, 0x00, 0x60}), plain);    // bent up
  EXPECT_EQ(sought({0xB0, 7, 127}), plain);        // the same state sounds the same
}

TEST_F(MidiRendererTest, EveryEventKindReachesTheSynthesizer) {
  Track t;
  t.event(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7});  // GM on
  t.event(0, {0xF0, 0x02, 0x41, 0x10});                    // no closing F7
  t.event(0, {0xC1, 16}).event(0, {0xB1, 10, 20}).event(0, {0xE1, 0x10, 0x30});
  t.note_on(0, 1, 60, 100).event(48, {0xA1, 60, 50}).event(0, {0xD1, 70});
  t.note_off(48, 1, 60).note_on(48, 9, 38, 127).note_off(48, 9, 38).end();
  MidiRenderer r;
  open(r, midi_test::smf(0, 96, {t}));
  EXPECT_EQ(r.length_ms(), 1000u);
  EXPECT_GT(peak(render_ms(r, 1000)), 0.01f);
  r.seek_ms(600);  // chases the sysex, controller, program and bend events
  EXPECT_GT(peak(render_ms(r, 300)), 0.01f);
}

TEST_F(MidiRendererTest, EndsAfterTheRingOutWithFewerFramesThanAsked) {
  MidiRenderer r;
  open(r, tempo_change_song());
  r.seek_ms(2900);
  std::vector<float> block(1024 * 2);
  std::size_t total = 0;
  std::size_t got = 0;
  std::vector<float> tail;
  while ((got = r.render(block.data(), 1024, kRate)) == 1024) {
    total += got;
    EXPECT_FALSE(r.at_end());
    EXPECT_LE(r.position_ms(), 3000u);
  }
  total += got;
  const std::size_t ring_out = kRate * MidiRenderer::kRingOutMs / 1000;
  EXPECT_EQ(total, 4410 + ring_out);
  EXPECT_LT(std::fabs(block[got * 2 - 1]), 1e-3f);  // faded out
  EXPECT_TRUE(r.at_end());
  EXPECT_EQ(r.position_ms(), 3000u);
  EXPECT_EQ(r.render(block.data(), 1024, kRate), 0u);

  r.seek_ms(0);  // plays again after a rewind
  EXPECT_FALSE(r.at_end());
  EXPECT_EQ(r.render(block.data(), 1024, kRate), 1024u);
}

TEST_F(MidiRendererTest, KeepsThePositionWhenTheRateChanges) {
  MidiRenderer r;
  open(r, tempo_change_song());
  render_ms(r, 500, 48000);
  EXPECT_EQ(r.position_ms(), 500u);
  const std::vector<float> out = render_ms(r, 1000, 22050);
  EXPECT_EQ(out.size(), 22050u * 2);
  EXPECT_EQ(r.position_ms(), 1500u);
  EXPECT_GT(peak(out), 0.01f);  // the note that started at 1000 ms
}

TEST_F(MidiRendererTest, RenderersShareTheFontAndOutliveEachOther) {
  auto first = std::make_unique<MidiRenderer>();
  MidiRenderer second;
  open(*first, tempo_change_song());
  open(second, late_note_song());
  first->seek_ms(1000);
  EXPECT_GT(peak(render_ms(*first, 200)), 0.01f);
  first.reset();  // while its voices still sound
  second.seek_ms(2000);
  EXPECT_GT(peak(render_ms(second, 200)), 0.01f);
}

TEST_F(MidiRendererTest, SeeksFromAnotherThreadWhileRendering) {
  MidiRenderer r;
  open(r, tempo_change_song());
  std::atomic<bool> done{false};
  std::thread seeker([&] {
    for (std::uint32_t i = 0; !done.load(); i = (i + 137) % 3000) {
      r.seek_ms(i);
      EXPECT_LE(r.position_ms(), 3000u);
      std::this_thread::yield();
    }
  });
  std::vector<float> block(256 * 2);
  for (int i = 0; i < 400; ++i) r.render(block.data(), 256, kRate);
  done.store(true);
  seeker.join();
  r.seek_ms(1234);
  render_ms(r, 10);
  EXPECT_EQ(r.position_ms(), 1244u);
}

TEST_F(MidiRendererTest, BrokenFilesFailToOpenWithAText) {
  const Bytes good = tempo_change_song();
  Bytes hostile = good;
  hostile[18] = 0x7F;  // first track claims about 2 GB
  const Bytes wav = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0};
  Track t;
  t.end();
  const std::vector<std::pair<std::string, Bytes>> cases = {
      {"empty.mid", {}},
      {"header.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 2, 0, 0}},
      {"truncated.mid", Bytes(good.begin(), good.begin() + long(good.size()) - 7)},
      {"hostile.mid", hostile},
      {"wave.mid", wav},
      {"format2.mid", midi_test::smf(2, 96, {t})},
  };
  MidiRenderer r;
  open(r, good);  // a failed open also drops the file opened before
  for (const auto& [name, bytes] : cases) {
    std::string error;
    EXPECT_FALSE(r.open(write(name, bytes), &error)) << name;
    EXPECT_FALSE(error.empty()) << name;
    EXPECT_EQ(r.length_ms(), 0u) << name;
    EXPECT_TRUE(r.at_end()) << name;
    std::vector<float> block(64 * 2);
    EXPECT_EQ(r.render(block.data(), 64, kRate), 0u) << name;
  }
  std::string error;
  EXPECT_FALSE(r.open(home_.file("missing.mid"), &error));
  EXPECT_NE(error.find("cannot be opened"), std::string::npos);
  EXPECT_FALSE(r.open(write("format2.mid", midi_test::smf(2, 96, {t})), &error));
  EXPECT_NE(error.find("format 2"), std::string::npos);
}

TEST_F(MidiRendererTest, SoundFontErrorsAreReported) {
  std::string error;
  EXPECT_FALSE(audio::midi_load_soundfont(home_.file("none.sf2"), &error));
  EXPECT_NE(error.find("cannot be opened"), std::string::npos);
  const std::string text = write("text.sf2", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!'});
  EXPECT_FALSE(audio::midi_load_soundfont(text, &error));
  EXPECT_NE(error.find("not a SoundFont"), std::string::npos);
  // A font cut short (its RIFF size says more) is refused before FluidSynth sees it.
  const std::string cut = write("cut.sf2", {'R', 'I', 'F', 'F', 0, 1, 0, 0, 's', 'f', 'b', 'k', 'L', 'I'});
  EXPECT_FALSE(audio::midi_load_soundfont(cut, &error));
  EXPECT_NE(error.find("truncated"), std::string::npos);
  // The fonts that failed changed nothing: renderers still play.
  MidiRenderer r;
  open(r, tempo_change_song());
  r.seek_ms(1000);
  EXPECT_GT(peak(render_ms(r, 100)), 0.01f);
}

TEST_F(MidiRendererTest, RenderersOpenedAfterALoadPlayThroughThatFont) {
  const std::string fluid = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
  const std::string tim = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  auto play = [&](const std::string& font, MidiRenderer& r) {
    std::string error;
    EXPECT_TRUE(audio::midi_load_soundfont(font, &error)) << error;
    open(r, tempo_change_song());
    r.seek_ms(1000);
    return render_ms(r, 100);
  };
  MidiRenderer a, b, c;
  const std::vector<float> first = play(fluid, a);
  const std::vector<float> other = play(tim, b);
  const std::vector<float> again = play(fluid, c);  // the same font, from the store
  EXPECT_NE(first, other);
  EXPECT_EQ(first, again);
  EXPECT_GT(peak(render_ms(a, 100)), 0.01f);  // still playing with the font loaded before
  std::string error;
  EXPECT_TRUE(audio::midi_load_soundfont(audio::midi_default_soundfont(), &error)) << error;
}

TEST_F(MidiRendererTest, DefaultSoundFontComesFromTheSettings) {
  const char* previous = std::getenv("QUORVIN_SOUNDFONT");
  const std::string saved = previous ? previous : "";
  unsetenv("QUORVIN_SOUNDFONT");
  EXPECT_EQ(audio::midi_default_soundfont(), "/usr/share/sounds/sf2/default-GM.sf2");
  setenv("QUORVIN_SOUNDFONT", "/x/y.sf2", 1);
  EXPECT_EQ(audio::midi_default_soundfont(), "/x/y.sf2");
  if (previous)
    setenv("QUORVIN_SOUNDFONT", saved.c_str(), 1);
  else
    unsetenv("QUORVIN_SOUNDFONT");
}
