#include "platform/profile/atomic_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace profile {

namespace {

std::function<bool(WriteStep)>& write_fault() {
  static std::function<bool(WriteStep)> fault;
  return fault;
}

bool step_allowed(WriteStep step) { return !write_fault() || write_fault()(step); }

FileStamp stamp_from(const struct stat& st) {
  FileStamp s;
  s.exists = true;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = st.st_size;
  s.modified = st.st_mtim;
  return s;
}

bool write_all(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string folder_of(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the rename itself durable.
void sync_folder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A profile file that is a symbolic link (say into a folder of dotfiles) is
// replaced at the link's target, so the link survives the rewrite.
std::string link_target(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string target = real;
  std::free(real);
  return target;
}

}  // namespace

bool FileStamp::operator==(const FileStamp& o) const {
  if (exists != o.exists) return false;
  if (!exists) return true;
  return device == o.device && inode == o.inode && size == o.size && modified.tv_sec == o.modified.tv_sec &&
         modified.tv_nsec == o.modified.tv_nsec;
}

FileStamp stamp_of(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return {};
  return stamp_from(st);
}

FileContents read_whole_file(const std::string& path) {
  FileContents out;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    out.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    return out;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    out.status = ReadStatus::Unreadable;
    return out;
  }
  out.stamp = stamp_from(st);
  out.data.resize(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  for (;;) {
    if (got == out.data.size()) out.data.resize(out.data.size() + 4096);  // the file grew meanwhile
    const ssize_t n = ::read(fd, out.data.data() + got, out.data.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      out.status = ReadStatus::Unreadable;
      return out;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  out.data.resize(got);
  ::close(fd);
  out.status = ReadStatus::Ok;
  return out;
}

std::optional<FileStamp> replace_file(const std::string& link_or_file, std::string_view data) {
  const std::string path = link_target(link_or_file);
  const std::string folder = folder_of(path);
  const auto slash = path.rfind('/');
  std::string temp = folder + "/." + path.substr(slash == std::string::npos ? 0 : slash + 1) + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return std::nullopt;

  struct stat old;
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  struct stat st;
  const bool ok = ::fchmod(fd, mode) == 0 && step_allowed(WriteStep::Write) && write_all(fd, data) &&
                  step_allowed(WriteStep::Sync) && ::fsync(fd) == 0 && ::fstat(fd, &st) == 0;
  ::close(fd);
  if (!ok || !step_allowed(WriteStep::Rename) || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return std::nullopt;
  }
  sync_folder(folder);
  return stamp_from(st);
}

void set_write_fault_for_testing(std::function<bool(WriteStep)> fault) { write_fault() = std::move(fault); }

}  // namespace profile
