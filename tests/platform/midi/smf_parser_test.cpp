#include "platform/audio/midi/smf_parser.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "smf_builder.h"

using audio::midi::parse_smf;
using audio::midi::Song;
using audio::midi::TempoMap;
using midi_test::Bytes;
using midi_test::Track;

namespace {

bool parse(const Bytes& bytes, Song* song, std::string* error) {
  return parse_smf(bytes.data(), bytes.size(), song, error);
}

std::string parse_error(const Bytes& bytes) {
  Song song;
  std::string error;
  EXPECT_FALSE(parse(bytes, &song, &error));
  EXPECT_FALSE(error.empty());
  return error;
}

// 480 ticks per quarter: 2 s at 120 bpm, then 240 bpm from tick 1920.
Bytes tempo_change_format0() {
  Track t;
  t.tempo(0, 500000).note_on(0, 0, 60, 100).note_off(1920, 0, 60);
  t.tempo(0, 250000).note_on(0, 0, 64, 100).note_off(960, 0, 64).end(960);
  return midi_test::smf(0, 480, {t});
}

}  // namespace

TEST(TempoMap, ConvertsBothWaysAcrossTempoChanges) {
  TempoMap map = TempoMap::metrical(480);
  EXPECT_DOUBLE_EQ(map.tick_to_us(480), 500000);  // 120 bpm before any tempo event
  map.set_tempo(960, 1000000);
  map.set_tempo(1440, 250000);
  EXPECT_DOUBLE_EQ(map.tick_to_us(960), 1000000);
  EXPECT_DOUBLE_EQ(map.tick_to_us(1440), 2000000);
  EXPECT_DOUBLE_EQ(map.tick_to_us(1920), 2250000);
  for (std::uint64_t tick : {0u, 100u, 960u, 1000u, 1440u, 5000u})
    EXPECT_NEAR(map.us_to_tick(map.tick_to_us(tick)), double(tick), 1e-6) << tick;
}

TEST(TempoMap, SeveralTempoEventsOnOneTickKeepTheLast) {
  TempoMap map = TempoMap::metrical(100);
  map.set_tempo(0, 1000000);
  map.set_tempo(0, 200000);
  EXPECT_DOUBLE_EQ(map.tick_to_us(100), 200000);
}

TEST(TempoMap, SmpteTimeIgnoresTempo) {
  TempoMap map = TempoMap::smpte(25, 40);  // 1000 ticks per second
  map.set_tempo(0, 1000000);
  EXPECT_DOUBLE_EQ(map.tick_to_us(2500), 2500000);
  EXPECT_DOUBLE_EQ(map.us_to_tick(750000), 750);
}

TEST(SmfParser, Format0WithTempoChangeHasExactTimes) {
  Song song;
  std::string error;
  ASSERT_TRUE(parse(tempo_change_format0(), &song, &error)) << error;
  EXPECT_EQ(song.format, 0);
  EXPECT_DOUBLE_EQ(song.length_us, 3000000);  // 2 s + 1920 ticks at 240 bpm
  ASSERT_EQ(song.events.size(), 4u);          // tempo and end events are not played
  EXPECT_DOUBLE_EQ(song.events[1].us, 2000000);
  EXPECT_DOUBLE_EQ(song.events[2].us, 2000000);
  EXPECT_EQ(song.events[2].data1, 64);
  EXPECT_DOUBLE_EQ(song.events[3].us, 2500000);
}

TEST(SmfParser, Format1MergesTracksWithRunningStatusUnderTheFirstTracksTempo) {
  Track tempo;
  tempo.tempo(0, 500000).tempo(960, 1000000).end(960);
  Track notes;
  notes.event(0, {0xC1, 40});           // program change: one data byte
  notes.event(0, {0x91, 60, 100});      // note on
  notes.event(480, {62, 90});           // running status
  notes.event(480, {60, 0});            // running status, velocity 0
  notes.event(480, {0xE1, 0x00, 0x50});  // pitch bend
  notes.event(0, {0xB1, 7, 80}).event(0, {10, 20}).end(0);
  Song song;
  std::string error;
  ASSERT_TRUE(parse(midi_test::smf(1, 480, {tempo, notes}), &song, &error)) << error;
  EXPECT_EQ(song.tracks, 2);
  ASSERT_EQ(song.events.size(), 7u);
  EXPECT_EQ(song.events[0].status, 0xC1);
  EXPECT_EQ(song.events[2].status, 0x91);
  EXPECT_EQ(song.events[2].data1, 62);
  EXPECT_DOUBLE_EQ(song.events[2].us, 500000);
  EXPECT_EQ(song.events[3].data2, 0);
  EXPECT_DOUBLE_EQ(song.events[3].us, 1000000);
  EXPECT_DOUBLE_EQ(song.events[4].us, 2000000);  // 480 ticks at 60 bpm after 1 s
  EXPECT_EQ(song.events[6].status, 0xB1);
  EXPECT_EQ(song.events[6].data1, 10);
  EXPECT_DOUBLE_EQ(song.length_us, 3000000);  // the tempo track ends last
}

TEST(SmfParser, KeepsSysexBodiesAndSkipsMetaAndUnknownChunks) {
  Track t;
  t.event(0, {0xFF, 0x03, 0x04, 'n', 'a', 'm', 'e'});
  t.event(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7});  // GM on
  t.event(0, {0xF7, 0x02, 0x01, 0x02});                    // escape: not sent
  t.note_on(10, 0, 60, 1).end(10);
  Bytes file = midi_test::header(0, 1, 96);
  const Bytes extra = midi_test::chunk("XFIH", {1, 2, 3});
  const Bytes track = midi_test::chunk("MTrk", t.bytes());
  file.insert(file.end(), extra.begin(), extra.end());
  file.insert(file.end(), track.begin(), track.end());
  Song song;
  std::string error;
  ASSERT_TRUE(parse(file, &song, &error)) << error;
  ASSERT_EQ(song.events.size(), 2u);
  EXPECT_EQ(song.events[0].status, 0xF0);
  ASSERT_EQ(song.events[0].sysex_length, 4u);
  EXPECT_EQ(Bytes(song.sysex.begin(), song.sysex.end()), (Bytes{0x7E, 0x7F, 0x09, 0x01}));
}

TEST(SmfParser, SmpteDivisionTimesInFrames) {
  Track t;
  t.tempo(0, 1000000).note_on(0, 0, 60, 100).note_off(2500, 0, 60).end();
  const std::uint16_t division = std::uint16_t((0x100 - 25) << 8 | 40);
  Song song;
  std::string error;
  ASSERT_TRUE(parse(midi_test::smf(0, division, {t}), &song, &error)) << error;
  EXPECT_DOUBLE_EQ(song.length_us, 2500000);
}

TEST(SmfParser, TrackWithoutEndEventAtAnEventBoundaryStillPlays) {
  Track t;
  t.note_on(0, 0, 60, 100).note_off(96, 0, 60);
  Song song;
  std::string error;
  ASSERT_TRUE(parse(midi_test::smf(0, 96, {t}), &song, &error)) << error;
  EXPECT_DOUBLE_EQ(song.length_us, 500000);
}

TEST(SmfParser, RiffWrappedMidiIsUnwrapped) {
  Track t;
  t.note_on(0, 0, 60, 100).end(96);
  const Bytes inner = midi_test::smf(0, 96, {t});
  Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D'};
  const Bytes data = midi_test::chunk("data", inner);
  riff.insert(riff.end(), data.begin(), data.end());
  std::reverse(riff.begin() + 16, riff.begin() + 20);  // RIFF lengths are little-endian
  Song song;
  std::string error;
  ASSERT_TRUE(parse(riff, &song, &error)) << error;
  EXPECT_DOUBLE_EQ(song.length_us, 500000);
}

TEST(SmfParser, RejectsBrokenFilesWithAText) {
  const Bytes good = tempo_change_format0();
  EXPECT_EQ(parse_error({}), "The file is empty.");
  EXPECT_NE(parse_error({'M', 'T', 'h', 'x', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}).find("no MThd"), std::string::npos);
  EXPECT_NE(parse_error(Bytes(good.begin(), good.begin() + 10)).find("header"), std::string::npos);
  Bytes truncated(good.begin(), good.end() - 5);
  EXPECT_NE(parse_error(truncated).find("truncated"), std::string::npos);
  Bytes hostile = good;
  hostile[18] = hostile[19] = hostile[20] = 0xFF;  // track length near 4 GB
  EXPECT_NE(parse_error(hostile).find("runs past the end"), std::string::npos);
  Bytes wav = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  EXPECT_NE(parse_error(wav).find("RIFF"), std::string::npos);
  EXPECT_NE(parse_error(Bytes(100, 0)).find("no MThd"), std::string::npos);
}

TEST(SmfParser, RejectsBrokenHeaders) {
  Track t;
  t.end();
  EXPECT_NE(parse_error(midi_test::smf(2, 96, {t})).find("format 2"), std::string::npos);
  EXPECT_NE(parse_error(midi_test::smf(3, 96, {t})).find("Unknown"), std::string::npos);
  EXPECT_NE(parse_error(midi_test::smf(0, 96, {t, t})).find("header"), std::string::npos);
  EXPECT_NE(parse_error(midi_test::smf(1, 0, {t})).find("division"), std::string::npos);
  EXPECT_NE(parse_error(midi_test::smf(1, 0xE500 | 10, {t})).find("SMPTE"), std::string::npos);  // -27 fps
  Bytes missing_track = midi_test::smf(1, 96, {t});
  missing_track[11] = 2;  // claims two tracks
  EXPECT_NE(parse_error(missing_track).find("1 of 2 tracks"), std::string::npos);
  Bytes garbage_chunk = midi_test::smf(1, 96, {t});
  garbage_chunk[14] = 0x01;
  EXPECT_NE(parse_error(garbage_chunk).find("no track chunk"), std::string::npos);
}

TEST(SmfParser, RejectsBrokenEvents) {
  auto broken = [](const Bytes& event) {
    Track t;
    t.note_on(0, 0, 60, 100).event(0, event).end();
    return parse_error(midi_test::smf(0, 96, {t}));
  };
  auto broken_first = [](const Bytes& bytes) { return parse_error(midi_test::smf(0, 96, {Track().raw(bytes)})); };
  EXPECT_NE(broken_first({0, 60, 100}).find("data byte where a status byte"), std::string::npos);
  EXPECT_NE(broken({0x90, 60, 0x90}).find("cut short"), std::string::npos);
  EXPECT_NE(broken({0xF1, 0x00}).find("system message"), std::string::npos);
  EXPECT_NE(broken({0xFF, 0x51, 0x02, 0x01, 0x02}).find("tempo"), std::string::npos);
  EXPECT_NE(broken({0xFF, 0x51, 0x03, 0, 0, 0}).find("tempo of zero"), std::string::npos);
  EXPECT_NE(broken({0xF0, 0x7F}).find("longer than the track"), std::string::npos);
  EXPECT_NE(broken({0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F}).find("longer than the track"), std::string::npos);
  // A meta event cancels running status.
  EXPECT_NE(broken({0xFF, 0x01, 0x00, 0x00, 61, 100}).find("data byte where"), std::string::npos);
  // A delta time of five bytes, and a track cut inside an event.
  EXPECT_NE(broken_first({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100}).find("longer than four"), std::string::npos);
  EXPECT_NE(broken_first({0, 0x90, 60}).find("ends inside"), std::string::npos);
}

TEST(SmfParser, RejectsTooManyEventsAndEndlessFiles) {
  Track endless;
  endless.tempo(0, 0xFFFFFF).end(0x0FFFFFFF);  // 16.7 s per quarter for 2^28 ticks at 1 ppq
  EXPECT_NE(parse_error(midi_test::smf(0, 1, {endless})).find("more than a day"), std::string::npos);
  Track many;
  many.event(0, {0xA0, 1, 2});
  for (std::size_t i = 0; i < audio::midi::kMaxEvents; ++i) many.raw({0, 1, 2});  // running status
  EXPECT_NE(parse_error(midi_test::smf(0, 96, {many})).find("more than"), std::string::npos);
}

TEST(SmfParser, DamagedCopiesOfAGoodFileEitherParseOrSayWhy) {
  Track tempo;
  tempo.tempo(0, 500000).tempo(960, 400000).end(960);
  Track notes;
  notes.event(0, {0xF0, 0x03, 0x41, 0x10, 0xF7}).event(0, {0xC0, 5});
  for (int i = 0; i < 40; ++i) notes.note_on(i ? 48 : 0, 0, 40 + i, 90).event(0, {0x80 | 0, std::uint8_t(40 + i), 0});
  notes.end();
  const Bytes good = midi_test::smf(1, 480, {tempo, notes});
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
  int failed = 0;
  for (int round = 0; round < 3000; ++round) {
    Bytes damaged = good;
    for (int flips = 1 + int(next() % 4); flips > 0; --flips) damaged[next() % damaged.size()] = std::uint8_t(next());
    if (round % 3 == 0) damaged.resize(next() % damaged.size());
    Song song;
    std::string error;
    if (!parse(damaged, &song, &error)) {
      ++failed;
      EXPECT_FALSE(error.empty());
    } else {
      EXPECT_LE(song.events.size(), damaged.size());
      EXPECT_LE(song.length_us, audio::midi::kMaxLengthUs);
    }
  }
  EXPECT_GT(failed, 1000);  // truncations alone fail a third of the rounds
}
