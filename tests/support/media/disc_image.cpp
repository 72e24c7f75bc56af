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

}  // namespace

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
