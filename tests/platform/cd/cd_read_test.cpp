// The track table and frame-exact reads of a generated CUE/BIN image.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "media/disc_image.h"
#include "platform/audio/cd/cd_drive.h"
#include "support/temp_home.h"

namespace {

using audio::CdDrive;
using audio::kCdFramesPerSector;
using testmedia::CdImage;

constexpr std::int16_t kUntouched = 0x7abc;

class CdReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    image_ = testmedia::cd_image_of({2.0, 3.0, 1.5}, 1);
    const std::string cue = testmedia::write_cd_image(home_.path(), "disc", image_);
    std::string error;
    ASSERT_TRUE(drive_.open(cue, &error)) << error;
  }

  std::uint64_t track_frame(int track_index, std::uint64_t offset) const {
    return std::uint64_t{drive_.tracks()[track_index].lba} * kCdFramesPerSector + offset;
  }

  // Every frame of buffer[0, count) equals the image's sine of `track_index`
  // from `offset` frames into the track.
  void expect_track_content(const std::vector<std::int16_t>& buffer, std::size_t count, int track_index,
                            std::uint64_t offset) const {
    for (std::size_t i = 0; i < count; ++i) {
      for (int channel = 0; channel < 2; ++channel) {
        const std::int16_t expected = testmedia::cd_image_sample(image_.tracks[track_index], offset + i, channel);
        ASSERT_EQ(buffer[i * 2 + channel], expected)
            << "track index " << track_index << " frame " << offset + i << " channel " << channel;
      }
    }
  }

  TempHome home_;
  CdImage image_;
  CdDrive drive_;
};

TEST_F(CdReadTest, TrackTableHasNumbersAddressesLengthsAndKinds) {
  const auto& tracks = drive_.tracks();
  ASSERT_EQ(tracks.size(), 4u);
  const std::uint32_t lbas[] = {150, 300, 525, 638};
  const std::uint32_t lengths[] = {150, 225, 113, 150};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(tracks[i].number, i + 1);
    EXPECT_EQ(tracks[i].lba, lbas[i]) << "track " << i + 1;
    EXPECT_EQ(tracks[i].sectors, lengths[i]) << "track " << i + 1;
  }
  EXPECT_TRUE(tracks[0].audio);
  EXPECT_TRUE(tracks[1].audio);
  EXPECT_TRUE(tracks[2].audio);
  EXPECT_FALSE(tracks[3].audio);
  EXPECT_TRUE(drive_.is_image());
  EXPECT_TRUE(drive_.media_present());
  EXPECT_FALSE(drive_.door_open());
}

TEST_F(CdReadTest, EachTrackHoldsItsOwnSineAtAnOffsetInsideASector) {
  for (int t = 0; t < 3; ++t) {
    const std::uint64_t offset = 75 * kCdFramesPerSector / 2 + 123;  // half a second in, mid-sector
    std::vector<std::int16_t> buffer(2 * 2000);
    ASSERT_EQ(drive_.read_frames(track_frame(t, offset), buffer.data(), 2000), 2000u);
    expect_track_content(buffer, 2000, t, offset);
  }
}

TEST_F(CdReadTest, ReadsStartingOneFrameBeforeASectorEndCrossIntoTheNext) {
  std::vector<std::int16_t> buffer(2 * 3 * kCdFramesPerSector);
  const std::size_t frames = buffer.size() / 2;
  ASSERT_EQ(drive_.read_frames(track_frame(1, kCdFramesPerSector - 1), buffer.data(), frames), frames);
  expect_track_content(buffer, frames, 1, kCdFramesPerSector - 1);
}

TEST_F(CdReadTest, SmallSequentialReadsRebuildATrackExactly) {
  // Odd sizes make every read start inside a sector the previous read touched.
  const std::uint64_t length = std::uint64_t{drive_.tracks()[0].sectors} * kCdFramesPerSector;
  std::vector<std::int16_t> whole(length * 2, kUntouched);
  std::uint64_t position = 0;
  const std::size_t sizes[] = {1, 587, 1000, 4096, 13};
  for (int i = 0; position < length; ++i) {
    const std::size_t ask = std::min<std::uint64_t>(sizes[i % 5], length - position);
    ASSERT_EQ(drive_.read_frames(track_frame(0, position), whole.data() + position * 2, ask), ask);
    position += ask;
  }
  expect_track_content(whole, length, 0, 0);
}

TEST_F(CdReadTest, AReadRunsOnFromOneAudioTrackIntoTheNext) {
  const std::uint64_t end_of_first = std::uint64_t{drive_.tracks()[0].sectors} * kCdFramesPerSector;
  std::vector<std::int16_t> buffer(2 * 1000);
  ASSERT_EQ(drive_.read_frames(track_frame(0, end_of_first - 400), buffer.data(), 1000), 1000u);
  expect_track_content(buffer, 400, 0, end_of_first - 400);
  const std::vector<std::int16_t> rest(buffer.begin() + 800, buffer.end());
  expect_track_content(rest, 600, 1, 0);
}

TEST_F(CdReadTest, AReadStopsBeforeTheDataTrackAndLeavesTheRestOfTheBuffer) {
  const std::uint64_t end_of_third = std::uint64_t{drive_.tracks()[2].sectors} * kCdFramesPerSector;
  std::vector<std::int16_t> buffer(2 * 1000, kUntouched);
  ASSERT_EQ(drive_.read_frames(track_frame(2, end_of_third - 50), buffer.data(), 1000), 50u);
  expect_track_content(buffer, 50, 2, end_of_third - 50);
  EXPECT_EQ(buffer[100], kUntouched);
  EXPECT_EQ(buffer.back(), kUntouched);
}

TEST_F(CdReadTest, ADataTrackAndPlacesOutsideTheTracksReadNothing) {
  std::vector<std::int16_t> buffer(2 * 600, kUntouched);
  EXPECT_EQ(drive_.read_frames(track_frame(3, 0), buffer.data(), 600), 0u);
  EXPECT_EQ(drive_.read_frames(track_frame(3, 5000), buffer.data(), 600), 0u);
  EXPECT_EQ(drive_.read_frames(0, buffer.data(), 600), 0u);                             // the lead-in
  EXPECT_EQ(drive_.read_frames(788ull * kCdFramesPerSector, buffer.data(), 600), 0u);  // the lead-out
  EXPECT_EQ(drive_.read_frames(~0ull / 2, buffer.data(), 600), 0u);
  EXPECT_EQ(drive_.read_frames(track_frame(0, 0), buffer.data(), 0), 0u);
  EXPECT_EQ(buffer[0], kUntouched);
}

TEST(CdReadLeadOut, AReadCrossingTheLeadOutIsClamped) {
  TempHome home;
  const CdImage image = testmedia::cd_image_of({1.0, 1.0});
  CdDrive drive;
  std::string error;
  ASSERT_TRUE(drive.open(testmedia::write_cd_image(home.path(), "short", image), &error)) << error;
  const auto& last = drive.tracks().back();
  const std::uint64_t leadout_frame = std::uint64_t{last.lba + last.sectors} * kCdFramesPerSector;
  std::vector<std::int16_t> buffer(2 * 5000, kUntouched);
  ASSERT_EQ(drive.read_frames(leadout_frame - 700, buffer.data(), 5000), 700u);
  for (std::size_t i = 0; i < 700; ++i) {
    ASSERT_EQ(buffer[i * 2], testmedia::cd_image_sample(image.tracks[1], 75 * kCdFramesPerSector - 700 + i, 0));
  }
  EXPECT_EQ(buffer[1400], kUntouched);
  EXPECT_EQ(drive.read_frames(leadout_frame, buffer.data(), 5000), 0u);
}

}  // namespace
