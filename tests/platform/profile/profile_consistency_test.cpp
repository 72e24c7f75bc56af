#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/profile/atomic_file.h"
#include "platform/profile/profile.h"
#include "profile_test_util.h"
#include "support/temp_home.h"

namespace {

// Leaves only the file itself in the folder: no temporary file may survive.
std::size_t files_in(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

// Rewrites the file in place and gives it a chosen modification time, the way
// an editor in another process might.
void overwrite_in_place(const std::string& path, const std::string& text, long nsec) {
  write_text(path, text);
  struct timespec times[2] = {{1700000000, nsec}, {1700000000, nsec}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class FaultGuard {
 public:
  explicit FaultGuard(std::function<bool(profile::WriteStep)> f) { profile::set_write_fault_for_testing(std::move(f)); }
  ~FaultGuard() { profile::set_write_fault_for_testing(nullptr); }
};

}  // namespace

TEST(ProfileConsistency, ChangesByAnotherProcessAreSeenAtTheNextCall) {
  TempHome home;
  const std::string path = home.file("quorvin.ini");
  ASSERT_TRUE(WritePrivateProfileStringA("Rack", "WaveOn", "YES", "quorvin.ini"));
  EXPECT_EQ(profile_string("Rack", "WaveOn", "quorvin.ini"), "YES");

  // Same size, same inode, only the modification time (nanoseconds) differs.
  overwrite_in_place(path, "[Rack]\nWaveOn=NOO\n", 100);
  EXPECT_EQ(profile_string("Rack", "WaveOn", "quorvin.ini"), "NOO");
  overwrite_in_place(path, "[Rack]\nWaveOn=YEP\n", 200);
  EXPECT_EQ(profile_string("Rack", "WaveOn", "quorvin.ini"), "YEP");

  // Replaced by rename, as another instance of this service does it.
  write_text(home.file("other"), "[Rack]\nWaveOn=NO\nMidiOn=NO\n");
  std::filesystem::rename(home.file("other"), path);
  EXPECT_EQ(profile_string("Rack", "MidiOn", "quorvin.ini"), "NO");

  // A write merges into what is on disk now, not into a stale copy.
  overwrite_in_place(path, "[Rack]\nWaveOn=XY\nCDAudioOn=NO\n", 300);
  ASSERT_TRUE(WritePrivateProfileStringA("Rack", "MidiOn", "YES", "quorvin.ini"));
  EXPECT_EQ(read_text(path), "[Rack]\nWaveOn=XY\nCDAudioOn=NO\nMidiOn=YES\n");

  std::filesystem::remove(path);
  EXPECT_EQ(profile_string("Rack", "WaveOn", "quorvin.ini"), "DEF");
}

TEST(ProfileConsistency, AWriteIsInTheFileWhenTheCallReturns) {
  TempHome home;
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(WritePrivateProfileStringA("Templist", std::to_string(i).c_str(), "/x.wav", "wavelist.ini"));
    EXPECT_NE(read_text(home.file("wavelist.ini")).find(std::to_string(i) + "=/x.wav\n"), std::string::npos);
  }
}

TEST(ProfileConsistency, CrashBeforeRenameLeavesTheOldFileWhole) {
  TempHome home;
  const std::string path = home.file("midilist.ini");
  ASSERT_TRUE(WritePrivateProfileStringA("Templist", "TotalListItems", "1", "midilist.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("Templist", "0", "/old.mid", "midilist.ini"));
  const std::string old_text = read_text(path);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    profile::set_write_fault_for_testing([](profile::WriteStep step) {
      if (step == profile::WriteStep::Rename) _exit(42);  // the temporary file is complete and synced
      return true;
    });
    WritePrivateProfileStringA("Templist", "0", "/new.mid", "midilist.ini");
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 42);

  EXPECT_EQ(read_text(path), old_text);
  EXPECT_EQ(profile_string("Templist", "0", path), "/old.mid");
  // The next write still succeeds beside the crashed one's leftover.
  ASSERT_TRUE(WritePrivateProfileStringA("Templist", "0", "/newer.mid", "midilist.ini"));
  EXPECT_EQ(profile_string("Templist", "0", path), "/newer.mid");
}

TEST(ProfileConsistency, FailedWriteKeepsTheOldFileAndReportsFalse) {
  TempHome home;
  const std::string path = home.file("quorvin.ini");
  ASSERT_TRUE(WritePrivateProfileStringA("Rack", "WaveOn", "YES", "quorvin.ini"));
  const std::string old_text = read_text(path);

  for (auto failing : {profile::WriteStep::Write, profile::WriteStep::Sync, profile::WriteStep::Rename}) {
    SCOPED_TRACE(static_cast<int>(failing));
    {
      FaultGuard fault([failing](profile::WriteStep step) { return step != failing; });
      EXPECT_FALSE(WritePrivateProfileStringA("Rack", "WaveOn", "NO", "quorvin.ini"));
      EXPECT_FALSE(WritePrivateProfileStringA("Rack", "MidiOn", "NO", "quorvin.ini"));
    }
    EXPECT_EQ(read_text(path), old_text);
    EXPECT_EQ(files_in(home.path()), 1u);
    // The failed values are not served from memory either.
    EXPECT_EQ(profile_string("Rack", "WaveOn", "quorvin.ini"), "YES");
    EXPECT_EQ(profile_string("Rack", "MidiOn", "quorvin.ini"), "DEF");
  }
  ASSERT_TRUE(WritePrivateProfileStringA("Rack", "WaveOn", "NO", "quorvin.ini"));
  EXPECT_EQ(read_text(path), "[Rack]\nWaveOn=NO\n");
}

TEST(ProfileConsistency, FailedFirstWriteCreatesNoFile) {
  TempHome home;
  {
    FaultGuard fault([](profile::WriteStep step) { return step != profile::WriteStep::Write; });
    EXPECT_FALSE(WritePrivateProfileStringA("Rack", "WaveOn", "NO", "quorvin.ini"));
  }
  EXPECT_EQ(files_in(home.path()), 0u);
  EXPECT_EQ(profile_string("Rack", "WaveOn", "quorvin.ini"), "DEF");
}

TEST(ProfileConsistency, UnreadableFileIsNeverOverwritten) {
  TempHome home;
  // A folder where the file should be cannot be read as a file.
  std::filesystem::create_directory(home.file("quorvin.ini"));
  EXPECT_EQ(profile_string("Rack", "WaveOn", "quorvin.ini"), "DEF");
  EXPECT_FALSE(WritePrivateProfileStringA("Rack", "WaveOn", "NO", "quorvin.ini"));
  EXPECT_TRUE(std::filesystem::is_directory(home.file("quorvin.ini")));
}

TEST(ProfileConsistency, RewriteKeepsTheFilesPermissions) {
  TempHome home;
  const std::string path = home.file("quorvin.ini");
  write_text(path, "[Rack]\nWaveOn=YES\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WritePrivateProfileStringA("Rack", "WaveOn", "NO", "quorvin.ini"));
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(ProfileConsistency, JunkSurvivesARewriteByteForByte) {
  TempHome home;
  std::string junk = std::string("\x00\x01\xfe\xff binary\n", 12) + "[Unclosed section\n" + std::string(70000, 'z') +
                     "\n=novalue\n;comment\n";
  write_text(home.file("j.ini"), junk + "[S]\nk=1\n");
  ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "2", "j.ini"));
  EXPECT_EQ(read_text(home.file("j.ini")), junk + "[S]\nk=2\n");
}

TEST(ProfileConsistency, RewriteThroughASymbolicLinkKeepsTheLink) {
  TempHome home;
  std::filesystem::create_directory(home.file("dotfiles"));
  const std::string target = home.file("dotfiles/quorvin.ini");
  write_text(target, "[Rack]\nWaveOn=YES\n");
  std::filesystem::create_symlink(target, home.file("quorvin.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("Rack", "WaveOn", "NO", "quorvin.ini"));
  EXPECT_TRUE(std::filesystem::is_symlink(home.file("quorvin.ini")));
  EXPECT_EQ(read_text(target), "[Rack]\nWaveOn=NO\n");
  EXPECT_EQ(profile_string("Rack", "WaveOn", "quorvin.ini"), "NO");
}
