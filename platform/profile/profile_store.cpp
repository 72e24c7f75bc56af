#include "platform/profile/profile_store.h"

#include <mutex>
#include <unordered_map>

#include "platform/profile/atomic_file.h"
#include "platform/profile/profile_path.h"

namespace profile {

namespace {

struct CachedFile {
  FileStamp stamp;
  IniDocument doc;
};

std::mutex cache_mutex;
std::unordered_map<std::string, CachedFile> cache;

// The current document of `path`, or null when the file exists but cannot be read.
CachedFile* current(const std::string& path) {
  auto it = cache.find(path);
  if (it != cache.end() && it->second.stamp == stamp_of(path)) return &it->second;
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
  if (path.rfind(windows_directory() + "/", 0) == 0) ensure_windows_directory();
  if (auto stamp = replace_file(path, file->doc.serialize())) {
    file->stamp = *stamp;
    return true;
  }
  cache.erase(path);
  return false;
}

void forget(const std::string& path) {
  std::lock_guard lock(cache_mutex);
  cache.erase(path);
}

}  // namespace profile
