#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/profile/profile.h"
#include "profile_test_util.h"
#include "support/env_override.h"
#include "support/temp_home.h"

namespace {


std::string windows_directory() {
  char buf[512];
  const UINT n = GetWindowsDirectoryA(buf, sizeof buf);
  return std::string(buf, n);
}

}  // namespace

TEST(ProfileLocation, WindowsDirectoryFallsBackFromQuorvinHomeToXdgToHome) {
  TempHome home;
  EXPECT_EQ(windows_directory(), home.path());
  {
    EnvOverride trailing("QUORVIN_HOME", (home.path() + "/").c_str());
    EXPECT_EQ(windows_directory(), home.path());
  }
  EnvOverride no_home("QUORVIN_HOME", nullptr);
  {
    EnvOverride xdg("XDG_CONFIG_HOME", "/tmp/xdg-somewhere");
    EXPECT_EQ(windows_directory(), "/tmp/xdg-somewhere/quorvin");
  }
  EnvOverride no_xdg("XDG_CONFIG_HOME", nullptr);
  EnvOverride user_home("HOME", "/home/listener");
  EXPECT_EQ(windows_directory(), "/home/listener/.config/quorvin");
  EnvOverride empty_xdg("XDG_CONFIG_HOME", "");
  EXPECT_EQ(windows_directory(), "/home/listener/.config/quorvin");
}

TEST(ProfileLocation, GetWindowsDirectoryReportsTheSizeNeededWhenTheBufferIsShort) {
  TempHome home;
  const UINT len = static_cast<UINT>(home.path().size());
  std::string small(len, 'x');
  EXPECT_EQ(GetWindowsDirectoryA(small.data(), len), len + 1);
  EXPECT_EQ(small[0], '\0');
  EXPECT_EQ(GetWindowsDirectoryA(nullptr, 0), len + 1);
  std::string exact(len + 1, 'x');
  EXPECT_EQ(GetWindowsDirectoryA(exact.data(), len + 1), len);
  EXPECT_EQ(exact.c_str(), home.path());
}

TEST(ProfileLocation, BareNameFullPathAndBackslashPathReachTheSameFile) {
  TempHome home;
  ASSERT_TRUE(WritePrivateProfileStringA("Directory", "LastDir", "/music", "quorvin.ini"));
  EXPECT_TRUE(std::filesystem::exists(home.file("quorvin.ini")));
  EXPECT_EQ(profile_string("Directory", "LastDir", home.file("quorvin.ini")), "/music");
  EXPECT_EQ(profile_string("Directory", "LastDir", home.path() + "\\quorvin.ini"), "/music");
}

TEST(ProfileLocation, WindowsDirectoryIsCreatedOnFirstWriteOnly) {
  TempHome home;
  const std::string nested = home.path() + "/deeper/still";
  EnvOverride where("QUORVIN_HOME", nested.c_str());
  EXPECT_EQ(profile_string("Rack", "WaveOn", "quorvin.ini"), "DEF");
  EXPECT_FALSE(std::filesystem::exists(nested));
  ASSERT_TRUE(WritePrivateProfileStringA("Rack", "WaveOn", "NO", "quorvin.ini"));
  EXPECT_EQ(read_text(nested + "/quorvin.ini"), "[Rack]\nWaveOn=NO\n");
}

TEST(ProfileLocation, WriteIntoAMissingForeignFolderFails) {
  TempHome home;
  EXPECT_FALSE(WritePrivateProfileStringA("A", "b", "c", (home.path() + "/no/such/dir/x.ini").c_str()));
  EXPECT_FALSE(std::filesystem::exists(home.path() + "/no"));
}

TEST(ProfileLocation, OpenFileDeletesAndTestsForFiles) {
  TempHome home;
  ASSERT_TRUE(WritePrivateProfileStringA("Templist", "TotalListItems", "2", "wavelist.ini"));
  const std::string path = home.file("wavelist.ini");
  OFSTRUCT of;
  EXPECT_NE(OpenFile(path.c_str(), &of, OF_EXIST), HFILE_ERROR);
  EXPECT_EQ(std::string(of.szPathName), path);
  EXPECT_NE(OpenFile(path.c_str(), &of, OF_DELETE), HFILE_ERROR);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(OpenFile(path.c_str(), &of, OF_EXIST), HFILE_ERROR);
  EXPECT_EQ(OpenFile(path.c_str(), &of, OF_DELETE), HFILE_ERROR);
  EXPECT_NE(of.nErrCode, 0);
  // The deleted file's cached contents are gone with it.
  EXPECT_EQ(GetPrivateProfileIntA("Templist", "TotalListItems", 0, path.c_str()), 0u);
  ASSERT_TRUE(WritePrivateProfileStringA("Templist", "0", "/a.wav", "wavelist.ini"));
  EXPECT_EQ(read_text(path), "[Templist]\n0=/a.wav\n");
  EXPECT_NE(OpenFile("wavelist.ini", nullptr, OF_DELETE), HFILE_ERROR);
  EXPECT_FALSE(std::filesystem::exists(path));
}

// A settings folder far longer than the old 128-character buffers: the folder,
// the settings and the deletion path all come through whole.
TEST(ProfileLocation, ALongSettingsFolderIsNeverCut) {
  TempHome home;
  std::string folder = home.path();
  while (folder.size() < 300) folder += "/a-rather-long-folder-name";
  ASSERT_GE(folder.size(), 300u);
  EnvOverride where("QUORVIN_HOME", folder.c_str());

  char dir[MAX_PATH];
  ASSERT_EQ(GetWindowsDirectoryA(dir, sizeof dir), folder.size());
  EXPECT_EQ(std::string(dir), folder);
  char short_buf[128];
  EXPECT_EQ(GetWindowsDirectoryA(short_buf, sizeof short_buf), folder.size() + 1) << "the size needed, not success";

  const std::string settings = std::string(dir) + "/quorvin.ini";
  ASSERT_TRUE(WritePrivateProfileStringA("Rack", "WaveOn", "NO", "quorvin.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("Directory", "LastDir", "/music", settings.c_str()));
  EXPECT_EQ(read_text(settings), "[Rack]\nWaveOn=NO\n[Directory]\nLastDir=/music\n");
  EXPECT_EQ(profile_string("Rack", "WaveOn", settings), "NO");
  EXPECT_EQ(profile_string("Directory", "LastDir", "quorvin.ini"), "/music");

  // The record's fixed 128-character field gets no cut path; the call itself works.
  OFSTRUCT of;
  EXPECT_NE(OpenFile(settings.c_str(), &of, OF_EXIST), HFILE_ERROR);
  EXPECT_STREQ(of.szPathName, "");
  EXPECT_NE(OpenFile(settings.c_str(), &of, OF_DELETE), HFILE_ERROR);
  EXPECT_EQ(profile_string("Rack", "WaveOn", "quorvin.ini"), "DEF");
}
