#pragma once
// M3U and M3U8 playlist files, read into whole paths and written from the
// editor's play list. Comment lines ("#...") and blank lines are skipped;
// a relative entry is taken against the playlist file's folder; "file://"
// entries become paths; other URLs can not be played and are left out.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

bool is_m3u_name(std::string_view name);

struct M3uEntries {
  std::vector<std::string> paths;
  int urls_left_out = 0;
};
// The entries of the file, or nothing when it can not be read.
std::optional<M3uEntries> read_m3u(const std::string& file);
// "#EXTM3U" and one path a line, replacing the file whole; false when it could not be written.
bool write_m3u8(const std::string& file, const std::vector<std::string>& paths);
