// The image as a disc in a tray, CD-Text, bad images, and reads racing the tray.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

#include "media/disc_image.h"
#include "platform/audio/cd/cd_drive.h"
#include "support/temp_home.h"

namespace {

using audio::CdDrive;
using audio::kCdFramesPerSector;

void write_text(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class CdImageTrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    image_ = testmedia::cd_image_of({1.0, 2.0});
    cue_ = testmedia::write_cd_image(home_.path(), "tray", image_);
    std::string error;
    ASSERT_TRUE(drive_.open(cue_, &error)) << error;
  }
  std::size_t read_start_of_track_one() {
    buffer_.assign(2 * 600, 0);
    return drive_.read_frames(std::uint64_t{150} * kCdFramesPerSector, buffer_.data(), 600);
  }

  TempHome home_;
  testmedia::CdImage image_;
  std::string cue_;
  CdDrive drive_;
  std::vector<std::int16_t> buffer_;
};

TEST_F(CdImageTrayTest, EjectTakesTheImageOutAndClosePutsItBack) {
  std::string error;
  ASSERT_TRUE(drive_.eject(&error)) << error;
  EXPECT_TRUE(drive_.door_open());
  EXPECT_FALSE(drive_.media_present());
  EXPECT_TRUE(drive_.tracks().empty());
  EXPECT_EQ(read_start_of_track_one(), 0u);
  EXPECT_TRUE(drive_.eject(&error)) << "a second eject while out is harmless";

  ASSERT_TRUE(drive_.close_tray(&error)) << error;
  EXPECT_FALSE(drive_.door_open());
  EXPECT_TRUE(drive_.media_present());
  ASSERT_EQ(drive_.tracks().size(), 2u);
  ASSERT_EQ(read_start_of_track_one(), 600u);
  EXPECT_EQ(buffer_[2 * 300], testmedia::cd_image_sample(image_.tracks[0], 300, 0));
  EXPECT_TRUE(drive_.close_tray(&error)) << "closing a closed tray is harmless";
  EXPECT_TRUE(drive_.media_present());
}

TEST_F(CdImageTrayTest, DestroyingTheDriveWhileTheImageIsOutIsClean) {
  // The handle of an ejected image must be released exactly once (ASan watches).
  auto drive = std::make_unique<CdDrive>();
  std::string error;
  ASSERT_TRUE(drive->open(cue_, &error));
  ASSERT_TRUE(drive->eject(&error));
  drive.reset();
  drive = std::make_unique<CdDrive>();
  ASSERT_TRUE(drive->open(cue_, &error));
  ASSERT_TRUE(drive->eject(&error));
  ASSERT_TRUE(drive->close_tray(&error));
  ASSERT_TRUE(drive->eject(&error));
  ASSERT_TRUE(drive->close_tray(&error));
  drive.reset();
}

TEST_F(CdImageTrayTest, AnImageThatVanishedWhileOutIsSeenWhenItComesBack) {
  std::string error;
  ASSERT_TRUE(drive_.eject(&error));
  std::remove(cue_.c_str());
  EXPECT_FALSE(drive_.close_tray(&error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(drive_.door_open());
  EXPECT_FALSE(drive_.media_present());
  EXPECT_TRUE(drive_.tracks().empty());

  const auto other = testmedia::cd_image_of({1.0, 1.0, 1.0});
  testmedia::write_cd_image(home_.path(), "tray", other);
  EXPECT_TRUE(drive_.media_present());
  EXPECT_EQ(drive_.tracks().size(), 3u);
}

TEST_F(CdImageTrayTest, ReopeningReplacesTheDisc) {
  const std::string other = testmedia::write_cd_image(home_.path(), "other", testmedia::cd_image_of({1.0, 1.0, 1.0}));
  std::string error;
  ASSERT_TRUE(drive_.open(other, &error)) << error;
  EXPECT_EQ(drive_.tracks().size(), 3u);
  EXPECT_FALSE(drive_.open(home_.file("gone.cue"), &error));
  EXPECT_TRUE(drive_.tracks().empty());
  EXPECT_FALSE(drive_.media_present());
  EXPECT_EQ(read_start_of_track_one(), 0u);
}

TEST_F(CdImageTrayTest, ReadsOnAnotherThreadSurviveEjectAndClose) {
  std::atomic<bool> stop{false};
  std::atomic<int> good_reads{0};
  std::atomic<int> bad_content{0};
  std::thread reader([&] {
    std::vector<std::int16_t> buffer(2 * 1000);
    std::uint64_t offset = 0;
    while (!stop) {
      const std::size_t got = drive_.read_frames(std::uint64_t{150} * kCdFramesPerSector + offset, buffer.data(), 1000);
      if (got == 1000) {
        ++good_reads;
        if (buffer[2 * 999] != testmedia::cd_image_sample(image_.tracks[0], offset + 999, 0)) ++bad_content;
      }
      offset = (offset + 1000) % (70 * kCdFramesPerSector);
    }
  });
  std::string error;
  for (int i = 0; i < 200; ++i) {
    drive_.eject(&error);
    drive_.media_present();
    drive_.close_tray(&error);
    drive_.media_present();
  }
  while (good_reads == 0) std::this_thread::yield();
  stop = true;
  reader.join();
  EXPECT_EQ(bad_content, 0);
  EXPECT_TRUE(drive_.media_present());
}

TEST(CdText, DiscAndTrackTitlesAndPerformersComeFromTheImage) {
  TempHome home;
  auto image = testmedia::cd_image_of({1.0, 1.0, 1.0});
  image.title = "Harbour Lights";
  image.performer = "The Quay Quartet";
  image.tracks[0].title = "Low Tide";
  image.tracks[0].performer = "Ann Brine";
  image.tracks[2].title = "Fog Horn";
  CdDrive drive;
  std::string error;
  ASSERT_TRUE(drive.open(testmedia::write_cd_image(home.path(), "text", image), &error)) << error;
  EXPECT_EQ(drive.cdtext_title(0), "Harbour Lights");
  EXPECT_EQ(drive.cdtext_performer(0), "The Quay Quartet");
  EXPECT_EQ(drive.cdtext_title(1), "Low Tide");
  EXPECT_EQ(drive.cdtext_performer(1), "Ann Brine");
  EXPECT_EQ(drive.cdtext_title(2), "");
  EXPECT_EQ(drive.cdtext_title(3), "Fog Horn");
  EXPECT_EQ(drive.cdtext_title(4), "");
  EXPECT_EQ(drive.cdtext_title(-1), "");
  EXPECT_EQ(drive.cdtext_title(1000), "");

  ASSERT_TRUE(drive.eject(&error));
  EXPECT_EQ(drive.cdtext_title(0), "") << "an image that is out has no text";
}

TEST(CdText, AnImageWithoutTextGivesEmptyStrings) {
  TempHome home;
  CdDrive drive;
  std::string error;
  ASSERT_TRUE(drive.open(testmedia::write_cd_image(home.path(), "plain", testmedia::cd_image_of({1.0})), &error));
  EXPECT_EQ(drive.cdtext_title(0), "");
  EXPECT_EQ(drive.cdtext_performer(1), "");
}

// Each bad source fails open with a sentence, leaves no disc, and prints nothing.
class CdBadSourceTest : public ::testing::Test {
 protected:
  void expect_refused(const std::string& path) {
    CdDrive drive;
    std::string error;
    ::testing::internal::CaptureStderr();
    const bool opened = drive.open(path, &error);
    const bool present = drive.media_present();
    const std::string noise = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(opened) << path;
    EXPECT_FALSE(present) << path;
    EXPECT_FALSE(error.empty()) << path;
    EXPECT_EQ(noise, "") << path;
    EXPECT_TRUE(drive.tracks().empty());
    std::vector<std::int16_t> buffer(2 * 100);
    EXPECT_EQ(drive.read_frames(150 * kCdFramesPerSector, buffer.data(), 100), 0u);
    EXPECT_FALSE(drive.eject(&error));
    EXPECT_FALSE(drive.close_tray(&error));
  }
  TempHome home_;
};

TEST_F(CdBadSourceTest, EmptyNameAndMissingFilesAndFolders) {
  CdDrive drive;
  std::string error;
  EXPECT_FALSE(drive.open("", &error));
  EXPECT_EQ(error, "No CD drive or CD image is set.");
  EXPECT_FALSE(drive.open(home_.file("nothing.cue"), &error));
  EXPECT_NE(error.find("nothing.cue"), std::string::npos) << error;
  EXPECT_FALSE(drive.open(nullptr == &error ? "" : home_.path(), nullptr)) << "a null error pointer is allowed";

  expect_refused("");
  expect_refused(home_.file("nothing.cue"));
  expect_refused(home_.path());
}

TEST_F(CdBadSourceTest, GarbageEmptyAndTruncatedImages) {
  write_text(home_.file("garbage.cue"), "\x01\x02 this is not a cue sheet\n\xff\xfe");
  write_text(home_.file("empty.cue"), "");
  write_text(home_.file("noise.img"), std::string(5000, '\x42'));
  write_text(home_.file("garbage.nrg"), std::string(5000, '\x13'));
  write_text(home_.file("garbage.toc"), "CD_DA\nTRACK SPEAKER\n}}}\n");
  write_text(home_.file("notracks.cue"), "FILE \"x.bin\" BINARY\n");
  expect_refused(home_.file("garbage.cue"));
  expect_refused(home_.file("empty.cue"));
  expect_refused(home_.file("noise.img"));
  expect_refused(home_.file("garbage.nrg"));
  expect_refused(home_.file("garbage.toc"));
  expect_refused(home_.file("notracks.cue"));
}

TEST_F(CdBadSourceTest, ACueSheetWhoseBinIsMissing) {
  write_text(home_.file("lonely.cue"), "FILE \"lonely.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
  expect_refused(home_.file("lonely.cue"));
  CdDrive drive;
  std::string error;
  EXPECT_FALSE(drive.open(home_.file("lonely.cue"), &error));
  EXPECT_NE(error.find("lonely"), std::string::npos) << error;
}

TEST(CdImageNames, ABinNextToItsCueOpensAsTheImage) {
  TempHome home;
  testmedia::write_cd_image(home.path(), "pair", testmedia::cd_image_of({1.0, 2.0}));
  CdDrive drive;
  std::string error;
  ASSERT_TRUE(drive.open(home.file("pair.bin"), &error)) << error;
  EXPECT_EQ(drive.tracks().size(), 2u);
}

TEST(CdImageNames, ATocSheetOverARawFileOpens) {
  TempHome home;
  const auto image = testmedia::cd_image_of({2.0, 1.0});
  testmedia::write_cd_image(home.path(), "raw", image);
  write_text(home.file("raw.toc"),
             "CD_DA\nTRACK AUDIO\nFILE \"raw.bin\" 0 00:02:00\nTRACK AUDIO\nFILE \"raw.bin\" 00:02:00 00:01:00\n");
  CdDrive drive;
  std::string error;
  ASSERT_TRUE(drive.open(home.file("raw.toc"), &error)) << error;
  ASSERT_EQ(drive.tracks().size(), 2u);
  EXPECT_EQ(drive.tracks()[1].lba, 300u);
  EXPECT_EQ(drive.tracks()[1].sectors, 75u);
  std::vector<std::int16_t> buffer(2 * 10);
  ASSERT_EQ(drive.read_frames(300ull * kCdFramesPerSector + 1000, buffer.data(), 10), 10u);
  EXPECT_EQ(buffer[0], testmedia::cd_image_sample(image.tracks[1], 1000, 0));
}

TEST(CdImageNames, AnImageUnderAnUnknownExtensionThatNoDriverTakesIsRefused) {
  TempHome home;
  const std::string cue = testmedia::write_cd_image(home.path(), "named", testmedia::cd_image_of({1.0}));
  const std::string renamed = home.file("named.sheet");
  ASSERT_EQ(std::rename(cue.c_str(), renamed.c_str()), 0);
  CdDrive drive;
  std::string error;
  EXPECT_FALSE(drive.open(renamed, &error));
  EXPECT_NE(error.find("named.sheet"), std::string::npos) << error;
}

// A block device that holds no CD stands in for a drive with no disc in it. Loop
// devices only: they answer every CD request with "not supported", and nothing
// here ejects or writes.
TEST(CdDriveWithoutDisc, OpensButHasNoMediaAndPrintsNothing) {
  std::string device;
  for (int i = 0; i < 8 && device.empty(); ++i) {
    const std::string candidate = "/dev/loop" + std::to_string(i);
    if (std::ifstream(candidate).good()) device = candidate;
  }
  if (device.empty()) GTEST_SKIP() << "no readable loop device to stand in for a drive";
  CdDrive drive;
  std::string error;
  ::testing::internal::CaptureStderr();
  const bool opened = drive.open(device, &error);
  const bool present = drive.media_present();
  const std::string noise = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(opened) << error;
  EXPECT_FALSE(drive.is_image());
  EXPECT_FALSE(present);
  EXPECT_FALSE(drive.door_open());
  EXPECT_TRUE(drive.tracks().empty());
  EXPECT_EQ(noise, "");
  std::vector<std::int16_t> buffer(2 * 100);
  EXPECT_EQ(drive.read_frames(150 * kCdFramesPerSector, buffer.data(), 100), 0u);
}

}  // namespace
