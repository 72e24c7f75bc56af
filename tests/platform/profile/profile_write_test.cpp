#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/profile/profile.h"
#include "profile_test_util.h"
#include "support/temp_home.h"

TEST(ProfileWrite, CreatesFileSectionAndKeyAndReadsBackUnchanged) {
  TempHome home;
  ASSERT_TRUE(WritePrivateProfileStringA("Rack", "CDAudioOn", "YES", "quorvin.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("Rack", "WaveOn", "NO", "quorvin.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("Sound3D", "Space", "4", "quorvin.ini"));
  EXPECT_EQ(read_text(home.file("quorvin.ini")), "[Rack]\nCDAudioOn=YES\nWaveOn=NO\n[Sound3D]\nSpace=4\n");
  EXPECT_EQ(profile_string("rack", "waveon", "quorvin.ini"), "NO");
  EXPECT_EQ(GetPrivateProfileIntA("Sound3D", "Space", 0, "quorvin.ini"), 4u);
}

TEST(ProfileWrite, ReplacesInPlaceKeepingCommentsOrderAndJunk) {
  TempHome home;
  const std::string before =
      "; settings\n[Rack]\n  cdaudioon = YES ; kept?\n# note\nWaveOn=YES\n\n[Unclosed\nnonsense line\n"
      "[Directory]\nLastDir=/music\n";
  write_text(home.file("q.ini"), before);
  ASSERT_TRUE(WritePrivateProfileStringA("RACK", "CDAudioOn", "NO", "q.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("Rack", "MidiOn", "YES", "q.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("Directory", "LastDir", "/home/a b", "q.ini"));
  EXPECT_EQ(read_text(home.file("q.ini")),
            "; settings\n[Rack]\ncdaudioon=NO\n# note\nWaveOn=YES\n\n[Unclosed\nnonsense line\nMidiOn=YES\n"
            "[Directory]\nLastDir=/home/a b\n");
}

TEST(ProfileWrite, NewKeyGoesBeforeTheBlankLinesThatEndTheSection) {
  TempHome home;
  write_text(home.file("p.ini"), "[A]\nx=1\n\n\n[B]\ny=2\n");
  ASSERT_TRUE(WritePrivateProfileStringA("A", "z", "3", "p.ini"));
  EXPECT_EQ(read_text(home.file("p.ini")), "[A]\nx=1\nz=3\n\n\n[B]\ny=2\n");
}

TEST(ProfileWrite, KeepsCrlfFilesCrlf) {
  TempHome home;
  write_text(home.file("c.ini"), "[A]\r\nx=1\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("A", "x", "2", "c.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("B", "y", "3", "c.ini"));
  EXPECT_EQ(read_text(home.file("c.ini")), "[A]\r\nx=2\r\n[B]\r\ny=3\r\n");
}

TEST(ProfileWrite, DuplicatesWriteToTheEntryThatReadsSee) {
  TempHome home;
  write_text(home.file("d.ini"), "[A]\nk=first\nk=second\n[a]\nk=third\n");
  ASSERT_TRUE(WritePrivateProfileStringA("a", "K", "new", "d.ini"));
  EXPECT_EQ(read_text(home.file("d.ini")), "[A]\nk=new\nk=second\n[a]\nk=third\n");
  EXPECT_EQ(profile_string("A", "k", "d.ini"), "new");
}

TEST(ProfileWrite, NullValueDeletesKeyAndNullKeyDeletesSection) {
  TempHome home;
  write_text(home.file("x.ini"), "[Keep]\na=1\n[Evening]\nTotalListItems=2\n0=/a.wav\n0=/dup.wav\n1=/b.wav\n[evening]\n9=z\n");
  ASSERT_TRUE(WritePrivateProfileStringA("Evening", "0", nullptr, "x.ini"));
  EXPECT_EQ(profile_string("Evening", "0", "x.ini"), "DEF");
  EXPECT_EQ(profile_string("Evening", "1", "x.ini"), "/b.wav");
  ASSERT_TRUE(WritePrivateProfileStringA("EVENING", nullptr, nullptr, "x.ini"));
  EXPECT_EQ(read_text(home.file("x.ini")), "[Keep]\na=1\n");
  // Deleting what is not there changes nothing and creates no file.
  EXPECT_TRUE(WritePrivateProfileStringA("Gone", nullptr, nullptr, "x.ini"));
  EXPECT_TRUE(WritePrivateProfileStringA("Gone", "k", nullptr, "absent.ini"));
  EXPECT_FALSE(std::filesystem::exists(home.file("absent.ini")));
}

TEST(ProfileWrite, RefusesNamesAndValuesThatWouldBreakTheFile) {
  TempHome home;
  ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "safe", "r.ini"));
  const std::string before = read_text(home.file("r.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "two\nlines", "r.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "cr\rhere", "r.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "a=b", "v", "r.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "", "v", "r.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "[T]", "v", "r.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA("S", ";c", "v", "r.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA("Bad]Name", "k", "v", "r.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA("Bad\nName", "k", "v", "r.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "v", "r.ini"));
  EXPECT_EQ(read_text(home.file("r.ini")), before);
}

TEST(ProfileWrite, ValuesWithEqualsSignsAndBlanksInsideSurvive) {
  TempHome home;
  ASSERT_TRUE(WritePrivateProfileStringA("Playlist", "1", "a = b [c] ;d", "w.ini"));
  EXPECT_EQ(profile_string("Playlist", "1", "w.ini"), "a = b [c] ;d");
  ASSERT_TRUE(WritePrivateProfileStringA("Playlist", "2", "  padded  ", "w.ini"));
  EXPECT_EQ(profile_string("Playlist", "2", "w.ini"), "  padded  ");
}

// Every value reads back as written: from the cached copy, and from the file
// itself (a copy under another name is parsed afresh).
TEST(ProfileWrite, ValuesRoundTripExactlyThroughTheCacheAndAFreshRead) {
  TempHome home;
  const std::string values[] = {" 3 5 2 7", "Blue Train ", "\tboth\t", " ", "", "\"quoted\"", "\"", "\"\"",
                                "\"half", "a \"middle\" b", "plain"};
  for (std::size_t i = 0; i < std::size(values); ++i)
    ASSERT_TRUE(WritePrivateProfileStringA("Disc", std::to_string(i).c_str(), values[i].c_str(), "t.ini"));
  std::filesystem::copy_file(home.file("t.ini"), home.file("fresh.ini"));
  for (std::size_t i = 0; i < std::size(values); ++i) {
    const std::string key = std::to_string(i);
    EXPECT_EQ(profile_string("Disc", key.c_str(), "t.ini"), values[i]) << "cached, key " << key;
    EXPECT_EQ(profile_string("Disc", key.c_str(), "fresh.ini"), values[i]) << "fresh, key " << key;
  }
  // Rewriting the same value changes nothing on disk.
  const std::string before = read_text(home.file("t.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("Disc", "0", " 3 5 2 7", "t.ini"));
  EXPECT_EQ(read_text(home.file("t.ini")), before);
  EXPECT_EQ(GetPrivateProfileIntA("Disc", "0", -1, "t.ini"), 3u);
}

TEST(ProfileWrite, UntouchedLinesKeepTheirOwnLineEndings) {
  TempHome home;
  write_text(home.file("m.ini"), "[A]\nx=1\r\n; note\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("A", "z", "3", "m.ini"));
  EXPECT_EQ(read_text(home.file("m.ini")), "[A]\nx=1\r\n; note\r\nz=3\n");
  // A replaced line keeps its ending; the last line stays unterminated until a line follows it.
  write_text(home.file("n.ini"), "[A]\r\nx=1\n\n[B]\r\ny=2");
  ASSERT_TRUE(WritePrivateProfileStringA("A", "x", "9", "n.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("B", "y", "8", "n.ini"));
  EXPECT_EQ(read_text(home.file("n.ini")), "[A]\r\nx=9\n\n[B]\r\ny=8");
  ASSERT_TRUE(WritePrivateProfileStringA("C", "w", "7", "n.ini"));
  EXPECT_EQ(read_text(home.file("n.ini")), "[A]\r\nx=9\n\n[B]\r\ny=8\r\n[C]\r\nw=7\r\n");
}

TEST(ProfileWrite, ManyEntriesReadBackAfterRewritesInTheMiddle) {
  TempHome home;
  for (int p = 0; p < 3; ++p)
    for (int e = 0; e < 50; ++e)
      ASSERT_TRUE(WritePrivateProfileStringA(("List" + std::to_string(p)).c_str(), std::to_string(e).c_str(),
                                             ("/m/" + std::to_string(p * 100 + e)).c_str(), "m.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("List0", "TotalListItems", "50", "m.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("List1", "25", nullptr, "m.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("List1", "extra", "x", "m.ini"));
  for (int p = 0; p < 3; ++p)
    for (int e = 0; e < 50; ++e) {
      const std::string want = (p == 1 && e == 25) ? "DEF" : "/m/" + std::to_string(p * 100 + e);
      EXPECT_EQ(profile_string(("list" + std::to_string(p)).c_str(), std::to_string(e).c_str(), "m.ini"), want);
    }
  EXPECT_EQ(profile_string("List1", "extra", "m.ini"), "x");
  EXPECT_EQ(GetPrivateProfileIntA("List0", "TotalListItems", 0, "m.ini"), 50u);
}
