#include "platform/audio/midi/smf_parser.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace audio::midi {

namespace {

constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
constexpr std::uint8_t kMetaSetTempo = 0x51;
constexpr std::uint8_t kTempoMarker = 0xFF;  // status of a tempo entry while parsing

std::string format_text(const char* fmt, long a, long b = 0) {
  char text[160];
  std::snprintf(text, sizeof text, fmt, a, b);
  return text;
}

// An event while the tracks are read; times are still in ticks.
struct RawEvent {
  std::uint64_t tick;
  std::uint32_t value;  // tempo (tempo entries) or sysex offset
  std::uint32_t sysex_length;
  std::uint8_t status;
  std::uint8_t data1;
  std::uint8_t data2;
};

// Reads one track chunk; every read is checked against the chunk's end.
class TrackReader {
 public:
  TrackReader(const std::uint8_t* begin, const std::uint8_t* end, int number,
              std::vector<RawEvent>* events, std::vector<std::uint8_t>* sysex)
      : pos_(begin), begin_(begin), end_(end), number_(number), events_(events), sysex_(sysex) {}

  bool read(std::uint64_t* end_tick, std::string* error) {
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    while (pos_ < end_) {
      std::uint32_t delta = 0;
      if (!read_number(&delta, error)) return false;
      tick += delta;
      if (pos_ >= end_) return fail("ends inside an event", error);
      std::uint8_t status = *pos_;
      if (status & 0x80) {
        ++pos_;
      } else if (running) {
        status = running;  // running status: the byte is the first data byte
      } else {
        return fail("has a data byte where a status byte belongs", error);
      }
      bool ended = false;
      if (status < 0xF0) {
        running = status;
        if (!read_channel_message(tick, status, error)) return false;
      } else if (status == 0xF0 || status == 0xF7) {
        running = 0;
        if (!read_sysex(tick, status, error)) return false;
      } else if (status == 0xFF) {
        running = 0;
        if (!read_meta(tick, &ended, error)) return false;
      } else {
        return fail("has a system message that does not belong in a file", error);
      }
      if (ended) break;  // anything after the end of track is ignored
    }
    // A track that stops at an event boundary without its end-of-track event
    // still plays; one cut inside an event failed above.
    *end_tick = tick;
    return true;
  }

 private:
  bool fail(const char* what, std::string* error) {
    char text[160];
    std::snprintf(text, sizeof text, "The MIDI file is corrupt: track %d %s (byte %ld of the track).",
                  number_, what, long(pos_ - begin_));
    *error = text;
    return false;
  }

  bool read_number(std::uint32_t* value, std::string* error) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      if (pos_ >= end_) return fail("ends inside a number", error);
      const std::uint8_t b = *pos_++;
      v = (v << 7) | (b & 0x7F);
      if (!(b & 0x80)) {
        *value = v;
        return true;
      }
    }
    return fail("has a number longer than four bytes", error);
  }

  bool read_data_byte(std::uint8_t* value, std::string* error) {
    if (pos_ >= end_) return fail("ends inside an event", error);
    if (*pos_ & 0x80) return fail("has a message cut short by a status byte", error);
    *value = *pos_++;
    return true;
  }

  bool push(const RawEvent& event, std::string* error) {
    if (events_->size() >= kMaxEvents) {
      *error = format_text("The MIDI file has more than %ld events.", long(kMaxEvents));
      return false;
    }
    events_->push_back(event);
    return true;
  }

  bool read_channel_message(std::uint64_t tick, std::uint8_t status, std::string* error) {
    RawEvent event{tick, 0, 0, status, 0, 0};
    if (!read_data_byte(&event.data1, error)) return false;
    const std::uint8_t kind = status & 0xF0;
    if (kind != 0xC0 && kind != 0xD0 && !read_data_byte(&event.data2, error)) return false;
    return push(event, error);
  }

  bool read_block(std::uint32_t* length, std::string* error) {
    if (!read_number(length, error)) return false;
    if (*length > std::size_t(end_ - pos_)) return fail("has an event longer than the track", error);
    return true;
  }

  // F0 starts a message (sent to the synthesizer); F7 carries raw continuation
  // or escape bytes, which a file player has no use for.
  bool read_sysex(std::uint64_t tick, std::uint8_t status, std::string* error) {
    std::uint32_t length = 0;
    if (!read_block(&length, error)) return false;
    const std::uint8_t* bytes = pos_;
    pos_ += length;
    if (status != 0xF0) return true;
    std::uint32_t body = length;
    if (body > 0 && bytes[body - 1] == 0xF7) --body;
    if (body == 0) return true;
    RawEvent event{tick, std::uint32_t(sysex_->size()), body, 0xF0, 0, 0};
    sysex_->insert(sysex_->end(), bytes, bytes + body);
    return push(event, error);
  }

  bool read_meta(std::uint64_t tick, bool* ended, std::string* error) {
    std::uint8_t type = 0;
    if (!read_data_byte(&type, error)) return false;
    std::uint32_t length = 0;
    if (!read_block(&length, error)) return false;
    const std::uint8_t* bytes = pos_;
    pos_ += length;
    if (type == kMetaEndOfTrack) {
      *ended = true;
    } else if (type == kMetaSetTempo) {
      if (length != 3) return fail("has a tempo event of the wrong size", error);
      const std::uint32_t us = (std::uint32_t(bytes[0]) << 16) | (bytes[1] << 8) | bytes[2];
      if (us == 0) return fail("has a tempo of zero", error);
      return push({tick, us, 0, kTempoMarker, 0, 0}, error);
    }
    return true;
  }

  const std::uint8_t* pos_;
  const std::uint8_t* begin_;
  const std::uint8_t* end_;
  int number_;
  std::vector<RawEvent>* events_;
  std::vector<std::uint8_t>* sysex_;
};

std::uint32_t be32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}
std::uint16_t be16(const std::uint8_t* p) { return std::uint16_t((p[0] << 8) | p[1]); }
std::uint32_t le32(const std::uint8_t* p) {
  return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
}

// A RIFF "RMID" file carries a standard MIDI file in its "data" chunk.
bool unwrap_rmid(const std::uint8_t** data, std::size_t* size, std::string* error) {
  const std::uint8_t* p = *data;
  if (*size < 12 || std::memcmp(p, "RIFF", 4) != 0) return true;
  if (std::memcmp(p + 8, "RMID", 4) != 0) {
    *error = "Not a MIDI file: it is a RIFF file of another kind (such as a wave file).";
    return false;
  }
  std::size_t pos = 12;
  while (pos + 8 <= *size) {
    const std::size_t length = le32(p + pos + 4);
    if (length > *size - pos - 8) break;
    if (std::memcmp(p + pos, "data", 4) == 0) {
      *data = p + pos + 8;
      *size = length;
      return true;
    }
    pos += 8 + length + (length & 1);
  }
  *error = "The RIFF MIDI file has no complete MIDI data.";
  return false;
}

// Reads the MThd header into `song` and the time base into `tempo`.
bool read_header(const std::uint8_t* p, std::size_t size, Song* song, std::size_t* header_end,
                 std::string* error) {
  if (size == 0) {
    *error = "The file is empty.";
    return false;
  }
  if (size < 4 || std::memcmp(p, "MThd", 4) != 0) {
    *error = "Not a standard MIDI file (no MThd header).";
    return false;
  }
  if (size < 14) {
    *error = "The MIDI file is truncated inside its header.";
    return false;
  }
  const std::uint32_t header_length = be32(p + 4);
  if (header_length < 6 || header_length > size - 8) {
    *error = "The MIDI file has a corrupt header.";
    return false;
  }
  song->format = be16(p + 8);
  song->tracks = be16(p + 10);
  const std::uint16_t division = be16(p + 12);
  if (song->format == 2) {
    *error = "MIDI files of format 2 (independent sequences) are not supported.";
    return false;
  }
  if (song->format > 2) {
    *error = format_text("Unknown MIDI file format %ld.", song->format);
    return false;
  }
  if (song->tracks == 0 || (song->format == 0 && song->tracks != 1)) {
    *error = format_text("The MIDI file has a corrupt header (format %ld with %ld tracks).",
                         song->format, song->tracks);
    return false;
  }
  if (division & 0x8000) {
    const int fps = -static_cast<std::int8_t>(division >> 8);
    const int ticks_per_frame = division & 0xFF;
    if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || ticks_per_frame == 0) {
      *error = "The MIDI file has an invalid SMPTE time division.";
      return false;
    }
    song->tempo = TempoMap::smpte(fps, ticks_per_frame);
  } else {
    if (division == 0) {
      *error = "The MIDI file has a time division of zero.";
      return false;
    }
    song->tempo = TempoMap::metrical(division);
  }
  *header_end = 8 + header_length;
  return true;
}

bool printable_id(const std::uint8_t* p) {
  return std::all_of(p, p + 4, [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; });
}

bool read_tracks(const std::uint8_t* p, std::size_t size, std::size_t pos, Song* song,
                 std::vector<RawEvent>* raw, std::string* error) {
  int found = 0;
  while (found < song->tracks) {
    if (pos + 8 > size) {
      *error = format_text("The MIDI file is truncated: %ld of %ld tracks are there.", found,
                           song->tracks);
      return false;
    }
    if (!printable_id(p + pos)) {
      *error = format_text("The MIDI file is corrupt: no track chunk where track %ld begins.",
                           found + 1);
      return false;
    }
    const std::size_t length = be32(p + pos + 4);
    const bool is_track = std::memcmp(p + pos, "MTrk", 4) == 0;
    if (length > size - pos - 8) {
      *error = is_track ? format_text("The MIDI file is truncated: track %ld runs past the end of the file.",
                                      found + 1)
                        : std::string("The MIDI file is truncated: a chunk runs past the end of the file.");
      return false;
    }
    if (is_track) {  // chunks of other kinds are skipped, as the format allows
      ++found;
      TrackReader reader(p + pos + 8, p + pos + 8 + length, found, raw, &song->sysex);
      std::uint64_t end_tick = 0;
      if (!reader.read(&end_tick, error)) return false;
      song->length_ticks = std::max(song->length_ticks, end_tick);
    }
    pos += 8 + length;
  }
  return true;
}

// Orders the events of all tracks in time, applies the tempo changes and keeps
// what the synthesizer plays.
bool build_timeline(std::vector<RawEvent>* raw, Song* song, std::string* error) {
  std::stable_sort(raw->begin(), raw->end(),
                   [](const RawEvent& a, const RawEvent& b) { return a.tick < b.tick; });
  for (const RawEvent& e : *raw) {
    if (e.status == kTempoMarker) song->tempo.set_tempo(e.tick, e.value);
  }
  song->length_us = song->tempo.tick_to_us(song->length_ticks);
  if (song->length_us > kMaxLengthUs) {
    *error = "The MIDI file is corrupt: it would play for more than a day.";
    return false;
  }
  song->events.reserve(raw->size());
  for (const RawEvent& e : *raw) {
    if (e.status == kTempoMarker) continue;
    Event event;
    event.us = song->tempo.tick_to_us(e.tick);
    event.status = e.status;
    event.data1 = e.data1;
    event.data2 = e.data2;
    if (e.status == 0xF0) {
      event.sysex_offset = e.value;
      event.sysex_length = e.sysex_length;
    }
    song->events.push_back(event);
  }
  return true;
}

}  // namespace

bool parse_smf(const std::uint8_t* data, std::size_t size, Song* song, std::string* error) {
  *song = Song{};
  if (size > kMaxFileBytes) {
    *error = "The file is too large to be a MIDI file.";
    return false;
  }
  if (!unwrap_rmid(&data, &size, error)) return false;
  std::size_t pos = 0;
  if (!read_header(data, size, song, &pos, error)) return false;
  std::vector<RawEvent> raw;
  if (!read_tracks(data, size, pos, song, &raw, error)) return false;
  return build_timeline(&raw, song, error);
}

bool load_smf(const std::string& path, Song* song, std::string* error) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    *error = "The file cannot be opened: " + std::string(std::strerror(errno)) + ".";
    return false;
  }
  // Read at most one byte past the limit: enough to tell a too-large file.
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[65536];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (bytes.size() > kMaxFileBytes) {
      *error = "The file is too large to be a MIDI file.";
      return false;
    }
  }
  if (std::ferror(file.get())) {
    *error = "The file cannot be read: " + std::string(std::strerror(errno)) + ".";
    return false;
  }
  return parse_smf(bytes.data(), bytes.size(), song, error);
}

}  // namespace audio::midi
