#include "cd/cd_titles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/mci/cd_text.h"
#include "platform/profile/profile.h"
#include "platform/profile/profile_batch.h"
#include "platform/ui/windows.h"
#include "skin/settings_path.h"

namespace {

DiscTitles shown;
// Titles saved this run whose write failed, by disc identity.
std::map<std::string, DiscTitles> unsaved;

std::string read_key(const std::string& section, const char* key, const std::string& path) {
  // The value comes back cut to the buffer: grow it until the whole value fits.
  std::string value(256, '\0');
  for (;;) {
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key, "", value.data(),
                                             static_cast<DWORD>(value.size()), path.c_str());
    if (n + 1 < value.size()) {
      value.resize(n);
      return value;
    }
    value.assign(value.size() * 2, '\0');
  }
}

// Readers size their text by LENGTH: a longer title is shown cut.
std::string stored_title(const std::string& section, const char* key, std::size_t length, const std::string& path) {
  std::string title = read_key(section, key, path);
  if (title.size() > length) title.resize(length);
  return title;
}

void read_cd_text(int track_count) {
  std::string title, performer;
  if (!mci_cd_text(cd.device_id, 0, &title, &performer)) return;
  shown.disc = title;
  for (int t = 1; t <= track_count; ++t) {
    mci_cd_text(cd.device_id, t, &title, &performer);
    shown.tracks[t - 1] = title;
  }
}

void tell_write_failed(HWND owner, const char* what, const std::string& path) {
  const std::string text = std::string("The ") + what + " could not be written to " + path +
                           ". They are kept until the program ends.";
  MessageBoxA(owner, text.c_str(), "Error", MB_OK | MB_ICONWARNING);
}

}  // namespace

const DiscTitles& shown_titles() { return shown; }

const std::string& shown_track_title(int track) {
  static const std::string none;
  if (track < 1 || track > static_cast<int>(shown.tracks.size())) return none;
  return shown.tracks[track - 1];
}

bool read_disc_section(int track_count, TrackList* program) {
  shown = DiscTitles{};
  shown.tracks.assign(track_count, std::string());
  (*program)[0] = kEndOfList;
  if (auto it = unsaved.find(cd.identity); it != unsaved.end()) {
    shown = it->second;
    return true;
  }
  const std::string path = settings_path();
  const char* section = cd.identity.c_str();
  if (static_cast<int>(GetPrivateProfileIntA(section, "TRACKS", 0, path.c_str())) != track_count) {
    read_cd_text(track_count);
    return false;
  }
  const std::size_t length = GetPrivateProfileIntA(section, "LENGTH", 0, path.c_str());
  shown.disc = stored_title(cd.identity, "TITLE", length, path);
  for (int t = 1; t <= track_count; ++t) {
    char key[16];
    std::snprintf(key, sizeof key, "TRACK%02d", t);
    shown.tracks[t - 1] = stored_title(cd.identity, key, length, path);
  }
  *program = parse_program(read_key(cd.identity, "LIST", path), track_count);
  return true;
}

void forget_titles() { shown = DiscTitles{}; }

void clear_title_store() {
  shown = DiscTitles{};
  unsaved.clear();
}

void save_titles(HWND owner, const DiscTitles& titles) {
  shown = titles;
  shown.tracks.resize(cd.track_count);
  const std::string path = settings_path();
  const char* section = cd.identity.c_str();
  std::size_t longest = shown.disc.size();
  char number[16];
  ProfileBatch batch(path.c_str());
  std::snprintf(number, sizeof number, "%d", cd.track_count);
  WritePrivateProfileStringA(section, "TRACKS", number, path.c_str());
  WritePrivateProfileStringA(section, "TITLE", shown.disc.c_str(), path.c_str());
  for (int t = 1; t <= cd.track_count; ++t) {
    char key[16];
    std::snprintf(key, sizeof key, "TRACK%02d", t);
    WritePrivateProfileStringA(section, key, shown.tracks[t - 1].c_str(), path.c_str());
    longest = std::max(longest, shown.tracks[t - 1].size());
  }
  std::snprintf(number, sizeof number, "%zu", longest);
  WritePrivateProfileStringA(section, "LENGTH", number, path.c_str());
  if (batch.commit()) {
    unsaved.erase(cd.identity);
  } else {
    unsaved[cd.identity] = shown;
    tell_write_failed(owner, "titles", path);
  }
}

void save_program(HWND owner, const TrackList& program) {
  const std::string path = settings_path();
  if (!WritePrivateProfileStringA(cd.identity.c_str(), "LIST", format_program(program).c_str(), path.c_str()))
    tell_write_failed(owner, "program", path);
}

TrackList parse_program(const std::string& value, int track_count) {
  TrackList list;
  list[0] = kEndOfList;
  const char* p = value.c_str();
  char* end = nullptr;
  const long count = std::strtol(p, &end, 10);
  if (end == p || count < 1) return list;
  int n = 0;
  p = end;
  while (n < count && n < kMaxProgram) {
    const long entry = std::strtol(p, &end, 10);
    if (end == p) break;
    p = end;
    if (entry >= 1 && entry <= track_count) list[n++] = static_cast<int>(entry);
  }
  list[n] = kEndOfList;
  return list;
}

std::string format_program(const TrackList& program) {
  const int n = list_length(program);
  std::string value = " " + std::to_string(n);
  for (int i = 0; i < n; ++i) value += " " + std::to_string(program[i]);
  return value;
}

std::string track_line(int track) {
  const TrackTime length = track_length(track);
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "%02d  [%02d:%02d]  ", track, length.minutes, length.seconds);
  return prefix + shown_track_title(track);
}
