#include "platform/audio/recorder.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/audio/wave_file.h"
#include "platform/profile/profile_path.h"

namespace audio {
namespace {

constexpr auto kSyncInterval = std::chrono::seconds(1);
constexpr sf_count_t kCopyChunk = 16384;

int subformat(int bits) {
  switch (bits) {
    case 8: return SF_FORMAT_PCM_U8;
    case 24: return SF_FORMAT_PCM_24;
    default: return SF_FORMAT_PCM_16;
  }
}

bool valid(const RecordFormat& f) {
  return f.samples_per_sec >= 1000 && f.samples_per_sec <= 192000 && (f.channels == 1 || f.channels == 2) &&
         (f.bits_per_sample == 8 || f.bits_per_sample == 16 || f.bits_per_sample == 24);
}

std::string system_error(const std::string& what) { return what + ": " + std::strerror(errno) + "."; }

}  // namespace

std::string default_recording_path() {
  profile::ensure_windows_directory();
  return profile::windows_directory() + "/recording-" + std::to_string(getpid()) + ".wav";
}

struct Recorder::Impl {
  RecordFormat format;
  std::string path;
  int fd = -1;
  SNDFILE* file = nullptr;
  std::atomic<bool> capturing{false};
  std::atomic<std::uint64_t> frames{0};

  // The capture pump writes; save and playback read the same file.
  mutable std::mutex file_mutex;
  std::chrono::steady_clock::time_point last_sync;
  bool write_failed = false;

  // Makes the header cover every frame written and pushes it to the disk.
  void sync_locked() {
    sf_command(file, SFC_UPDATE_HEADER_NOW, nullptr, 0);
    fsync(fd);
    last_sync = std::chrono::steady_clock::now();
  }

  void write(const float* samples, std::size_t count) {
    std::lock_guard lock(file_mutex);
    if (!file) return;
    const sf_count_t done = sf_writef_float(file, samples, static_cast<sf_count_t>(count));
    if (done != static_cast<sf_count_t>(count)) write_failed = true;  // the disk is full: keep what fits
    frames += static_cast<std::uint64_t>(done);
    if (std::chrono::steady_clock::now() - last_sync >= kSyncInterval) sync_locked();
  }

  void close_file() {
    std::lock_guard lock(file_mutex);
    if (file) sf_close(file);
    if (fd >= 0) close(fd);
    file = nullptr;
    fd = -1;
  }
};

Recorder::Recorder() : impl_(std::make_unique<Impl>()) {}

Recorder::~Recorder() { discard(); }

bool Recorder::create(const RecordFormat& format, const std::string& temp_path, std::string* error) {
  discard();
  if (!valid(format)) {
    if (error) *error = "The recording format is not supported.";
    return false;
  }
  Impl& r = *impl_;
  r.format = format;
  r.path = temp_path.empty() ? default_recording_path() : temp_path;
  r.fd = open(r.path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (r.fd < 0) {
    if (error) *error = system_error("The recording file can not be created");
    return false;
  }
  SF_INFO info{};
  info.samplerate = format.samples_per_sec;
  info.channels = format.channels;
  info.format = SF_FORMAT_WAV | subformat(format.bits_per_sample);
  r.file = sf_open_fd(r.fd, SFM_WRITE, &info, SF_FALSE);
  if (!r.file) {
    if (error) *error = std::string("The recording file can not be created: ") + sf_strerror(nullptr);
    close(r.fd);
    r.fd = -1;
    unlink(r.path.c_str());
    return false;
  }
  sf_command(r.file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  r.frames = 0;
  r.write_failed = false;
  std::lock_guard lock(r.file_mutex);
  r.sync_locked();
  return true;
}

bool Recorder::record(std::string* error) {
  Impl& r = *impl_;
  if (!r.file) {
    if (error) *error = "There is no recording to record into.";
    return false;
  }
  if (r.capturing) return true;
  Impl* impl = impl_.get();
  if (!capture_start(r.format.samples_per_sec, r.format.channels,
                     [impl](const float* samples, std::size_t count) { impl->write(samples, count); }, error))
    return false;
  r.capturing = true;
  return true;
}

void Recorder::stop() {
  Impl& r = *impl_;
  if (!r.capturing) return;
  capture_stop();
  r.capturing = false;
  std::lock_guard lock(r.file_mutex);
  if (r.file) r.sync_locked();
}

bool Recorder::recording() const { return impl_->capturing; }
bool Recorder::write_failed() const {
  std::lock_guard lock(impl_->file_mutex);
  return impl_->write_failed;
}
bool Recorder::created() const { return impl_->file != nullptr; }
std::uint64_t Recorder::frames() const { return impl_->frames; }
const RecordFormat& Recorder::format() const { return impl_->format; }
const std::string& Recorder::temp_path() const { return impl_->path; }

Producer Recorder::make_producer(std::uint64_t start_frame, std::uint64_t end_frame, std::string* error) {
  Impl& r = *impl_;
  {
    std::lock_guard lock(r.file_mutex);
    if (!r.file) {
      if (error) *error = "There is no recording to play.";
      return {};
    }
    r.sync_locked();
  }
  return make_wave_producer(r.path, start_frame, end_frame, error);
}

bool Recorder::save(const std::string& path, std::string* error) {
  Impl& r = *impl_;
  {
    // Only the header update holds up the capture; the frames it covers are
    // complete on disk and later ones only append.
    std::lock_guard lock(r.file_mutex);
    if (!r.file) {
      if (error) *error = "There is no recording to save.";
      return false;
    }
    r.sync_locked();
  }

  SF_INFO in_info{};
  SNDFILE* in = sf_open(r.path.c_str(), SFM_READ, &in_info);
  if (!in) {
    if (error) *error = std::string("The recording can not be read: ") + sf_strerror(nullptr);
    return false;
  }
  const std::string partial = path + ".partial";
  SF_INFO out_info{};
  out_info.samplerate = in_info.samplerate;
  out_info.channels = in_info.channels;
  out_info.format = SF_FORMAT_WAV | subformat(r.format.bits_per_sample);
  SNDFILE* out = sf_open(partial.c_str(), SFM_WRITE, &out_info);
  if (!out) {
    if (error) *error = std::string("The file can not be written: ") + sf_strerror(nullptr);
    sf_close(in);
    return false;
  }
  // Integers copy PCM of every width exactly.
  std::vector<int> chunk(static_cast<std::size_t>(kCopyChunk) * in_info.channels);
  bool ok = true;
  for (;;) {
    const sf_count_t got = sf_readf_int(in, chunk.data(), kCopyChunk);
    if (got <= 0) break;
    if (sf_writef_int(out, chunk.data(), got) != got) {
      ok = false;
      break;
    }
  }
  sf_close(in);
  if (ok) sf_write_sync(out);
  if (sf_error(out) != SF_ERR_NO_ERROR) ok = false;
  std::string write_error = sf_strerror(out);
  if (sf_close(out) != 0) ok = false;
  if (!ok) {
    if (error) *error = "The file can not be written: " + write_error;
    unlink(partial.c_str());
    return false;
  }
  if (rename(partial.c_str(), path.c_str()) != 0) {
    if (error) *error = system_error("The file can not be saved");
    unlink(partial.c_str());
    return false;
  }
  return true;
}

void Recorder::discard() {
  stop();
  Impl& r = *impl_;
  const bool had_file = r.file != nullptr;
  r.close_file();
  if (had_file) unlink(r.path.c_str());
  r.frames = 0;
}

}  // namespace audio
