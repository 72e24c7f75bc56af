#pragma once
// A bounded reader for Standard MIDI Files (format 0 and 1, also wrapped in a
// RIFF "RMID" file). Everything is checked against the file's real size, so a
// corrupt or hostile file fails with a plain text instead of reading out of
// bounds or allocating what its lengths claim.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio/midi/tempo_map.h"

namespace audio::midi {

// Bounds that no real MIDI file comes near.
constexpr std::size_t kMaxFileBytes = 16u << 20;
constexpr std::size_t kMaxEvents = 2'000'000;
constexpr double kMaxLengthUs = 24.0 * 3600 * 1e6;

// One event for the synthesizer: a channel message, or a system exclusive
// message whose bytes (without F0 and the closing F7) live in Song::sysex.
struct Event {
  double us = 0;
  std::uint32_t sysex_offset = 0;
  std::uint32_t sysex_length = 0;
  std::uint8_t status = 0;  // 0x80..0xEF, or 0xF0
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;

  bool is_note() const { return status < 0xB0; }  // note off, note on, key pressure
};

struct Song {
  int format = 0;
  int tracks = 0;
  TempoMap tempo = TempoMap::metrical(96);
  std::vector<Event> events;  // in playing order
  std::vector<std::uint8_t> sysex;
  std::uint64_t length_ticks = 0;
  double length_us = 0;  // time of the last event, end-of-track included
};

// Parses a whole file held in memory.
bool parse_smf(const std::uint8_t* data, std::size_t size, Song* song, std::string* error);
// Reads and parses a file from disk.
bool load_smf(const std::string& path, Song* song, std::string* error);

}  // namespace audio::midi
