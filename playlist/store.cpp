#include "playlist/store.h"

#include <cstdio>

#include "platform/profile/profile.h"
#include "platform/profile/profile_batch.h"

namespace {

constexpr const char* kCountKey = "TotalListItems";
constexpr const char* kNamesSection = "Playlist";
constexpr const char* kNamesCountKey = "TotalPlaylist";
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kCurrentKey = "CurrentPlaylist";

std::string decimal(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", n);
  return text;
}

std::string windows_file(const char* name) {
  char probe[1];
  std::vector<char> dir(GetWindowsDirectoryA(probe, 0) + 1, '\0');
  GetWindowsDirectoryA(dir.data(), static_cast<UINT>(dir.size()));
  return std::string(dir.data()) + "/" + name;
}

int read_count(const char* section, const char* key, const std::string& file) {
  const int count = static_cast<int>(GetPrivateProfileIntA(section, key, 0, file.c_str()));
  return count > 0 ? count : 0;
}

void write(const std::string& section, const std::string& key, const std::string& value, const std::string& file) {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

void write_list(const std::string& section, const std::vector<std::string>& entries, const std::string& file) {
  write(section, kCountKey, decimal(static_cast<int>(entries.size())), file);
  for (std::size_t i = 0; i < entries.size(); ++i) write(section, decimal(static_cast<int>(i)), entries[i], file);
}

}  // namespace

StoreFiles store_files(DeckKind kind) {
  if (kind == DeckKind::Midi) return {windows_file("midilist.ini"), windows_file("miditemp.ini")};
  return {windows_file("wavelist.ini"), windows_file("wavetemp.ini")};
}

std::string read_entry(const char* section, const char* key, const std::string& file) {
  // A path buffer: entries and names come back whole, however long.
  std::vector<char> value(MAX_PATH + 1, '\0');
  GetPrivateProfileStringA(section, key, kNoTitle, value.data(), static_cast<DWORD>(value.size()), file.c_str());
  return value.data();
}

int read_list_count(const std::string& section, const std::string& file) {
  return read_count(section.c_str(), kCountKey, file);
}

std::vector<std::string> read_list(const std::string& section, const std::string& file) {
  const int count = read_list_count(section, file);
  std::vector<std::string> entries;
  entries.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) entries.push_back(read_entry(section.c_str(), decimal(i).c_str(), file));
  return entries;
}

std::vector<std::string> read_playlist_names(const std::string& file) {
  const int count = read_count(kNamesSection, kNamesCountKey, file);
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) names.push_back(read_entry(kNamesSection, decimal(i).c_str(), file));
  return names;
}

void copy_store_to_scratch(const StoreFiles& files) {
  delete_profile_file(files.scratch);
  const std::vector<std::string> names = read_playlist_names(files.store);
  if (names.empty()) return;
  ProfileBatch batch(files.scratch.c_str());
  write(kNamesSection, kNamesCountKey, decimal(static_cast<int>(names.size())), files.scratch);
  write(kSettingsSection, kCurrentKey, read_entry(kSettingsSection, kCurrentKey, files.store), files.scratch);
  for (std::size_t i = 0; i < names.size(); ++i) {
    write(kNamesSection, decimal(static_cast<int>(i) + 1), names[i], files.scratch);
    write_list(names[i], read_list(names[i], files.store), files.scratch);
  }
  batch.commit();
}

void write_scratch_playlist(const std::string& scratch, const std::string& name,
                            const std::vector<std::string>& entries) {
  ProfileBatch batch(scratch.c_str());
  WritePrivateProfileStringA(name.c_str(), nullptr, nullptr, scratch.c_str());
  write_list(name, entries, scratch);
  batch.commit();
}

bool write_store(const StoreFiles& files, const std::vector<std::string>& play_list,
                 const std::vector<std::string>& names, int current) {
  ProfileBatch batch(files.store.c_str());
  delete_profile_file(files.store);
  if (!play_list.empty()) write_list(kPlayListSection, play_list, files.store);
  if (!names.empty()) {
    const std::size_t chosen = current >= 0 && current < static_cast<int>(names.size()) ? current : 0;
    write(kSettingsSection, kCurrentKey, names[chosen], files.store);
    write(kNamesSection, kNamesCountKey, decimal(static_cast<int>(names.size())), files.store);
    for (std::size_t i = 0; i < names.size(); ++i) {
      write(kNamesSection, decimal(static_cast<int>(i) + 1), names[i], files.store);
      write_list(names[i], read_list(names[i], files.scratch), files.store);
    }
  }
  return batch.commit() != FALSE;
}

void delete_profile_file(const std::string& file) {
  OFSTRUCT info{};
  OpenFile(file.c_str(), &info, OF_DELETE);
}
