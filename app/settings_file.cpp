#include "app/settings_file.h"

#include <cctype>
#include <cstring>

#include "platform/profile/profile.h"

std::string settings_path() {
  char dir[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(dir, sizeof dir);
  // A folder too long for any path buffer: the bare name reaches the same file.
  if (length == 0 || length >= sizeof dir) return "quorvin.ini";
  return std::string(dir, length) + "/quorvin.ini";
}

int read_module_switch(const char* key) {
  char value[128];
  GetPrivateProfileStringA("Rack", key, "YES", value, sizeof value, settings_path().c_str());
  for (char* c = value; *c; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  return std::strcmp(value, "YES") == 0 ? 1 : 0;
}

void write_module_switch(const char* key, int on) {
  WritePrivateProfileStringA("Rack", key, on == 1 ? "YES" : "NO", settings_path().c_str());
}
