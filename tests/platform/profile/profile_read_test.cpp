#include <gtest/gtest.h>

#include <string>

#include "platform/profile/profile.h"
#include "profile_test_util.h"
#include "support/temp_home.h"

TEST(ProfileRead, NamesMatchWithoutCaseAndBlanksAreIgnored) {
  TempHome home;
  write_text(home.file("a.ini"), "  [ Rack ]  \n  CDAudioOn  =  yes  \n\tWaveOn\t=\tNO\t\n");
  EXPECT_EQ(profile_string("rack", "cdaudioon", "a.ini"), "yes");
  EXPECT_EQ(profile_string("RACK", "CDAUDIOON", "a.ini"), "yes");
  EXPECT_EQ(profile_string(" Rack ", " WaveOn ", "a.ini"), "NO");
  EXPECT_EQ(profile_string("Rack", "MidiOn", "a.ini"), "DEF");
  EXPECT_EQ(profile_string("Other", "CDAudioOn", "a.ini"), "DEF");
}

TEST(ProfileRead, MissingFileReadsAsEmpty) {
  TempHome home;
  EXPECT_EQ(profile_string("Templist", "0", "wavelist.ini"), "DEF");
  EXPECT_EQ(GetPrivateProfileIntA("Templist", "TotalListItems", 0, "wavelist.ini"), 0u);
  EXPECT_EQ(GetPrivateProfileIntA("Templist", "TotalListItems", 7, "wavelist.ini"), 7u);
  char buf[8] = "junk";
  EXPECT_EQ(GetPrivateProfileStringA("A", "B", nullptr, buf, sizeof buf, "none.ini"), 0u);
  EXPECT_STREQ(buf, "");
}

TEST(ProfileRead, ValueIsCutToSizeMinusOneAndAlwaysTerminated) {
  TempHome home;
  write_text(home.file("a.ini"), "[S]\nK=abcdefghij\n");
  char buf[6];
  EXPECT_EQ(GetPrivateProfileStringA("S", "K", "", buf, sizeof buf, "a.ini"), 5u);
  EXPECT_STREQ(buf, "abcde");

  char one[1] = {'x'};
  EXPECT_EQ(GetPrivateProfileStringA("S", "K", "", one, 1, "a.ini"), 0u);
  EXPECT_EQ(one[0], '\0');

  char untouched[2] = {'x', 'y'};
  EXPECT_EQ(GetPrivateProfileStringA("S", "K", "", untouched, 0, "a.ini"), 0u);
  EXPECT_EQ(untouched[0], 'x');

  // The default is cut the same way.
  EXPECT_EQ(GetPrivateProfileStringA("S", "Missing", "No Title", buf, sizeof buf, "a.ini"), 5u);
  EXPECT_STREQ(buf, "No Ti");
  EXPECT_EQ(profile_string("S", "K", home.file("a.ini"), 11), "abcdefghij");
}

TEST(ProfileRead, IntegerTakesSignAndLeadingDigitsAndDefaultsOnlyWhenMissing) {
  TempHome home;
  write_text(home.file("n.ini"),
             "[N]\nplain=42\nneg=-17\npos=+8\nmixed=12abc\njunk=abc\nempty=\nblank=   \nspaced=  5 6\n"
             "huge=99999999999999\nhex=0x10\n");
  auto get = [](const char* key, int def = 1234) {
    return static_cast<int>(GetPrivateProfileIntA("N", key, def, "n.ini"));
  };
  EXPECT_EQ(get("plain"), 42);
  EXPECT_EQ(get("neg"), -17);
  EXPECT_EQ(get("pos"), 8);
  EXPECT_EQ(get("mixed"), 12);
  EXPECT_EQ(get("junk"), 0);
  EXPECT_EQ(get("empty"), 0);
  EXPECT_EQ(get("blank"), 0);
  EXPECT_EQ(get("spaced"), 5);
  EXPECT_EQ(get("huge"), 2147483647);
  EXPECT_EQ(get("hex"), 0);
  EXPECT_EQ(get("missing"), 1234);
  EXPECT_EQ(get("missing", -3), -3);
}

TEST(ProfileRead, CrlfAndLfLinesReadAlike) {
  TempHome home;
  write_text(home.file("crlf.ini"), "[Rack]\r\nWaveOn=NO\r\nMidiOn=YES\r\n\r\n[Sound3D]\r\nSpace=4");
  EXPECT_EQ(profile_string("Rack", "WaveOn", "crlf.ini"), "NO");
  EXPECT_EQ(profile_string("Rack", "MidiOn", "crlf.ini"), "YES");
  EXPECT_EQ(GetPrivateProfileIntA("Sound3D", "Space", 0, "crlf.ini"), 4u);
}

TEST(ProfileRead, HandWrittenBlanksAreDroppedAndOnePairOfQuotes) {
  TempHome home;
  write_text(home.file("h.ini"),
             "[S]\r\nspaced =  value  \r\nquoted = \" kept \" \r\ntwice=\"\"x\"\"\r\nlone=\"\r\nnum=\" 42\"\r\n");
  EXPECT_EQ(profile_string("S", "spaced", "h.ini"), "value");
  EXPECT_EQ(profile_string("S", "quoted", "h.ini"), " kept ");
  EXPECT_EQ(profile_string("S", "twice", "h.ini"), "\"x\"");
  EXPECT_EQ(profile_string("S", "lone", "h.ini"), "\"");
  EXPECT_EQ(GetPrivateProfileIntA("S", "num", 0, "h.ini"), 42u);
}

TEST(ProfileRead, FirstOfDuplicateSectionsAndKeysWins) {
  TempHome home;
  write_text(home.file("d.ini"), "[A]\nk=first\nK=second\n[B]\nx=1\n[a]\nk=third\nonly=later\n");
  EXPECT_EQ(profile_string("A", "k", "d.ini"), "first");
  // Keys of a later duplicate section are not seen, as in the first one only.
  EXPECT_EQ(profile_string("A", "only", "d.ini"), "DEF");
}

TEST(ProfileRead, JunkBinaryAndLongLinesDoNotHideGoodEntries) {
  TempHome home;
  std::string text = "garbage without equals\n[Unclosed\n=no key\n;comment=1\n";
  text += std::string("\x01\xff\x00\x7f=bin\n", 9);
  text += "[Good]\nlong=" + std::string(100000, 'L') + "\n";
  text += std::string(50000, '[') + "\n";
  text += "after=ok\n";
  write_text(home.file("j.ini"), text);
  EXPECT_EQ(profile_string("Good", "after", "j.ini"), "ok");
  EXPECT_EQ(profile_string("Good", "long", home.file("j.ini"), 5000), std::string(4999, 'L'));
  EXPECT_EQ(profile_string("Unclosed", "=no key", "j.ini"), "DEF");
  EXPECT_EQ(profile_string("", ";comment", "j.ini"), "DEF");
}

TEST(ProfileRead, NullArgumentsGiveTheDefault) {
  TempHome home;
  write_text(home.file("a.ini"), "[S]\nK=v\n");
  char buf[8];
  EXPECT_EQ(GetPrivateProfileStringA("S", nullptr, "d", buf, sizeof buf, "a.ini"), 1u);
  EXPECT_EQ(GetPrivateProfileStringA(nullptr, "K", "d", buf, sizeof buf, "a.ini"), 1u);
  EXPECT_EQ(GetPrivateProfileStringA("S", "K", "d", nullptr, 8, "a.ini"), 0u);
  EXPECT_EQ(GetPrivateProfileIntA("S", "K", 5, nullptr), 5u);
}
