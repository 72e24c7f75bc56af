#include "platform/audio/recorder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
constexpr const char* kSuffix = ".wav";

struct Width {
  int bits;
  int subformat;
};
constexpr Width kWidths[] = {
    {8, SF_FORMAT_PCM_U8}, {16, SF_FORMAT_PCM_16}, {24, SF_FORMAT_PCM_24}, {32, SF_FORMAT_PCM_32}};

int subformat(int bits) {
  for (const Width& w : kWidths)
    if (w.bits == bits) return w.subformat;
  return SF_FORMAT_PCM_16;
}

// The width a file's sound keeps as PCM: its own for PCM and lossless formats,
// 16 bits for lossy ones.
int kept_bits(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
      return 8;
    case SF_FORMAT_PCM_24:
      return 24;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
      return 32;
    default:
      return 16;
  }
}

bool valid(const RecordFormat& f) {
  return f.samples_per_sec >= 1000 && f.samples_per_sec <= 192000 && (f.channels == 1 || f.channels == 2) &&
         std::any_of(std::begin(kWidths), std::end(kWidths), [&](const Width& w) { return w.bits == f.bits_per_sample; });
}

std::string system_error(const std::string& what) { return what + ": " + std::strerror(errno) + "."; }

std::function<bool(SaveStep)>& save_fault() {
  static std::function<bool(SaveStep)> fault;
  return fault;
}

// A step the test seam refuses fails as the disk would: errno says why.
bool step_allowed(SaveStep step) {
  if (!save_fault() || save_fault()(step)) return true;
  errno = step == SaveStep::Create ? EACCES : step == SaveStep::Write ? ENOSPC : EIO;
  return false;
}

std::string folder_of(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void sync_folder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// The lock that says a running process holds a recording. flock belongs to the
// open file, so other opens of the same file (playback, save) leave it alone.
bool take_lock(int fd) { return flock(fd, LOCK_EX | LOCK_NB) == 0; }

// The format of a wave file this recorder can continue, or false.
bool recording_format(const SF_INFO& info, RecordFormat* format) {
  if ((info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV) return false;
  RecordFormat f{info.samplerate, info.channels, kept_bits(info.format)};
  if (!valid(f) || subformat(f.bits_per_sample) != (info.format & SF_FORMAT_SUBMASK)) return false;
  *format = f;
  return true;
}

}  // namespace

std::string recordings_folder() { return profile::windows_directory() + "/recordings"; }

std::string default_recording_path() {
  static std::atomic<int> counter{0};
  profile::ensure_windows_directory();
  mkdir(recordings_folder().c_str(), 0700);
  return recordings_folder() + "/recording-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + kSuffix;
}

std::vector<OrphanedRecording> orphaned_recordings() {
  std::vector<std::pair<std::int64_t, OrphanedRecording>> found;
  const std::string folder = recordings_folder();
  DIR* dir = opendir(folder.c_str());
  if (!dir) return {};
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name[0] == '.' || name.size() <= std::strlen(kSuffix) ||
        name.compare(name.size() - std::strlen(kSuffix), std::string::npos, kSuffix) != 0)
      continue;
    const std::string path = folder + "/" + name;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st;
    SF_INFO info{};
    SNDFILE* file = nullptr;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && take_lock(fd)) file = sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    OrphanedRecording orphan;
    orphan.path = path;
    if (file && recording_format(info, &orphan.format)) {
      orphan.frames = static_cast<std::uint64_t>(info.frames);
      if (orphan.frames == 0)
        unlink(path.c_str());  // still locked by us: nobody else is writing it
      else
        found.push_back({static_cast<std::int64_t>(st.st_mtime), orphan});
    }
    if (file) sf_close(file);
    close(fd);
  }
  closedir(dir);
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<OrphanedRecording> out;
  for (auto& [when, orphan] : found) out.push_back(std::move(orphan));
  return out;
}

bool delete_orphaned_recording(const std::string& path, std::string* error) {
  if (folder_of(path) != recordings_folder()) {
    if (error) *error = "The file is not a recording left behind.";
    return false;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = system_error("The recording can not be deleted");
    return false;
  }
  const bool free = take_lock(fd);
  if (free) unlink(path.c_str());
  close(fd);
  if (!free && error) *error = "The recording belongs to a rack that is still running.";
  return free;
}

struct Recorder::Impl {
  RecordFormat format;
  std::string path;
  int fd = -1;
  SNDFILE* file = nullptr;
  std::atomic<bool> capturing{false};
  std::atomic<std::uint64_t> frames{0};
  std::atomic<std::uint64_t> head{0};
  std::atomic<bool> write_failed{false};
  // The device failed under the last take: kept past the capture's end.
  bool source_failed = false;

  // The capture pump writes; save and playback read the same file.
  mutable std::mutex file_mutex;
  std::chrono::steady_clock::time_point last_sync;

  // Makes the header cover every frame written and pushes it to the disk.
  void sync_locked() {
    sf_command(file, SFC_UPDATE_HEADER_NOW, nullptr, 0);
    fsync(fd);
    last_sync = std::chrono::steady_clock::now();
  }

  void write(const float* samples, std::size_t count) {
    std::lock_guard lock(file_mutex);
    if (!file || write_failed) return;
    const sf_count_t done = sf_writef_float(file, samples, static_cast<sf_count_t>(count));
    head += static_cast<std::uint64_t>(std::max<sf_count_t>(done, 0));
    if (head > frames) frames = head.load();
    // The disk is full: keep what fitted and drop the rest of the take.
    if (done != static_cast<sf_count_t>(count)) write_failed = true;
    if (write_failed || std::chrono::steady_clock::now() - last_sync >= kSyncInterval) sync_locked();
  }

  // Opens the temporary file and takes its lock.
  bool open_locked_file(const std::string& at, int flags, std::string* error) {
    fd = open(at.c_str(), flags | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (error) *error = system_error("The recording file can not be opened");
      return false;
    }
    if (!take_lock(fd)) {
      if (error) *error = "The recording belongs to a rack that is still running.";
      close(fd);
      fd = -1;
      return false;
    }
    return true;
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
  // A default recording is born under a hidden name and shows up only once it
  // is locked and valid, so no other rack ever takes it for an orphan.
  const std::string birth = temp_path.empty() ? folder_of(r.path) + "/." + name_of(r.path) : r.path;
  if (!r.open_locked_file(birth, O_RDWR | O_CREAT | O_TRUNC, error)) return false;
  SF_INFO info{};
  info.samplerate = format.samples_per_sec;
  info.channels = format.channels;
  info.format = SF_FORMAT_WAV | subformat(format.bits_per_sample);
  r.file = sf_open_fd(r.fd, SFM_WRITE, &info, SF_FALSE);
  const bool shown = r.file && (birth == r.path || rename(birth.c_str(), r.path.c_str()) == 0);
  if (!shown) {
    if (error) *error = r.file ? system_error("The recording file can not be created")
                               : std::string("The recording file can not be created: ") + sf_strerror(nullptr);
    r.close_file();
    unlink(birth.c_str());
    return false;
  }
  sf_command(r.file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  r.frames = 0;
  r.head = 0;
  r.write_failed = false;
  std::lock_guard lock(r.file_mutex);
  r.sync_locked();
  sync_folder(folder_of(r.path));  // the name survives a power loss too
  return true;
}

bool Recorder::create_from_file(const std::string& source, std::string* error) {
  SF_INFO in_info{};
  SNDFILE* in = sf_open(source.c_str(), SFM_READ, &in_info);
  if (!in) {
    if (error) *error = std::string("The file can not be read: ") + sf_strerror(nullptr);
    return false;
  }
  const RecordFormat format{in_info.samplerate, in_info.channels, kept_bits(in_info.format)};
  if (!create(format, "", error)) {
    sf_close(in);
    return false;
  }
  // Integers copy PCM of every width exactly.
  Impl& r = *impl_;
  std::vector<int> chunk(static_cast<std::size_t>(kCopyChunk) * in_info.channels);
  bool ok = true;
  {
    std::lock_guard lock(r.file_mutex);
    while (ok) {
      const sf_count_t got = sf_readf_int(in, chunk.data(), kCopyChunk);
      if (got <= 0) break;
      ok = sf_writef_int(r.file, chunk.data(), got) == got;
      r.frames += static_cast<std::uint64_t>(got);
    }
    r.sync_locked();
  }
  sf_close(in);
  if (!ok) {
    if (error) *error = "The recording file can not be written: " + std::string(sf_strerror(r.file));
    discard();
  }
  return ok;
}

bool Recorder::adopt(const std::string& orphan_path, std::string* error) {
  discard();
  Impl& r = *impl_;
  if (!r.open_locked_file(orphan_path, O_RDWR, error)) return false;
  SF_INFO info{};
  r.file = sf_open_fd(r.fd, SFM_RDWR, &info, SF_FALSE);
  if (!r.file || !recording_format(info, &r.format)) {
    if (error) *error = "The recording is damaged and can not be recovered.";
    r.close_file();
    return false;
  }
  sf_command(r.file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  r.path = orphan_path;
  r.frames = static_cast<std::uint64_t>(info.frames);
  r.head = 0;
  r.write_failed = false;
  return true;
}

bool Recorder::record(std::uint64_t start_frame, std::string* error) {
  Impl& r = *impl_;
  if (!r.file) {
    if (error) *error = "There is no recording to record into.";
    return false;
  }
  if (recording()) return true;
  stop();  // a capture the disk or the engine cut short
  {
    std::lock_guard lock(r.file_mutex);
    const std::uint64_t start = std::min<std::uint64_t>(start_frame, r.frames);
    if (sf_seek(r.file, static_cast<sf_count_t>(start), SEEK_SET | SFM_WRITE) < 0) {
      if (error) *error = std::string("The recording file can not be written: ") + sf_strerror(r.file);
      return false;
    }
    r.head = start;
    r.write_failed = false;
  }
  r.source_failed = false;
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
  r.source_failed = capture_failed();
  if (capture_active()) capture_stop();
  r.capturing = false;
  std::lock_guard lock(r.file_mutex);
  if (r.file) r.sync_locked();
}

bool Recorder::recording() const {
  return impl_->capturing && capture_active() && !impl_->write_failed && !capture_failed();
}
bool Recorder::write_failed() const { return impl_->write_failed; }
bool Recorder::source_failed() const { return impl_->capturing ? capture_failed() : impl_->source_failed; }
bool Recorder::created() const { return impl_->file != nullptr; }
std::uint64_t Recorder::frames() const { return impl_->frames; }
std::uint64_t Recorder::head() const { return impl_->head; }
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
    // complete on disk and later ones only change what the copy does not read.
    std::lock_guard lock(r.file_mutex);
    if (!r.file) {
      if (error) *error = "There is no recording to save.";
      return false;
    }
    r.sync_locked();
    struct stat target, own;
    if (stat(path.c_str(), &target) == 0 && fstat(r.fd, &own) == 0 && target.st_dev == own.st_dev &&
        target.st_ino == own.st_ino) {
      if (error) *error = "The recording can not be saved over its own temporary file \"" + path + "\".";
      return false;
    }
  }
  SF_INFO in_info{};
  SNDFILE* in = sf_open(r.path.c_str(), SFM_READ, &in_info);
  if (!in) {
    if (error) *error = std::string("The recording can not be read: ") + sf_strerror(nullptr);
    return false;
  }
  std::string partial = folder_of(path) + "/." + name_of(path) + ".XXXXXX";
  const int fd = step_allowed(SaveStep::Create) ? mkostemp(partial.data(), O_CLOEXEC) : -1;
  if (fd < 0) {
    if (error) *error = system_error("The file can not be written as \"" + path + "\"");
    sf_close(in);
    return false;
  }
  struct stat old;
  fchmod(fd, stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  SF_INFO out_info{};
  out_info.samplerate = in_info.samplerate;
  out_info.channels = in_info.channels;
  out_info.format = SF_FORMAT_WAV | subformat(r.format.bits_per_sample);
  SNDFILE* out = sf_open_fd(fd, SFM_WRITE, &out_info, SF_TRUE);
  if (!out) close(fd);
  int failure = out ? 0 : EIO;  // the errno of the first step that failed
  std::vector<int> chunk(static_cast<std::size_t>(kCopyChunk) * in_info.channels);
  while (!failure) {
    const sf_count_t got = sf_readf_int(in, chunk.data(), kCopyChunk);
    if (got <= 0) break;
    errno = 0;
    if (!step_allowed(SaveStep::Write) || sf_writef_int(out, chunk.data(), got) != got) failure = errno ? errno : EIO;
  }
  sf_close(in);
  if (out) {
    errno = 0;
    if (!failure) sf_write_sync(out);
    if (!failure && sf_error(out) != SF_ERR_NO_ERROR) failure = errno ? errno : EIO;
    if (sf_close(out) != 0 && !failure) failure = EIO;
  }
  const char* reason = "The file can not be written";
  if (!failure && (!step_allowed(SaveStep::Rename) || rename(partial.c_str(), path.c_str()) != 0)) {
    failure = errno;
    reason = "The file can not be saved";
  }
  if (failure) {
    errno = failure;
    if (error) *error = system_error(std::string(reason) + " as \"" + path + "\"");
    unlink(partial.c_str());
    return false;
  }
  sync_folder(folder_of(path));
  return true;
}

void Recorder::discard() {
  stop();
  Impl& r = *impl_;
  const bool had_file = r.file != nullptr;
  r.close_file();
  if (had_file) unlink(r.path.c_str());
  r.frames = 0;
  r.head = 0;
  r.write_failed = false;
  r.source_failed = false;
}

void set_save_fault_for_testing(std::function<bool(SaveStep)> fault) { save_fault() = std::move(fault); }

}  // namespace audio
