#include "playlist/names.h"

#include <algorithm>

#include "playlist/work_area.h"

namespace {

constexpr std::string_view kReservedSections[] = {"Templist", "Settings", "Playlist"};

bool is_blank(char c) { return c == ' ' || c == '\t'; }

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return folded(x) == folded(y);
         });
}

std::string why_name_refused(std::string_view name) {
  if (name.empty()) return "Please type a name for the playlist.";
  if (is_blank(name.front()) || is_blank(name.back())) return "A playlist name can not begin or end with a blank.";
  for (std::string_view reserved : kReservedSections)
    if (same_name(name, reserved))
      return "\"" + std::string(name) + "\" is a name the playlist file uses for itself; please choose another.";
  if (name.find_first_of("[]=\r\n") != std::string_view::npos)
    return "A playlist name can not hold \"[\", \"]\", \"=\" or a line break.";
  if (name.size() > static_cast<std::size_t>(WorkArea::kMaxPath))
    return "A playlist name can not be longer than 127 characters.";
  return std::string();
}

std::string why_path_refused(std::string_view path) {
  if (path.size() > static_cast<std::size_t>(WorkArea::kMaxPath))
    return "The path is longer than the 127 characters a playlist entry can hold:\n" + std::string(path);
  if (path.find_first_of("\r\n") != std::string_view::npos)
    return "A file whose name holds a line break can not be kept in a playlist:\n" + std::string(path);
  if (path.find('"') != std::string_view::npos)
    return "A file whose name holds a double quote (\") can not be played from a playlist:\n" + std::string(path);
  return std::string();
}
