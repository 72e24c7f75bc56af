#pragma once
// Builds Standard MIDI Files byte by byte for the tests.
#include <cstdint>
#include <string>
#include <vector>

namespace midi_test {

using Bytes = std::vector<std::uint8_t>;

class Track {
 public:
  // Each event is a delta time in ticks and the raw bytes that follow it, so a
  // test can leave out status bytes (running status) or write broken events.
  Track& event(std::uint32_t delta, const Bytes& bytes);
  Track& note_on(std::uint32_t delta, int channel, int key, int velocity);
  Track& note_off(std::uint32_t delta, int channel, int key);
  Track& tempo(std::uint32_t delta, std::uint32_t us_per_quarter);
  Track& end(std::uint32_t delta = 0);
  // Bytes as they stand, delta times included.
  Track& raw(const Bytes& bytes);
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

void put_number(Bytes* out, std::uint32_t value);  // variable-length quantity
Bytes header(int format, int tracks, std::uint16_t division);
Bytes chunk(const char* id, const Bytes& body);
Bytes smf(int format, std::uint16_t division, const std::vector<Track>& tracks);

// Writes `bytes` to `path`; returns the path.
std::string write_file(const std::string& path, const Bytes& bytes);

}  // namespace midi_test
