#include "platform/profile/profile_store.h"

#include <cerrno>
#include <mutex>
#include <unistd.h>
#include <unordered_map>

#include "platform/profile/atomic_file.h"
#include "platform/profile/profile_path.h"

namespace profile {

namespace {

struct CachedFile {
  FileStamp stamp;
  IniDocument doc;
  int batch_depth = 0;
  bool dirty = false;           // changed inside a batch, not yet on disk
  bool remove_on_commit = false;  // deleted inside a batch
};

std::mutex cache_mutex;
std::unordered_map<std::string, CachedFile> cache;

// The current document of `path`, or null when the file exists but cannot be read.
CachedFile* current(const std::string& path) {
  auto it = cache.find(path);
  if (it != cache.end() && (it->second.batch_depth > 0 || it->second.stamp == stamp_of(path))) return &it->second;
  FileContents contents = read_whole_file(path);
  if (contents.status == ReadStatus::Unreadable) {
    if (it != cache.end()) cache.erase(it);
    return nullptr;
  }
  CachedFile fresh{contents.stamp, IniDocument::parse(contents.data)};
  if (it != cache.end()) {
    it->second = std::move(fresh);
    return &it->second;
  }
  return &cache.emplace(path, std::move(fresh)).first->second;
}

bool write_out(const std::string& path, CachedFile& file) {
  if (path.rfind(windows_directory() + "/", 0) == 0) ensure_windows_directory();
  if (auto stamp = replace_file(path, file.doc.serialize())) {
    file.stamp = *stamp;
    return true;
  }
  cache.erase(path);
  return false;
}

}  // namespace

std::optional<std::string> lookup(const std::string& path, std::string_view section, std::string_view key) {
  std::lock_guard lock(cache_mutex);
  const CachedFile* file = current(path);
  if (!file) return std::nullopt;
  auto value = file->doc.get(section, key);
  if (!value) return std::nullopt;
  return std::string(*value);
}

bool update(const std::string& path, const std::function<bool(IniDocument&)>& edit) {
  std::lock_guard lock(cache_mutex);
  CachedFile* file = current(path);
  if (!file) return false;
  if (!edit(file->doc)) return true;
  if (file->batch_depth > 0) {
    file->dirty = true;
    return true;
  }
  return write_out(path, *file);
}

bool remove_file(const std::string& path) {
  std::lock_guard lock(cache_mutex);
  auto it = cache.find(path);
  if (it != cache.end() && it->second.batch_depth > 0) {
    CachedFile& file = it->second;
    const bool had_something = file.stamp.exists || !file.doc.empty();
    file.doc = IniDocument{};
    file.dirty = file.remove_on_commit = true;
    return had_something;
  }
  if (it != cache.end()) cache.erase(it);
  return ::unlink(path.c_str()) == 0;
}

bool begin_batch(const std::string& path) {
  std::lock_guard lock(cache_mutex);
  CachedFile* file = current(path);
  if (!file) return false;
  ++file->batch_depth;
  return true;
}

bool end_batch(const std::string& path) {
  std::lock_guard lock(cache_mutex);
  auto it = cache.find(path);
  if (it == cache.end() || it->second.batch_depth == 0) return false;
  CachedFile& file = it->second;
  if (--file.batch_depth > 0 || !file.dirty) return true;
  file.dirty = false;
  if (file.remove_on_commit && file.doc.empty()) {
    const bool removed = ::unlink(path.c_str()) == 0 || errno == ENOENT;
    cache.erase(it);
    return removed;
  }
  file.remove_on_commit = false;
  return write_out(path, file);
}

}  // namespace profile
