#pragma once
#include <fstream>
#include <sstream>
#include <string>

#include "platform/profile/profile.h"

inline void write_text(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The value as the caller's buffer receives it, with "DEF" as the default.
inline std::string profile_string(const char* section, const char* key, const std::string& file, DWORD size = 256) {
  std::string buf(size + 1, 'x');
  const DWORD n = GetPrivateProfileStringA(section, key, "DEF", buf.data(), size, file.c_str());
  return buf.substr(0, n);
}
