#include "platform/audio/wave_file.h"

#include <sndfile.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "platform/audio/resampler.h"

namespace audio {
namespace {

// Above this a frame count is not a real length but a reader's placeholder
// (a truncated Ogg file reports INT64_MAX).
constexpr sf_count_t kImplausibleFrames = sf_count_t{1} << 40;

struct SndfileCloser {
  void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

// libsndfile's texts, minus the "System error : " prefix of operating-system failures.
std::string plain_error(const char* text) {
  std::string s = text ? text : "The file can not be read.";
  const std::string prefix = "System error : ";
  if (s.rfind(prefix, 0) == 0) s = s.substr(prefix.size());
  if (!s.empty()) s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
  if (!s.empty() && s.back() != '.') s += '.';
  return s;
}

int bits_per_sample(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
      return 8;
    case SF_FORMAT_PCM_24:
      return 24;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
      return 32;
    case SF_FORMAT_DOUBLE:
      return 64;
    default:
      return 16;
  }
}

std::string major_format_name(int format) {
  SF_FORMAT_INFO fi{};
  fi.format = format & SF_FORMAT_TYPEMASK;
  if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &fi, sizeof fi) != 0 || !fi.name) return "";
  std::string name = fi.name;
  return name.substr(0, name.find(' '));
}

SndfilePtr open_checked(const std::string& path, SF_INFO* sfinfo, std::string* error) {
  *sfinfo = SF_INFO{};
  SndfilePtr file(sf_open(path.c_str(), SFM_READ, sfinfo));
  if (!file) {
    if (error) *error = plain_error(sf_strerror(nullptr));
    return nullptr;
  }
  if (sfinfo->channels <= 0 || sfinfo->samplerate <= 0 || sfinfo->frames < 0 ||
      sfinfo->frames >= kImplausibleFrames) {
    if (error) *error = "The file is damaged or truncated.";
    return nullptr;
  }
  return file;
}

// Reads the file's own frames as stereo at its own rate.
class StereoReader {
 public:
  StereoReader(SndfilePtr file, int channels, sf_count_t frames)
      : file_(std::move(file)), channels_(channels), remaining_(frames) {}

  std::size_t read(float* stereo, std::size_t frames) {
    std::size_t done = 0;
    while (done < frames && remaining_ > 0) {
      const sf_count_t want = std::min<sf_count_t>({static_cast<sf_count_t>(frames - done), remaining_, kBlock});
      sf_count_t got;
      if (channels_ == 2) {
        got = sf_readf_float(file_.get(), stereo + 2 * done, want);
      } else {
        scratch_.resize(static_cast<std::size_t>(want) * channels_);
        got = sf_readf_float(file_.get(), scratch_.data(), want);
        to_stereo(scratch_.data(), stereo + 2 * done, static_cast<std::size_t>(std::max<sf_count_t>(got, 0)));
      }
      if (got <= 0) {
        remaining_ = 0;  // the file is shorter than its header says
        break;
      }
      done += static_cast<std::size_t>(got);
      remaining_ -= got;
    }
    return done;
  }

 private:
  static constexpr sf_count_t kBlock = 8192;

  void to_stereo(const float* src, float* dst, std::size_t frames) const {
    for (std::size_t i = 0; i < frames; ++i) {
      const float* f = src + i * channels_;
      dst[2 * i] = f[0];
      dst[2 * i + 1] = channels_ == 1 ? f[0] : f[1];
    }
  }

  SndfilePtr file_;
  int channels_;
  sf_count_t remaining_;
  std::vector<float> scratch_;
};

}  // namespace

bool wave_file_info(const std::string& path, WaveInfo* info, std::string* error) {
  SF_INFO sfinfo;
  SndfilePtr file = open_checked(path, &sfinfo, error);
  if (!file) return false;
  WaveInfo w;
  w.channels = sfinfo.channels;
  w.samples_per_sec = sfinfo.samplerate;
  w.bits_per_sample = bits_per_sample(sfinfo.format);
  w.block_align = w.bits_per_sample / 8 * w.channels;
  // A header may claim any rate: saturate rather than wrap (2^31 Hz × 8 bytes).
  w.avg_bytes_per_sec = static_cast<int>(
      std::min<std::int64_t>(std::int64_t{w.block_align} * w.samples_per_sec, std::numeric_limits<int>::max()));
  w.frames = static_cast<std::uint64_t>(sfinfo.frames);
  w.length_ms = static_cast<std::uint32_t>(std::min<std::uint64_t>(
      w.frames * 1000 / static_cast<std::uint64_t>(w.samples_per_sec), std::numeric_limits<std::uint32_t>::max()));
  w.format_name = major_format_name(sfinfo.format);
  *info = w;
  return true;
}

Producer make_wave_producer(const std::string& path, std::uint64_t start_frame, std::uint64_t end_frame,
                            std::string* error) {
  SF_INFO sfinfo;
  SndfilePtr file = open_checked(path, &sfinfo, error);
  if (!file) return {};
  const auto total = static_cast<std::uint64_t>(sfinfo.frames);
  const std::uint64_t start = std::min(start_frame, total);
  const std::uint64_t end = std::clamp(end_frame, start, total);
  if (start > 0 && sf_seek(file.get(), static_cast<sf_count_t>(start), SEEK_SET) < 0) {
    if (error) *error = plain_error(sf_strerror(file.get()));
    return {};
  }
  auto reader = std::make_shared<StereoReader>(std::move(file), sfinfo.channels,
                                               static_cast<sf_count_t>(end - start));
  if (sfinfo.samplerate == kEngineRate)
    return [reader](float* stereo, std::size_t frames) { return reader->read(stereo, frames); };
  return resampled([reader](float* stereo, std::size_t frames) { return reader->read(stereo, frames); },
                   sfinfo.samplerate, kEngineRate);
}

}  // namespace audio
