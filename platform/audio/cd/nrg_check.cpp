#include "platform/audio/cd/nrg_check.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace audio {
namespace {

constexpr std::uint64_t kLargestTable = 64 * 1024;  // a real table holds a few hundred bytes
constexpr int kMaxTracks = 99;                      // the reader's track array holds 99 and the lead-out
constexpr std::uint32_t kChunkHeader = 8;           // id and length, big-endian
constexpr std::uint32_t kDaoHeader = 22;            // what precedes a DAO chunk's per-track entries

constexpr std::uint32_t tag(const char (&name)[5]) {
  return std::uint32_t(std::uint8_t(name[0])) << 24 | std::uint32_t(std::uint8_t(name[1])) << 16 |
         std::uint32_t(std::uint8_t(name[2])) << 8 | std::uint32_t(std::uint8_t(name[3]));
}

using Bytes = std::vector<std::uint8_t>;

std::uint64_t big_endian(const Bytes& bytes, std::size_t at, int width) {
  std::uint64_t value = 0;
  for (int i = 0; i < width; ++i) value = value << 8 | bytes[at + i];
  return value;
}

bool read_range(const std::string& path, std::uint64_t from, std::uint64_t count, Bytes* out) {
  std::ifstream in(path, std::ios::binary);
  out->assign(count, 0);
  in.seekg(static_cast<std::streamoff>(from));
  in.read(reinterpret_cast<char*>(out->data()), static_cast<std::streamsize>(count));
  return in.gcount() == static_cast<std::streamsize>(count);
}

// A track list entry's block size by its mode, as the reader knows them; 0 for
// a mode it refuses or misreads.
std::uint32_t block_size(std::uint32_t mode, bool wide) {
  switch (mode) {
    case 0:
    case 2:
      return 2048;
    case 3:
      return 2336;
    case 6:
    case 0x20:
      return wide ? 0 : 2336;
    case 7:
      return 2352;
    default:
      return 0;
  }
}

// Walks the chunks of an NRG table; each check_* returns "" or what is wrong.
class NrgTable {
 public:
  NrgTable(Bytes table, std::uint64_t data_end) : t_(std::move(table)), data_end_(data_end) {}

  std::string check() {
    std::size_t at = 0;
    while (true) {
      if (at + kChunkHeader > t_.size()) return "its chunk table has no end mark";
      const auto id = static_cast<std::uint32_t>(big_endian(t_, at, 4));
      const std::uint64_t length = big_endian(t_, at + 4, 4);
      if (id == tag("END!")) break;
      if (length > t_.size() - at - kChunkHeader) return "a chunk of its table runs past the table's end";
      if (std::string why = check_chunk(id, at + kChunkHeader, static_cast<std::size_t>(length)); !why.empty()) {
        return why;
      }
      at += kChunkHeader + length;
    }
    if (tracks_ == 0) return "it lists no tracks";
    return "";
  }
  // Whether check()'s complaint is about what the reader cannot take, not damage.
  bool unsupported() const { return unsupported_; }

 private:
  std::string check_chunk(std::uint32_t id, std::size_t at, std::size_t length) {
    switch (id) {
      case tag("CUES"):
      case tag("CUEX"):
        return check_cue(id == tag("CUEX"), at, length);
      case tag("ETNF"):
        return check_extents(at, length, 20, false);
      case tag("ETN2"):
        return check_extents(at, length, 32, true);
      case tag("DAOI"):
        return check_dao(at, length, 30, 4);
      case tag("DAOX"):
        return check_dao(at, length, 42, 8);
      case tag("CDTX"):
        unsupported_ = true;
        return "it holds CD-Text, which crashes the NRG reader of libcdio 2.1";
      case tag("SINF"):
      case tag("MTYP"):
        return length == 4 ? "" : "a session or media chunk has the wrong size";
      case tag("NERO"):
      case tag("NER5"):
        return "its table holds a second footer";
      default:
        return "";  // the reader skips chunks it does not know
    }
  }

  std::string take_tracks(std::size_t count) {
    if (tracks_ != 0) return "it holds more than one track list";
    if (count < 1 || count > kMaxTracks) return "its track list holds " + std::to_string(count) + " tracks";
    tracks_ = count;
    return "";
  }

  // CUES/CUEX: 8-byte entries (type, track, address mode and control, 0, LSN).
  // CUEX pairs an index-1 entry with the next track's index-0 entry after the
  // lead-in's two; CUES pairs from the second entry.
  std::string check_cue(bool extended, std::size_t at, std::size_t length) {
    if (length % 8 != 0 || length < 16) return "its cue chunk has the wrong size";
    const std::size_t entries = length / 8;
    if (extended && entries % 2 != 0) return "its cue chunk has an odd number of entries";
    const std::size_t first = extended ? 2 : 1;
    const std::size_t pairs = extended ? (entries - 2) / 2 : (entries - 1) / 2;
    if (std::string why = take_tracks(pairs); !why.empty()) return why;
    auto entry = [&](std::size_t i, std::size_t field) { return at + 8 * i + field; };
    if (extended && static_cast<std::int32_t>(big_endian(t_, entry(0, 4), 4)) != -150) {
      return "its cue chunk does not start at the lead-in";
    }
    std::int64_t previous_end = 0;
    for (std::size_t i = first; i + 1 < entries && i < first + 2 * pairs; i += 2) {
      const std::uint8_t address_mode = extended ? t_[entry(i, 2)] >> 4 : t_[entry(i, 2)] / 16;
      const bool same_track = t_[entry(i, 1)] == t_[entry(i + 1, 1)];
      const auto start = static_cast<std::int32_t>(big_endian(t_, entry(i, 4), 4));
      const auto next = static_cast<std::int32_t>(big_endian(t_, entry(i + 1, 4), 4));
      if (extended ? address_mode > 1 || same_track : address_mode != 0 || !same_track) {
        return "its cue chunk has an entry it cannot be read by";
      }
      if (extended && (start < previous_end || next <= start)) return "its cue chunk has tracks out of order";
      previous_end = next;
    }
    return "";
  }

  // ETNF/ETN2: one entry per track with its byte offset and length in the file.
  std::string check_extents(std::size_t at, std::size_t length, std::size_t size, bool wide) {
    if (length % size != 0) return "its track list has the wrong size";
    if (std::string why = take_tracks(length / size); !why.empty()) return why;
    const int width = wide ? 8 : 4;
    for (std::size_t entry = at; entry < at + length; entry += size) {
      const std::uint64_t start = big_endian(t_, entry, width);
      const std::uint64_t bytes = big_endian(t_, entry + width, width);
      const std::uint32_t mode = static_cast<std::uint32_t>(big_endian(t_, entry + 2 * width, 4));
      const std::uint64_t start_sector = big_endian(t_, entry + 2 * width + 4, 4);
      const std::uint32_t block = block_size(mode, wide);
      if (block == 0) return "a track has a mode it cannot be read by";
      // The reader keeps both in 32 bits and takes the block size from the mode.
      if (start > UINT32_MAX || bytes > UINT32_MAX || bytes % block != 0 || start_sector * block != start) {
        return "a track's place in the file does not fit its mode";
      }
      if (start + bytes > data_end_) return "a track's data lies outside the file";
    }
    return "";
  }

  // DAOI/DAOX: a header, then per track 18 bytes and three file offsets. The
  // reader reads the first entry always, and one per track listed so far.
  std::string check_dao(std::size_t at, std::size_t length, std::size_t size, int width) {
    if (seen_dao_) return "it holds more than one DAO chunk";
    seen_dao_ = true;
    const std::size_t entries = std::max<std::size_t>(tracks_, 1);
    if (length < kDaoHeader + entries * size) return "its DAO chunk is shorter than its track list needs";
    for (std::size_t i = 0; i < entries; ++i) {
      const std::size_t offsets = at + kDaoHeader + i * size + 18;
      for (int k = 0; k < 3; ++k) {
        if (big_endian(t_, offsets + k * width, width) > data_end_) return "a DAO entry points outside the file";
      }
    }
    return "";
  }

  Bytes t_;
  std::uint64_t data_end_;
  std::size_t tracks_ = 0;
  bool seen_dao_ = false;
  bool unsupported_ = false;  // well formed but beyond the reader, rather than damaged
};

}  // namespace

NrgVerdict cd_check_nrg(const std::string& path, std::string* why) {
  std::error_code failure;
  const std::uint64_t size = std::filesystem::file_size(path, failure);
  Bytes footer;
  if (failure || size < 12 || !read_range(path, size - 12, 12, &footer)) return NrgVerdict::NotNrg;
  // The reader tests the old 8-byte footer ("NERO", 32-bit offset) first.
  std::uint64_t table;
  std::uint64_t footer_at;
  if (big_endian(footer, 4, 4) == tag("NERO")) {
    table = big_endian(footer, 8, 4);
    footer_at = size - 8;
  } else if (big_endian(footer, 0, 4) == tag("NER5")) {
    table = big_endian(footer, 4, 8);
    footer_at = size - 12;
  } else {
    return NrgVerdict::NotNrg;
  }
  if (table >= footer_at) {
    *why = "its footer points outside the file";
    return NrgVerdict::Damaged;
  }
  if (footer_at - table > kLargestTable) {
    *why = "its chunk table is implausibly large";
    return NrgVerdict::Damaged;
  }
  Bytes bytes;
  if (!read_range(path, table, footer_at - table, &bytes)) {
    *why = "it can not be read";
    return NrgVerdict::Damaged;
  }
  NrgTable checked(std::move(bytes), table);
  *why = checked.check();
  if (why->empty()) return NrgVerdict::Sound;
  return checked.unsupported() ? NrgVerdict::Unsupported : NrgVerdict::Damaged;
}

}  // namespace audio
