#include "decks/playlist_items.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/profile/profile.h"

namespace {

constexpr const char* kSection = "Templist";
constexpr const char* kNoTitle = "No Title";

}  // namespace

std::string playlist_store_path(DeckKind kind) {
  char probe[1];
  const UINT needed = GetWindowsDirectoryA(probe, 0);
  std::vector<char> dir(needed + 1, '\0');
  GetWindowsDirectoryA(dir.data(), static_cast<UINT>(dir.size()));
  return std::string(dir.data()) + (kind == DeckKind::Midi ? "/midilist.ini" : "/wavelist.ini");
}

int playlist_item_count(DeckKind kind) {
  const int count = static_cast<int>(GetPrivateProfileIntA(kSection, "TotalListItems", 0, playlist_store_path(kind).c_str()));
  return count > 0 ? count : 0;
}

std::optional<std::string> playlist_item(DeckKind kind, int index) {
  char key[16];
  std::snprintf(key, sizeof key, "%d", index);
  // A whole path, however long: the buffer is a path buffer.
  std::vector<char> item(MAX_PATH + 1, '\0');
  GetPrivateProfileStringA(kSection, key, kNoTitle, item.data(), static_cast<DWORD>(item.size()),
                           playlist_store_path(kind).c_str());
  if (std::strcmp(item.data(), kNoTitle) == 0) return std::nullopt;
  return std::string(item.data());
}
