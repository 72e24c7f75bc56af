#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/profile/profile.h"
#include "platform/profile/profile_path.h"

namespace profile {

namespace {
const char* non_empty_env(const char* name) {
  const char* v = std::getenv(name);
  return (v && *v) ? v : nullptr;
}

std::string without_trailing_slashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}
}  // namespace

std::string windows_directory() {
  if (const char* home = non_empty_env("QUORVIN_HOME")) return without_trailing_slashes(home);
  if (const char* xdg = non_empty_env("XDG_CONFIG_HOME")) return without_trailing_slashes(xdg) + "/quorvin";
  const char* home = non_empty_env("HOME");
  return without_trailing_slashes(home ? home : ".") + "/.config/quorvin";
}

std::string resolve_path(const char* file) {
  std::string path = file ? file : "";
  for (char& c : path)
    if (c == '\\') c = '/';
  if (path.find('/') == std::string::npos) return windows_directory() + "/" + path;
  return path;
}

bool ensure_windows_directory() {
  std::error_code ec;
  std::filesystem::create_directories(windows_directory(), ec);
  return !ec;
}

}  // namespace profile

UINT GetWindowsDirectoryA(LPSTR buf, UINT size) {
  const std::string dir = profile::windows_directory();
  const UINT needed = static_cast<UINT>(dir.size()) + 1;
  if (!buf || size < needed) {
    // A short buffer gets an empty string rather than whatever it held, so a
    // caller that does not check the result builds no path from garbage.
    if (buf && size > 0) buf[0] = '\0';
    return needed;
  }
  std::memcpy(buf, dir.c_str(), needed);
  return needed - 1;
}
