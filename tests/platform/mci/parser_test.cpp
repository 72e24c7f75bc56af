// The string side: words, quotes, case, time texts, error codes and their texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "mci_fixture.h"
#include "platform/mci/time_text.h"
#include "platform/mci/tokenizer.h"

namespace {

using mcitest::error_text;
using mcitest::mci;
using mcitest::mci_error;

std::vector<std::string> words_of(const std::string& command) {
  std::vector<mci::Word> words;
  EXPECT_EQ(mci::tokenize(command, &words), 0u);
  std::vector<std::string> texts;
  for (const auto& w : words) texts.push_back(w.text);
  return texts;
}

TEST(MciTokenizer, QuotedPathsKeepTheirBlanksAndLoseTheQuotes) {
  EXPECT_EQ(words_of("open \"/tmp/my music/a b.wav\" type waveaudio alias tape1"),
            (std::vector<std::string>{"open", "/tmp/my music/a b.wav", "type", "waveaudio", "alias", "tape1"}));
  EXPECT_EQ(words_of("  play\t tape1   notify  "), (std::vector<std::string>{"play", "tape1", "notify"}));
  EXPECT_EQ(words_of("save tape2 \"\""), (std::vector<std::string>{"save", "tape2", ""}));
  EXPECT_TRUE(words_of("").empty());
}

TEST(MciTokenizer, QuotedKeywordsAreNotKeywords) {
  std::vector<mci::Word> words;
  ASSERT_EQ(mci::tokenize("open \"notify\" alias x", &words), 0u);
  EXPECT_TRUE(words[1].quoted);
  EXPECT_FALSE(words[2].quoted);
}

TEST(MciTokenizer, BrokenQuotesAreErrors) {
  std::vector<mci::Word> words;
  EXPECT_EQ(mci::tokenize("open \"/tmp/a.wav type waveaudio", &words), MCIERR_NO_CLOSING_QUOTE);
  EXPECT_EQ(mci::tokenize("open \"/tmp/a.wav\"type waveaudio", &words), MCIERR_EXTRA_CHARACTERS);
  EXPECT_EQ(mci_error("open \"/tmp/a.wav alias x"), MCIERR_NO_CLOSING_QUOTE);
}

TEST(MciTimeText, ParsesEachFormatAndPacksItsFields) {
  DWORD v = 0;
  EXPECT_EQ(mci::parse_time("123456", MCI_FORMAT_MILLISECONDS, &v), 0u);
  EXPECT_EQ(v, 123456u);
  EXPECT_EQ(mci::parse_time("3:2:1:4", MCI_FORMAT_TMSF, &v), 0u);
  EXPECT_EQ(v, MCI_MAKE_TMSF(3, 2, 1, 4));
  EXPECT_EQ(mci::parse_time("7", MCI_FORMAT_TMSF, &v), 0u);
  EXPECT_EQ(v, MCI_MAKE_TMSF(7, 0, 0, 0));
  EXPECT_EQ(mci::parse_time("4:0:0", MCI_FORMAT_TMSF, &v), 0u);
  EXPECT_EQ(v, MCI_MAKE_TMSF(4, 0, 0, 0));
  EXPECT_EQ(mci::parse_time("12:34:56", MCI_FORMAT_MSF, &v), 0u);
  EXPECT_EQ(v, MCI_MAKE_MSF(12, 34, 56));
}

TEST(MciTimeText, RejectsWhatIsNotATime) {
  DWORD v = 0;
  EXPECT_EQ(mci::parse_time("", MCI_FORMAT_MILLISECONDS, &v), MCIERR_BAD_INTEGER);
  EXPECT_EQ(mci::parse_time("12a", MCI_FORMAT_MILLISECONDS, &v), MCIERR_BAD_INTEGER);
  EXPECT_EQ(mci::parse_time("-5", MCI_FORMAT_MILLISECONDS, &v), MCIERR_BAD_INTEGER);
  EXPECT_EQ(mci::parse_time("1:2", MCI_FORMAT_MILLISECONDS, &v), MCIERR_BAD_INTEGER);
  EXPECT_EQ(mci::parse_time("99999999999", MCI_FORMAT_MILLISECONDS, &v), MCIERR_BAD_INTEGER);
  EXPECT_EQ(mci::parse_time("1:2:3:4:5", MCI_FORMAT_TMSF, &v), MCIERR_BAD_INTEGER);
  EXPECT_EQ(mci::parse_time("1:256", MCI_FORMAT_TMSF, &v), MCIERR_BAD_INTEGER);
  EXPECT_EQ(mci::parse_time("1::3", MCI_FORMAT_TMSF, &v), MCIERR_BAD_INTEGER);
}

TEST(MciTimeText, FormatsRepliesAsTwoDigitFields) {
  EXPECT_EQ(mci::format_time(MCI_MAKE_TMSF(2, 3, 4, 5), MCI_FORMAT_TMSF), "02:03:04:05");
  EXPECT_EQ(mci::format_time(MCI_MAKE_MSF(61, 0, 74), MCI_FORMAT_MSF), "61:00:74");
  EXPECT_EQ(mci::format_time(98765, MCI_FORMAT_MILLISECONDS), "98765");
}

TEST(MciPackedTimes, MacrosPutEachFieldInItsByte) {
  const DWORD tmsf = MCI_MAKE_TMSF(9, 8, 7, 6);
  EXPECT_EQ(tmsf, 0x06070809u);
  EXPECT_EQ(MCI_TMSF_TRACK(tmsf), 9);
  EXPECT_EQ(MCI_TMSF_MINUTE(tmsf), 8);
  EXPECT_EQ(MCI_TMSF_SECOND(tmsf), 7);
  EXPECT_EQ(MCI_TMSF_FRAME(tmsf), 6);
  const DWORD msf = MCI_MAKE_MSF(3, 4, 5);
  EXPECT_EQ(msf, 0x050403u);
  EXPECT_EQ(MCI_MSF_MINUTE(msf), 3);
  EXPECT_EQ(MCI_MSF_SECOND(msf), 4);
  EXPECT_EQ(MCI_MSF_FRAME(msf), 5);
}

TEST(MciRecords, HaveTheWin32Layouts) {
  EXPECT_EQ(offsetof(MCI_STATUS_PARMS, dwReturn), sizeof(DWORD_PTR));
  EXPECT_EQ(offsetof(MCI_STATUS_PARMS, dwItem), 2 * sizeof(DWORD_PTR));
  EXPECT_EQ(offsetof(MCI_STATUS_PARMS, dwTrack), 2 * sizeof(DWORD_PTR) + 4);
  EXPECT_EQ(offsetof(MCI_WAVE_SET_PARMS, wInput), sizeof(DWORD_PTR) + 8);
  EXPECT_EQ(offsetof(MCI_WAVE_SET_PARMS, wFormatTag), sizeof(DWORD_PTR) + 16);
  EXPECT_EQ(offsetof(MCI_WAVE_SET_PARMS, nChannels), sizeof(DWORD_PTR) + 20);
  EXPECT_EQ(offsetof(MCI_WAVE_SET_PARMS, nSamplesPerSec), sizeof(DWORD_PTR) + 24);
  EXPECT_EQ(offsetof(MCI_WAVE_SET_PARMS, wBitsPerSample), sizeof(DWORD_PTR) + 36);
  EXPECT_EQ(offsetof(MCI_GETDEVCAPS_PARMS, dwItem), sizeof(DWORD_PTR) + 4);
  EXPECT_EQ(offsetof(MCI_PLAY_PARMS, dwTo), sizeof(DWORD_PTR) + 4);
  EXPECT_EQ(offsetof(MCI_SEEK_PARMS, dwTo), sizeof(DWORD_PTR));
}

TEST(MciErrorText, EveryCodeWeReturnHasAPlainText) {
  for (MCIERROR code : {MCIERR_INVALID_DEVICE_NAME, MCIERR_FILE_NOT_FOUND, MCIERR_INVALID_FILE,
                        MCIERR_UNRECOGNIZED_COMMAND, MCIERR_UNRECOGNIZED_KEYWORD, MCIERR_NO_SOUND_DEVICE,
                        MCIERR_CDA_DATA_TRACK, MCIERR_FILE_NOT_SAVED, MCIERR_DEVICE_NOT_READY,
                        MCIERR_NO_CLOSING_QUOTE, MCIERR_OUTOFRANGE, MCIERR_NO_CD_DEVICE,
                        MCIERR_CD_SOURCE_REFUSED, MCIERR_SOUND_DEVICE_FAILED, MCIERR_RECORDING_DEVICE_FAILED}) {
    EXPECT_GT(error_text(code).size(), 10u) << code;
  }
  EXPECT_EQ(error_text(MCIERR_INVALID_DEVICE_NAME), "The specified device is not open or is not recognized by MCI.");
}

TEST(MciErrorText, UnknownCodesAndTinyBuffers) {
  char text[8] = "xxxxxxx";
  EXPECT_FALSE(mciGetErrorStringA(12345, text, sizeof text));
  EXPECT_STREQ(text, "");
  EXPECT_TRUE(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, text, sizeof text));
  EXPECT_EQ(std::strlen(text), 7u);  // cut, still terminated
  EXPECT_FALSE(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, nullptr, 10));
}

class MciStrings : public mcitest::MciTest {};

TEST_F(MciStrings, MalformedCommandsSayWhatIsWrong) {
  EXPECT_EQ(mci_error(""), MCIERR_MISSING_COMMAND_STRING);
  EXPECT_EQ(mci_error("   "), MCIERR_MISSING_COMMAND_STRING);
  EXPECT_EQ(mci_error("frobnicate tape1"), MCIERR_UNRECOGNIZED_COMMAND);
  EXPECT_EQ(mci_error("play"), MCIERR_MISSING_DEVICE_NAME);
  EXPECT_EQ(mci_error("open"), MCIERR_MISSING_DEVICE_NAME);
  EXPECT_EQ(mci_error("play nosuch notify"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(mci_error("status nosuch position"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(mci_error("close tape1"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(mciSendStringA(nullptr, nullptr, 0, nullptr), MCIERR_MISSING_COMMAND_STRING);
}

TEST_F(MciStrings, OpenErrors) {
  EXPECT_EQ(mci_error("open \"" + home_.file("missing file.wav") + "\" type waveaudio alias tape1"),
            MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(mci_error("open \"" + home_.file("missing.mid") + "\" type sequencer alias mymidi"),
            MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(mci_error("open \"" + home_.file("x.wav") + "\" type videodisc alias v"), MCIERR_CANNOT_LOAD_DRIVER);
  EXPECT_EQ(mci_error("open \"" + home_.file("x.xyz") + "\" alias v"), MCIERR_DEVICE_TYPE_REQUIRED);
  EXPECT_EQ(mci_error("open new type waveaudio buffer 4"), MCIERR_NEW_REQUIRES_ALIAS);
  EXPECT_EQ(mci_error("open new type waveaudio alias tape2 bogus"), MCIERR_UNRECOGNIZED_KEYWORD);
  EXPECT_EQ(mci_error("open new type waveaudio alias tape2 alias tape3"), MCIERR_DUPLICATE_FLAGS);
  EXPECT_EQ(mci_error("open new type waveaudio alias"), MCIERR_MISSING_STRING_ARGUMENT);
  EXPECT_EQ(mci_error("open new type waveaudio alias tape2 buffer four"), MCIERR_BAD_INTEGER);
  EXPECT_EQ(mciGetDeviceIDA("tape2"), 0u);  // nothing half-open stays behind
}

TEST_F(MciStrings, NewRecordingAliasesAreUniqueAndCaseBlind) {
  EXPECT_NE(mci("open new type waveaudio alias Tape2 buffer 4").rfind("error", 0), 0u);
  const MCIDEVICEID id = mciGetDeviceIDA("tape2");
  EXPECT_NE(id, 0u);
  EXPECT_EQ(mciGetDeviceIDA("TAPE2"), id);
  EXPECT_EQ(mci_error("OPEN NEW TYPE WAVEAUDIO ALIAS TAPE2"), MCIERR_DUPLICATE_ALIAS);
  EXPECT_EQ(mci("STATUS TAPE2 MODE"), "stopped");
  EXPECT_EQ(mci("Status tape2 Time Format"), "milliseconds");
  EXPECT_EQ(mci_error("status tape2 position bogus"), MCIERR_UNRECOGNIZED_KEYWORD);
  EXPECT_EQ(mci_error("status tape2"), MCIERR_MISSING_PARAMETER);
  EXPECT_EQ(mci_error("set tape2 time format furlongs"), MCIERR_BAD_TIME_FORMAT);
  EXPECT_EQ(mci_error("set tape2 time format tmsf"), MCIERR_BAD_TIME_FORMAT);
  EXPECT_EQ(mci_error("seek tape2"), MCIERR_MISSING_PARAMETER);
  EXPECT_EQ(mci_error("seek tape2 to start to end"), MCIERR_FLAGS_NOT_COMPATIBLE);
  EXPECT_EQ(mci_error("play tape2 from 1 from 2"), MCIERR_DUPLICATE_FLAGS);
  EXPECT_EQ(mci_error("play tape2 from"), MCIERR_MISSING_STRING_ARGUMENT);
  EXPECT_EQ(mci("close TAPE2"), "");
  EXPECT_EQ(mciGetDeviceIDA("tape2"), 0u);
}

// Notifications carry 16 bits of the identifier: identifiers count up to 0xFFFE,
// then start again at 1, never handing out one still open.
TEST_F(MciStrings, DeviceIdsCountUpAndWrapSkippingOpenOnes) {
  ASSERT_EQ(mci_error("open new type waveaudio alias a"), 0u);
  ASSERT_EQ(mci_error("open new type waveaudio alias b"), 0u);
  const MCIDEVICEID a = mciGetDeviceIDA("a");
  const MCIDEVICEID b = mciGetDeviceIDA("b");
  EXPECT_EQ(b, a + 1);
  ASSERT_EQ(mci_error("close a"), 0u);
  ASSERT_EQ(mci_error("open new type waveaudio alias c"), 0u);
  const MCIDEVICEID c = mciGetDeviceIDA("c");
  EXPECT_EQ(c, b + 1) << "a closed device's identifier is not reused at once";

  // Once round the whole range, stepping over b and c, still open.
  MCIDEVICEID previous = c;
  bool wrapped = false;
  for (int i = 0; i < 0x10000 && !(wrapped && previous > c); ++i) {
    ASSERT_EQ(mci_error("open new type waveaudio alias d"), 0u);
    const MCIDEVICEID d = mciGetDeviceIDA("d");
    ASSERT_EQ(mci_error("close d"), 0u);
    ASSERT_GE(d, 1u);
    ASSERT_LT(d, 0xFFFFu);
    ASSERT_NE(d, b);
    ASSERT_NE(d, c);
    wrapped = wrapped || d < previous;
    previous = d;
  }
  ASSERT_TRUE(wrapped);
  EXPECT_EQ(previous, c + 1);
}

TEST_F(MciStrings, RepliesThatDoNotFitAreRefusedNotCut) {
  ASSERT_EQ(mci_error("open new type waveaudio alias tape2"), 0u);
  char reply[4] = "xyz";
  EXPECT_EQ(mciSendStringA("status tape2 mode", reply, sizeof reply, nullptr), MCIERR_PARAM_OVERFLOW);
  char enough[8];
  EXPECT_EQ(mciSendStringA("status tape2 mode", enough, sizeof enough, nullptr), 0u);
  EXPECT_STREQ(enough, "stopped");
  // No reply buffer at all is fine.
  EXPECT_EQ(mciSendStringA("status tape2 mode", nullptr, 0, nullptr), 0u);
}

TEST_F(MciStrings, CommandMessagesCheckTheirArguments) {
  EXPECT_EQ(mciSendCommandA(999, MCI_STATUS, MCI_STATUS_ITEM, 0), MCIERR_INVALID_DEVICE_ID);
  ASSERT_EQ(mci_error("open new type waveaudio alias tape2"), 0u);
  const MCIDEVICEID id = mciGetDeviceIDA("tape2");
  EXPECT_EQ(mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, 0), MCIERR_NULL_PARAMETER_BLOCK);
  EXPECT_EQ(mciSendCommandA(id, 0x0899, 0, 0), MCIERR_UNRECOGNIZED_COMMAND);
  MCI_STATUS_PARMS status{};
  status.dwItem = 0x7777;
  EXPECT_NE(mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)), 0u);
}

}  // namespace

namespace {

TEST_F(MciStrings, EveryStringSentIsTracedWithItsResult) {
  const std::string trace = home_.file("trace.txt");
  setenv("QUORVIN_TRACE", trace.c_str(), 1);
  mci_error("open new type waveaudio alias tape2 buffer 4");
  mci_error("play nosuch notify");
  unsetenv("QUORVIN_TRACE");
  mci_error("status tape2 mode");  // no longer traced
  std::ifstream in(trace);
  std::string first, second, third;
  std::getline(in, first);
  std::getline(in, second);
  EXPECT_EQ(first, "mci \"open new type waveaudio alias tape2 buffer 4\" -> 0");
  EXPECT_EQ(second, "mci \"play nosuch notify\" -> " + std::to_string(MCIERR_INVALID_DEVICE_NAME));
  EXPECT_FALSE(std::getline(in, third));
}

}  // namespace
