#include "playlist/m3u.h"

#include <fstream>
#include <sstream>

#include "platform/profile/atomic_file.h"

namespace {

bool ends_with_folded(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    char c = name[name.size() - suffix.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percent_decoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hex_value(text[i + 1]) >= 0 && hex_value(text[i + 2]) >= 0) {
      out += static_cast<char>(hex_value(text[i + 1]) * 16 + hex_value(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string folder_of(const std::string& file) {
  const std::size_t slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

// Drops "." parts and resolves ".." against the parts before it.
std::string tidy(const std::string& path) {
  std::vector<std::string> parts;
  std::stringstream in(path);
  for (std::string part; std::getline(in, part, '/');) {
    if (part.empty() || part == ".") continue;
    if (part == ".." && !parts.empty() && parts.back() != "..")
      parts.pop_back();
    else if (part != ".." || path.front() != '/')
      parts.push_back(part);
  }
  std::string out = path.front() == '/' ? "/" : "";
  for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "/" : "") + parts[i];
  return out;
}

}  // namespace

bool is_m3u_name(std::string_view name) { return ends_with_folded(name, ".m3u") || ends_with_folded(name, ".m3u8"); }

std::optional<M3uEntries> read_m3u(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  M3uEntries entries;
  const std::string folder = folder_of(file);
  bool first = true;
  for (std::string line; std::getline(in, line);) {
    if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // a UTF-8 byte order mark
    first = false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    if (line.rfind("file://", 0) == 0) {
      line = percent_decoded(std::string_view(line).substr(7));
      if (line.rfind("localhost/", 0) == 0) line.erase(0, 9);
    } else if (line.find("://") != std::string::npos) {
      ++entries.urls_left_out;
      continue;
    }
    if (line.empty()) continue;
    entries.paths.push_back(tidy(line.front() == '/' ? line : folder + "/" + line));
  }
  if (in.bad()) return std::nullopt;
  return entries;
}

bool write_m3u8(const std::string& file, const std::vector<std::string>& paths) {
  std::string text = "#EXTM3U\n";
  for (const std::string& path : paths) text += path + "\n";
  return profile::replace_file(file, text).has_value();
}
