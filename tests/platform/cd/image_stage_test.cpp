// CUE sheets whose BIN is not named like the sheet, which libcdio cannot read by itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/disc_image.h"
#include "platform/audio/cd/cd_drive.h"
#include "support/temp_home.h"

namespace {

namespace fs = std::filesystem;
using audio::CdDrive;
using audio::kCdFramesPerSector;

// Staged copies go to TMPDIR; point it into the test's folder to watch them.
class ImageStageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* value = std::getenv("TMPDIR")) saved_tmpdir_ = value, had_tmpdir_ = true;
    fs::create_directory(home_.file("tmp"));
    setenv("TMPDIR", home_.file("tmp").c_str(), 1);
    image_ = testmedia::cd_image_of({1.0, 2.0, 1.0});
    testmedia::write_cd_image(home_.path(), "album", image_);
  }
  void TearDown() override {
    if (had_tmpdir_) setenv("TMPDIR", saved_tmpdir_.c_str(), 1);
    else unsetenv("TMPDIR");
  }
  void write(const std::string& name, const std::string& text) {
    std::ofstream(home_.file(name), std::ios::binary) << text;
  }
  std::size_t staged_folders() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(home_.file("tmp")), fs::directory_iterator()));
  }
  void expect_album(CdDrive& drive) {
    ASSERT_EQ(drive.tracks().size(), 3u);
    EXPECT_EQ(drive.tracks()[2].lba, 375u);
    EXPECT_EQ(drive.tracks()[2].sectors, 75u) << "the lead-out comes from the real BIN";
    std::vector<std::int16_t> buffer(2 * 100);
    ASSERT_EQ(drive.read_frames(std::uint64_t{375} * kCdFramesPerSector + 40000, buffer.data(), 100), 100u);
    EXPECT_EQ(buffer[2 * 99 + 1], testmedia::cd_image_sample(image_.tracks[2], 40099, 1));
  }

  TempHome home_;
  testmedia::CdImage image_;
  std::string saved_tmpdir_;
  bool had_tmpdir_ = false;
};

const char* kAlbumSheet =
    "FILE \"album.bin\" BINARY\n"
    "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
    "  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n"
    "  TRACK 03 AUDIO\n    INDEX 01 00:03:00\n";

TEST_F(ImageStageTest, ASheetNamedOtherwiseThanItsBinOpensAndItsStagingGoesWithTheDrive) {
  write("my album.cue", kAlbumSheet);
  write("my album.bin", std::string(2352, '\0'));  // a stranger under the name libcdio would guess
  {
    CdDrive drive;
    std::string error;
    ASSERT_TRUE(drive.open(home_.file("my album.cue"), &error)) << error;
    expect_album(drive);
    EXPECT_EQ(staged_folders(), 1u);
    ASSERT_TRUE(drive.eject(&error));
    EXPECT_EQ(staged_folders(), 0u) << "an image that is out needs no staging";
    ASSERT_TRUE(drive.close_tray(&error)) << error;
    expect_album(drive);
  }
  EXPECT_EQ(staged_folders(), 0u);
}

TEST_F(ImageStageTest, MixedCaseExtensionsWindowsLineEndsAndUnquotedNames) {
  write("Album.Cue",
        "REM made elsewhere\r\nFILE album.bin BINARY\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
        "  TRACK 02 AUDIO\r\n    INDEX 01 00:01:00\r\n  TRACK 03 AUDIO\r\n    INDEX 01 00:03:00\r\n");
  CdDrive drive;
  std::string error;
  ASSERT_TRUE(drive.open(home_.file("Album.Cue"), &error)) << error;
  expect_album(drive);
}

TEST_F(ImageStageTest, ASheetNamingAMissingFileSaysWhichFile) {
  write("lost.cue", "FILE \"Lost Tapes.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
  CdDrive drive;
  std::string error;
  EXPECT_FALSE(drive.open(home_.file("lost.cue"), &error));
  EXPECT_NE(error.find("Lost Tapes.bin"), std::string::npos) << error;
  EXPECT_EQ(staged_folders(), 0u);
}

TEST_F(ImageStageTest, ASheetWithOneFilePerTrackIsRefusedPlainly) {
  write("split.cue",
        "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
        "FILE \"album.bin\" BINARY\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n");
  CdDrive drive;
  std::string error;
  EXPECT_FALSE(drive.open(home_.file("split.cue"), &error));
  EXPECT_NE(error.find("single BIN"), std::string::npos) << error;
  EXPECT_FALSE(drive.media_present());
}

// Sheets libcdio misreads (a phantom track at 00:00:00) or leaks on are refused
// before it sees them, with the file and the fault named.
TEST_F(ImageStageTest, SheetsLibcdioWouldMisreadOrLeakOnAreRefusedWithTheirFault) {
  using namespace std::string_literals;  // sheets holding NUL bytes
  const struct {
    const char* name;
    std::string text;
    const char* fault;
  } cases[] = {
      {"late file.cue", "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\nFILE \"album.bin\" BINARY\n", "FILE line comes after"},
      {"phantom.cue",
       "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n  TRACK 01 AUDIO\n  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n",
       "track 1 has no INDEX 01"},
      {"twice.cue", "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 01 AUDIO\n"
                    "    INDEX 01 00:01:00\n", "track 1 follows track 1"},
      {"late start.cue", "FILE \"album.bin\" BINARY\n  TRACK 98 AUDIO\n    INDEX 01 00:00:00\n    FLAGS DCP\n",
       "first track is numbered 98, not 1"},
      {"two codes.cue", "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n    ISRC ABCDE1234567\n    ISRC ABCDE1234567\n"
                        "    INDEX 01 00:00:00\n", "track 1 has two ISRC lines"},
      {"lost text.cue", "CDTEXTFILE \"text.cdt\"\nFILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n",
       "\"text.cdt\", which does not exist"},
      {"unindexed.cue", "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 00 00:00:00\n", "no INDEX 01"},
      {"zero.cue", "FILE \"album.bin\" BINARY\n  TRACK 00 AUDIO\n    INDEX 01 00:00:00\n", "numbered \"00\""},
      {"fileless.cue", "TRACK 01 AUDIO\n    INDEX 01 00:00:00\n", "names no BIN file"},
      {"empty bin.toc", "CD_DA\nTRACK AUDIO\nFILE \"empty.bin\" 0\n", "\"empty.bin\" is shorter"},
      {"short bin.toc", "CD_DA\nTRACK AUDIO\nFILE \"album.bin\" 0 00:05:00\n", "\"album.bin\" is shorter"},
      {"short offset.toc", "CD_DA\nTRACK AUDIO\nAUDIOFILE \"album.bin\" #900000 0 100\n", "is shorter"},
      {"early silence.toc", "CD_DA\nSILENCE 00:01:00\nTRACK AUDIO\nFILE \"album.bin\" 0\n", "SILENCE line comes before"},
      {"two files.toc", "CD_DA\nTRACK AUDIO\nFILE \"album.bin\" 0 00:01:00\nFILE \"album.bin\" 0\n",
       "track 1 names more than one file"},
      // libcdio divides by zero on these: a TRACK without its mode, one of a mode
      // it gives no sector size, one cut short by a NUL.
      {"modeless.toc", "CD_DA\nTRACK\nFILE \"album.bin\" 0\n", "track 1 has no mode"},
      {"mode2.toc", "CD_DA\nTRACK AUDIO\nFILE \"album.bin\" 0 100\nTRACK MODE2_FORM1\nSILENCE 0:00:02\n",
       "track 2 has the mode MODE2_FORM1"},
      {"nul.toc", "CD_DA\nTRACK \0AUDIO\nFILE \"album.bin\" 0\n"s, "NUL byte"},
      {"nul.cue", "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\0\n    INDEX 01 00:00:00\n"s, "NUL byte"},
      // libcdio leaked the first name when a carriage return split a second FILE line.
      {"stray cr.cue", "FILE \"album.bin\" BINARY\nFILE\ralbum.bin BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n",
       "carriage return"},
      // libcdio leaks the name of a FILE line with an unclosed quote when another follows.
      {"unclosed.cue", "FILE \"album.\nFILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n",
       "in 2 files"},
  };
  write("empty.bin", "");
  for (const auto& c : cases) {
    write(c.name, c.text);
    CdDrive drive;
    std::string error;
    EXPECT_FALSE(drive.open(home_.file(c.name), &error)) << c.name;
    EXPECT_TRUE(drive.tracks().empty()) << c.name;
    EXPECT_NE(error.find(home_.file(c.name) + "\""), std::string::npos) << error;
    EXPECT_NE(error.find(c.fault), std::string::npos) << error;
  }
  EXPECT_EQ(staged_folders(), 0u);

  // The same TOC with a length the BIN holds still opens (album.bin: 4 seconds),
  // and so does a staged sheet whose CD-Text file is there.
  write("fits.toc", "CD_DA\nTRACK AUDIO\nFILE \"album.bin\" 0 00:03:74\n");
  CdDrive drive;
  std::string error;
  EXPECT_TRUE(drive.open(home_.file("fits.toc"), &error)) << error;
  write("text.cdt", std::string(36, '\0'));
  write("texted.cue", std::string("CDTEXTFILE \"text.cdt\"\n") + kAlbumSheet);
  ASSERT_TRUE(drive.open(home_.file("texted.cue"), &error)) << error;
  expect_album(drive);
}

}  // namespace
