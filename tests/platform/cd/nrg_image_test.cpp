// NRG images: a sound one plays under any name; damaged ones are refused with a
// sentence before libcdio's NRG reader, which trusts every offset, sees them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "media/disc_image.h"
#include "platform/audio/cd/cd_drive.h"
#include "support/temp_home.h"

namespace {

using audio::CdDrive;
using audio::kCdFramesPerSector;
using testmedia::nrg_chunk;

std::string big_endian(std::uint64_t value, int width) {
  std::string out;
  for (int i = width - 1; i >= 0; --i) out.push_back(static_cast<char>(value >> (8 * i) & 0xff));
  return out;
}

// A CUEX chunk for `tracks` tracks of one second each.
std::string cuex(int tracks, std::int32_t lead_in = -150) {
  std::string body;
  auto entry = [&](int track, std::int32_t lsn) {
    body += std::string{1, char(track), 1, 0} + big_endian(std::uint32_t(lsn), 4);
  };
  entry(0, lead_in);
  entry(1, -150);
  for (int t = 1; t <= tracks; ++t) {
    entry(t, (t - 1) * 75);
    entry(t + 1, t * 75);
  }
  return nrg_chunk("CUEX", body);
}

class NrgImageTest : public ::testing::Test {
 protected:
  NrgImageTest() : image_(testmedia::cd_image_of({1.0, 2.0})) {}

  std::string write_raw(const std::string& name, const std::string& bytes) {
    std::ofstream(home_.file(name), std::ios::binary) << bytes;
    return home_.file(name);
  }

  // Refused, with a sentence naming the file and the fault, and nothing printed.
  void expect_refused(const std::string& path, const std::string& fault) {
    CdDrive drive;
    std::string error;
    ::testing::internal::CaptureStderr();
    const bool opened = drive.open(path, &error);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << path;
    EXPECT_FALSE(opened) << path;
    EXPECT_TRUE(drive.tracks().empty()) << path;
    EXPECT_NE(error.find("\"" + path + "\""), std::string::npos) << error;
    EXPECT_NE(error.find(fault), std::string::npos) << error;
  }

  TempHome home_;
  testmedia::CdImage image_;
};

TEST_F(NrgImageTest, ASoundImageOpensUnderItsOwnNameAndAnyOther) {
  for (const char* name : {"disc.nrg", "disc.img", "disc"}) {
    const std::string path =
        testmedia::write_nrg_image(home_.path(), name, image_, testmedia::nrg_track_chunks(image_));
    CdDrive drive;
    std::string error;
    ASSERT_TRUE(drive.open(path, &error)) << name << ": " << error;
    ASSERT_EQ(drive.tracks().size(), 2u) << name;
    EXPECT_EQ(drive.tracks()[1].lba, 225u);
    EXPECT_EQ(drive.tracks()[1].sectors, 150u);
    EXPECT_TRUE(drive.tracks()[0].audio);
    std::vector<std::int16_t> buffer(2 * 10);
    ASSERT_EQ(drive.read_frames(225ull * kCdFramesPerSector + 5000, buffer.data(), 10), 10u);
    EXPECT_EQ(buffer[2 * 9 + 1], testmedia::cd_image_sample(image_.tracks[1], 5009, 1)) << name;
  }
}

TEST_F(NrgImageTest, TheTwentyEightByteCrasherIsRefusedUnderAnyName) {
  const std::string bytes =
      std::string("\0\0\0\0\xf5\x01\xf5\x01\xe8\x03\xe8\x03\xd7\x05\xd7\x05", 16) + "NER5" + std::string(8, '\0');
  ASSERT_EQ(bytes.size(), 28u);
  expect_refused(write_raw("disc.nrg", bytes), "is damaged: a chunk of its table runs past");
  expect_refused(write_raw("disc.img", bytes), "is damaged: a chunk of its table runs past");
}

TEST_F(NrgImageTest, DamagedTablesAreRefusedWithTheirFault) {
  const std::string audio((150 + 225) * 2352, '\0');  // the pregap and room for image_'s tracks
  const std::string tracks = testmedia::nrg_track_chunks(image_);
  const std::string end = nrg_chunk("END!", "");
  auto ner5 = [](std::uint64_t table) { return "NER5" + big_endian(table, 8); };
  struct Case {
    const char* name;
    std::string bytes;
    const char* fault;
  };
  const std::uint64_t t = audio.size();  // where the table starts
  const std::string etnf_outside = nrg_chunk(
      "ETNF", big_endian(0, 4) + big_endian(2352 * 1000, 4) + big_endian(7, 4) + big_endian(0, 4) + big_endian(0, 4));
  const Case cases[] = {
      {"offset past the end.nrg", audio + tracks + end + ner5(UINT64_MAX - 5), "its footer points outside the file"},
      {"offset at the footer.nrg", audio + tracks + end + ner5(t + tracks.size() + 8), "its footer points outside"},
      {"old footer past the end.nrg",
       audio + tracks + end + std::string("\0\0\0\0NERO", 8) + big_endian(0xfffffff0u, 4),
       "its footer points outside the file"},
      {"no end mark.nrg", audio + tracks + ner5(t), "its chunk table has no end mark"},
      {"chunk too long.nrg", audio + nrg_chunk("MTYP", "1234").replace(4, 4, big_endian(9999, 4)) + end + ner5(t),
       "runs past the table's end"},
      {"no tracks.nrg", audio + end + ner5(t), "it lists no tracks"},
      {"a hundred tracks.nrg", audio + cuex(100) + end + ner5(t), "holds 100 tracks"},
      {"two track lists.nrg", audio + cuex(2) + cuex(2) + end + ner5(t), "more than one track list"},
      {"no lead-in.nrg", audio + cuex(2, 0) + end + ner5(t), "does not start at the lead-in"},
      {"short DAO.nrg", audio + cuex(2) + nrg_chunk("DAOX", std::string(22 + 42, '\0')) + end + ner5(t),
       "DAO chunk is shorter"},
      {"track outside.nrg", audio + etnf_outside + end + ner5(t), "a track's data lies outside the file"},
      {"odd session.nrg", audio + tracks + nrg_chunk("SINF", "12345") + end + ner5(t), "has the wrong size"},
  };
  for (const Case& c : cases) expect_refused(write_raw(c.name, c.bytes), c.fault);
}

// libcdio 2.1's NRG reader frees its CD-Text twice, however sound the text.
TEST_F(NrgImageTest, AnImageWithCdTextIsRefusedAsUnplayableNotDamaged) {
  std::string text;
  for (int pack = 0; pack < 4; ++pack) {
    std::string bytes(18, '\0');
    bytes[0] = static_cast<char>(pack == 0 ? 0x80 : 0x8f);  // a title, then the three block-size packs
    bytes[1] = static_cast<char>(pack == 0 ? 0 : pack - 1);
    if (pack == 0) bytes[4] = 'A';
    if (pack == 2) bytes[11] = 3;
    text += bytes;
  }
  const std::string path = testmedia::write_nrg_image(home_.path(), "texted.nrg", image_,
                                                      testmedia::nrg_track_chunks(image_) + nrg_chunk("CDTX", text));
  expect_refused(path, "can not be played: it holds CD-Text");
}

TEST_F(NrgImageTest, AFileOfUnknownKindIsNotAnImage) {
  expect_refused(write_raw("holiday.img", std::string(5000, 'x')), "is not a CD image");
  expect_refused(write_raw("footless.nrg", std::string(5000, 'x')), "has no NRG footer");
  expect_refused(write_raw("lonely.bin", std::string(2352, '\0')), "has no CUE sheet");
}

}  // namespace
