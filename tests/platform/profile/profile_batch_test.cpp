#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/profile/atomic_file.h"
#include "platform/profile/profile.h"
#include "platform/profile/profile_batch.h"
#include "profile_test_util.h"
#include "support/temp_home.h"

namespace {
const char* const kOld = "[Templist]\nTotalListItems=1\n0=/old.wav\n";
}

TEST(ProfileBatch, WritesAreSeenAtOnceAndReachTheDiskAtCommit) {
  TempHome home;
  const std::string path = home.file("wavetemp.ini");
  write_text(path, kOld);
  ProfileBatch batch("wavetemp.ini");
  ASSERT_TRUE(WritePrivateProfileStringA("Templist", "0", "/new.wav", "wavetemp.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("Templist", "1", "/two.wav", "wavetemp.ini"));
  EXPECT_EQ(profile_string("Templist", "0", "wavetemp.ini"), "/new.wav");
  EXPECT_EQ(read_text(path), kOld);
  EXPECT_TRUE(batch.commit());
  EXPECT_EQ(read_text(path), "[Templist]\nTotalListItems=1\n0=/new.wav\n1=/two.wav\n");
  EXPECT_FALSE(batch.commit());
  // After the batch every write is on disk at once again.
  ASSERT_TRUE(WritePrivateProfileStringA("Templist", "TotalListItems", "2", "wavetemp.ini"));
  EXPECT_EQ(read_text(path), "[Templist]\nTotalListItems=2\n0=/new.wav\n1=/two.wav\n");
}

TEST(ProfileBatch, DeleteThenRewriteReplacesTheStoreWhole) {
  TempHome home;
  const std::string path = home.file("wavelist.ini");
  write_text(path, "[Stale]\nx=1\n" + std::string(kOld));
  {
    ProfileBatch batch(path.c_str());
    EXPECT_NE(OpenFile(path.c_str(), nullptr, OF_DELETE), HFILE_ERROR);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(profile_string("Stale", "x", path), "DEF");
    ASSERT_TRUE(WritePrivateProfileStringA("Templist", "TotalListItems", "0", path.c_str()));
  }
  EXPECT_EQ(read_text(path), "[Templist]\nTotalListItems=0\n");
}

TEST(ProfileBatch, DeleteWithNothingWrittenLeavesNoFile) {
  TempHome home;
  const std::string path = home.file("wavelist.ini");
  write_text(path, kOld);
  ProfileBatch batch(path.c_str());
  EXPECT_NE(OpenFile(path.c_str(), nullptr, OF_DELETE), HFILE_ERROR);
  EXPECT_TRUE(batch.commit());
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(GetPrivateProfileIntA("Templist", "TotalListItems", 0, path.c_str()), 0u);
}

TEST(ProfileBatch, NestedBatchesWriteOnceAtTheOuterEnd) {
  TempHome home;
  const std::string path = home.file("n.ini");
  ProfileBatch outer("n.ini");
  {
    ProfileBatch inner("n.ini");
    ASSERT_TRUE(WritePrivateProfileStringA("A", "k", "v", "n.ini"));
    EXPECT_TRUE(inner.commit());
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(outer.commit());
  EXPECT_EQ(read_text(path), "[A]\nk=v\n");
}

TEST(ProfileBatch, CrashInsideABatchLeavesTheFileAsBefore) {
  TempHome home;
  const std::string path = home.file("wavelist.ini");
  write_text(path, kOld);
  for (bool crash_in_commit : {false, true}) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (crash_in_commit)
        profile::set_write_fault_for_testing([](profile::WriteStep step) {
          if (step == profile::WriteStep::Rename) _exit(3);
          return true;
        });
      ProfileBatch batch("wavelist.ini");
      OpenFile("wavelist.ini", nullptr, OF_DELETE);
      WritePrivateProfileStringA("Templist", "TotalListItems", "5", "wavelist.ini");
      if (crash_in_commit) batch.commit();
      _exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3);
    EXPECT_EQ(read_text(path), kOld);
  }
}

TEST(ProfileBatch, FailedCommitKeepsTheOldFileAndForgetsTheBatch) {
  TempHome home;
  const std::string path = home.file("wavelist.ini");
  write_text(path, kOld);
  ProfileBatch batch("wavelist.ini");
  ASSERT_TRUE(WritePrivateProfileStringA("Templist", "0", "/lost.wav", "wavelist.ini"));
  profile::set_write_fault_for_testing([](profile::WriteStep step) { return step != profile::WriteStep::Sync; });
  EXPECT_FALSE(batch.commit());
  profile::set_write_fault_for_testing(nullptr);
  EXPECT_EQ(read_text(path), kOld);
  EXPECT_EQ(profile_string("Templist", "0", "wavelist.ini"), "/old.wav");
}

TEST(ProfileBatch, UnreadableFileRefusesTheBatch) {
  TempHome home;
  std::filesystem::create_directory(home.file("d.ini"));
  ProfileBatch batch("d.ini");
  EXPECT_FALSE(WritePrivateProfileStringA("A", "k", "v", "d.ini"));
  EXPECT_FALSE(batch.commit());
  EXPECT_TRUE(std::filesystem::is_directory(home.file("d.ini")));
}
