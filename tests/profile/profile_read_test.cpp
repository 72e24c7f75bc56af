#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/profile/profile.h"
#include "support/temp_home.h"

namespace {
void write_text(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}
std::string read(const char* section, const char* key, const char* file, DWORD size = 128) {
  std::string buf(size, 'x');
  DWORD n = GetPrivateProfileStringA(section, key, "DEF", buf.data(), size, file);
  return buf.substr(0, n);
}
}  // namespace

TEST(ProfileRead, NamesMatchWithoutCaseAndBlanksAreIgnored) {
  TempHome home;
  write_text(home.file("a.ini"), "  [ Rack ]  \n  CDAudioOn  =  yes  \n");
  EXPECT_EQ(read("rack", "cdaudioon", "a.ini"), "yes");
  EXPECT_EQ(read("RACK", "CDAUDIOON", "a.ini"), "yes");
  EXPECT_EQ(read("Rack", "WaveOn", "a.ini"), "DEF");
}
