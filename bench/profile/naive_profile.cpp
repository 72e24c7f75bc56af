#include "naive_profile.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <unistd.h>
#include <vector>

namespace naive {
namespace {

std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::vector<std::string> lines_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool is_header(const std::string& t) { return !t.empty() && t.front() == '[' && t.find(']') != std::string::npos; }
std::string header_name(const std::string& t) { return trim(t.substr(1, t.find(']') - 1)); }

}  // namespace

std::string read(const std::string& path, const std::string& section, const std::string& key, const std::string& def) {
  bool in_section = false;
  for (const std::string& line : lines_of(path)) {
    const std::string t = trim(line);
    if (is_header(t)) {
      in_section = strcasecmp(header_name(t).c_str(), section.c_str()) == 0;
    } else if (in_section) {
      const auto eq = t.find('=');
      if (eq != std::string::npos && strcasecmp(trim(t.substr(0, eq)).c_str(), key.c_str()) == 0)
        return trim(t.substr(eq + 1));
    }
  }
  return def;
}

int read_int(const std::string& path, const std::string& section, const std::string& key, int def) {
  const std::string v = read(path, section, key, "\x01");
  return v == "\x01" ? def : std::atoi(v.c_str());
}

bool write(const std::string& path, const std::string& section, const std::string& key, const std::string& value) {
  std::vector<std::string> lines = lines_of(path);
  std::size_t section_end = lines.size();
  bool found_section = false, done = false;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    const std::string t = trim(lines[i]);
    if (is_header(t)) {
      if (found_section) {
        section_end = i;
        break;
      }
      found_section = strcasecmp(header_name(t).c_str(), section.c_str()) == 0;
    } else if (found_section) {
      const auto eq = t.find('=');
      if (eq != std::string::npos && strcasecmp(trim(t.substr(0, eq)).c_str(), key.c_str()) == 0) {
        lines[i] = key + "=" + value;
        done = true;
      }
    }
  }
  if (!done) {
    if (!found_section) lines.push_back("[" + section + "]");
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(found_section ? section_end : lines.size()),
                 key + "=" + value);
  }
  std::ostringstream out;
  for (const std::string& l : lines) out << l << '\n';
  return replace_durably(path, out.str());
}

bool replace_durably(const std::string& path, const std::string& data) {
  const std::string temp = path + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  const bool ok = ::write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size()) && ::fsync(fd) == 0;
  ::close(fd);
  if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) return false;
  const int dir = ::open(path.substr(0, path.rfind('/')).c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace naive
