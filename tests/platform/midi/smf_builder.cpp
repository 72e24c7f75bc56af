#include "smf_builder.h"

#include <fstream>

namespace midi_test {

void put_number(Bytes* out, std::uint32_t value) {
  std::uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = value & 0x7F;
    value >>= 7;
  } while (value);
  while (n > 1) out->push_back(groups[--n] | 0x80);
  out->push_back(groups[0]);
}

Track& Track::event(std::uint32_t delta, const Bytes& bytes) {
  put_number(&bytes_, delta);
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

Track& Track::note_on(std::uint32_t delta, int channel, int key, int velocity) {
  return event(delta, {std::uint8_t(0x90 | channel), std::uint8_t(key), std::uint8_t(velocity)});
}

Track& Track::note_off(std::uint32_t delta, int channel, int key) {
  return event(delta, {std::uint8_t(0x80 | channel), std::uint8_t(key), 0x40});
}

Track& Track::tempo(std::uint32_t delta, std::uint32_t us) {
  return event(delta, {0xFF, 0x51, 0x03, std::uint8_t(us >> 16), std::uint8_t(us >> 8), std::uint8_t(us)});
}

Track& Track::raw(const Bytes& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

Track& Track::end(std::uint32_t delta) { return event(delta, {0xFF, 0x2F, 0x00}); }

Bytes header(int format, int tracks, std::uint16_t division) {
  return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, std::uint8_t(format), std::uint8_t(tracks >> 8),
          std::uint8_t(tracks), std::uint8_t(division >> 8), std::uint8_t(division)};
}

Bytes chunk(const char* id, const Bytes& body) {
  const std::uint32_t n = std::uint32_t(body.size());
  Bytes out;
  out.reserve(8 + body.size());
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(id[i]));
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(n >> shift));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes smf(int format, std::uint16_t division, const std::vector<Track>& tracks) {
  Bytes out = header(format, int(tracks.size()), division);
  for (const Track& t : tracks) {
    const Bytes c = chunk("MTrk", t.bytes());
    out.insert(out.end(), c.begin(), c.end());
  }
  return out;
}

std::string write_file(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return path;
}

}  // namespace midi_test
