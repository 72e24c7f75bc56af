#include "media/disc_image.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <stdexcept>

namespace testmedia {
namespace {

constexpr std::size_t kSectorBytes = 2352;
constexpr std::uint32_t kPregapSectors = 150;

std::string msf(std::uint32_t sectors) {
  char text[48];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", sectors / (60 * 75), sectors / 75 % 60, sectors % 75);
  return text;
}

std::uint8_t bcd(std::uint32_t value) { return static_cast<std::uint8_t>(value / 10 * 16 + value % 10); }

void write_audio_sectors(std::ofstream& bin, const CdImageTrack& track) {
  std::vector<char> sector(kSectorBytes);
  for (std::uint32_t s = 0; s < track.sectors; ++s) {
    for (int f = 0; f < kCdImageFramesPerSector; ++f) {
      const std::uint64_t frame = std::uint64_t{s} * kCdImageFramesPerSector + f;
      for (int channel = 0; channel < 2; ++channel) {
        const auto sample = static_cast<std::uint16_t>(cd_image_sample(track, frame, channel));
        sector[f * 4 + channel * 2] = static_cast<char>(sample & 0xff);  // little-endian
        sector[f * 4 + channel * 2 + 1] = static_cast<char>(sample >> 8);
      }
    }
    bin.write(sector.data(), sector.size());
  }
}

// A MODE1 raw sector: sync, MSF header, mode, then a recognisable user-data pattern.
void write_data_sectors(std::ofstream& bin, const CdImageTrack& track, std::uint32_t first_lba) {
  std::vector<char> sector(kSectorBytes, 0);
  for (std::uint32_t s = 0; s < track.sectors; ++s) {
    const std::uint32_t address = first_lba + s;
    sector[0] = 0;
    for (int i = 1; i <= 10; ++i) sector[i] = static_cast<char>(0xff);
    sector[11] = 0;
    sector[12] = static_cast<char>(bcd(address / (60 * 75)));
    sector[13] = static_cast<char>(bcd(address / 75 % 60));
    sector[14] = static_cast<char>(bcd(address % 75));
    sector[15] = 1;
    for (int i = 16; i < 16 + 2048; ++i) sector[i] = static_cast<char>(0x5a ^ (i & 0xff));
    bin.write(sector.data(), sector.size());
  }
}

void write_cdtext(std::ofstream& cue, const char* indent, const std::string& title,
                  const std::string& performer) {
  if (!title.empty()) cue << indent << "TITLE \"" << title << "\"\n";
  if (!performer.empty()) cue << indent << "PERFORMER \"" << performer << "\"\n";
}

void put_big_endian(std::string* out, std::uint64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) out->push_back(static_cast<char>(value >> (8 * i) & 0xff));
}

// A CUEX entry: ADR 1, the track (BCD, 0xAA for the lead-out), the index, 0, the LSN.
void put_cue_entry(std::string* out, std::uint8_t track, std::uint8_t index, std::int32_t lsn) {
  out->push_back(1);
  out->push_back(static_cast<char>(track));
  out->push_back(static_cast<char>(index));
  out->push_back(0);
  put_big_endian(out, static_cast<std::uint32_t>(lsn), 4);
}

}  // namespace

std::string nrg_chunk(const std::string& id, const std::string& body) {
  std::string chunk = id.substr(0, 4);
  put_big_endian(&chunk, body.size(), 4);
  return chunk + body;
}

std::string nrg_track_chunks(const CdImage& image) {
  std::string cues;
  put_cue_entry(&cues, 0, 0, -static_cast<std::int32_t>(kPregapSectors));  // lead-in
  put_cue_entry(&cues, 1, 0, -static_cast<std::int32_t>(kPregapSectors));
  std::int32_t lsn = 0;
  std::string daos(4, '\0');  // the chunk's size, little-endian, unused by readers
  daos += std::string(13, '\0');  // catalogue number
  daos += std::string{'\0', '\0', '\0', '\1', static_cast<char>(image.tracks.size())};
  for (std::size_t i = 0; i < image.tracks.size(); ++i) {
    const std::uint64_t index1 = (kPregapSectors + static_cast<std::uint64_t>(lsn)) * kSectorBytes;
    put_cue_entry(&cues, bcd(static_cast<std::uint32_t>(i + 1)), 1, lsn);
    lsn += static_cast<std::int32_t>(image.tracks[i].sectors);
    const bool last = i + 1 == image.tracks.size();
    put_cue_entry(&cues, last ? 0xAA : bcd(static_cast<std::uint32_t>(i + 2)), last ? 1 : 0, lsn);
    // ISRC, sector size, then the track mode (7: audio) where readers look for it.
    std::string entry(18, '\0');
    entry[12] = static_cast<char>(kSectorBytes >> 8);
    entry[13] = static_cast<char>(kSectorBytes & 0xff);
    entry[14] = entry[16] = 7;
    daos += entry;
    put_big_endian(&daos, i == 0 ? 0 : index1, 8);
    put_big_endian(&daos, index1, 8);
    put_big_endian(&daos, (kPregapSectors + static_cast<std::uint64_t>(lsn)) * kSectorBytes, 8);
  }
  return nrg_chunk("CUEX", cues) + nrg_chunk("DAOX", daos);
}

std::string write_nrg_image(const std::string& dir, const std::string& file_name, const CdImage& image,
                            const std::string& chunks) {
  const std::string path = dir + "/" + file_name;
  std::ofstream out(path, std::ios::binary);
  out << std::string(kPregapSectors * kSectorBytes, '\0');
  for (const CdImageTrack& track : image.tracks) write_audio_sectors(out, track);
  const auto table = static_cast<std::uint64_t>(out.tellp());
  std::string tail = chunks + nrg_chunk("END!", "") + "NER5";
  put_big_endian(&tail, table, 8);
  out << tail;
  if (!out.flush()) throw std::runtime_error("cannot write a disc image in " + dir);
  return path;
}

double cd_image_frequency(std::size_t track_index) { return 330.0 + 110.0 * static_cast<double>(track_index); }

CdImage cd_image_of(const std::vector<double>& audio_seconds, int data_tracks) {
  CdImage image;
  for (double seconds : audio_seconds) {
    CdImageTrack track;
    track.sectors = static_cast<std::uint32_t>(std::lround(seconds * kCdImageSectorsPerSecond));
    track.frequency = cd_image_frequency(image.tracks.size());
    image.tracks.push_back(track);
  }
  for (int i = 0; i < data_tracks; ++i) {
    CdImageTrack track;
    track.sectors = 2 * kCdImageSectorsPerSecond;
    track.audio = false;
    image.tracks.push_back(track);
  }
  return image;
}

std::int16_t cd_image_sample(const CdImageTrack& track, std::uint64_t frame, int channel) {
  const double phase = 2.0 * std::numbers::pi * track.frequency * static_cast<double>(frame) / kCdImageRate;
  const double value = channel == 0 ? 12000.0 * std::sin(phase) : 8000.0 * std::sin(phase + std::numbers::pi / 3);
  return static_cast<std::int16_t>(std::lround(value));
}

std::string write_cd_image(const std::string& dir, const std::string& name, const CdImage& image) {
  const std::string bin_path = dir + "/" + name + ".bin";
  const std::string cue_path = dir + "/" + name + ".cue";
  std::ofstream bin(bin_path, std::ios::binary);
  std::ofstream cue(cue_path);
  if (!bin || !cue) throw std::runtime_error("cannot write a disc image in " + dir);

  write_cdtext(cue, "", image.title, image.performer);
  cue << "FILE \"" << name << ".bin\" BINARY\n";
  std::uint32_t offset = 0;  // sectors from the start of the BIN
  for (std::size_t i = 0; i < image.tracks.size(); ++i) {
    const CdImageTrack& track = image.tracks[i];
    char number[24];
    std::snprintf(number, sizeof number, "%02zu", i + 1);
    cue << "  TRACK " << number << (track.audio ? " AUDIO\n" : " MODE1/2352\n");
    write_cdtext(cue, "    ", track.title, track.performer);
    cue << "    INDEX 01 " << msf(offset) << "\n";
    if (track.audio) {
      write_audio_sectors(bin, track);
    } else {
      write_data_sectors(bin, track, kPregapSectors + offset);
    }
    offset += track.sectors;
  }
  if (!bin.flush() || !cue.flush()) throw std::runtime_error("cannot write a disc image in " + dir);
  return cue_path;
}

}  // namespace testmedia
