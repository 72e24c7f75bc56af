#pragma once
// Reading a whole file and replacing one atomically: the new contents go to a
// temporary file in the same folder, are synced, and are renamed over the old
// file, so readers and crashes only ever see the old file or the new one whole.
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace profile {

// What identifies one version of a file on disk.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::timespec modified{};
  bool operator==(const FileStamp& o) const;
};

FileStamp stamp_of(const std::string& path);

enum class ReadStatus { Ok, Missing, Unreadable };
struct FileContents {
  ReadStatus status = ReadStatus::Missing;
  std::string data;
  FileStamp stamp;
};
FileContents read_whole_file(const std::string& path);

// The stamp of the new file, or nothing when it could not be written (the old
// file is then untouched and no temporary file is left behind).
std::optional<FileStamp> replace_file(const std::string& path, std::string_view data);

// Test seam: called before each step of replace_file; returning false makes
// that step fail as a full or broken disk would.
enum class WriteStep { Write, Sync, Rename };
void set_write_fault_for_testing(std::function<bool(WriteStep)> fault);

}  // namespace profile
