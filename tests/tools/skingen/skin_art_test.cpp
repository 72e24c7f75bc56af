// The skin art: every bitmap the rack names exists at its size, the packed
// resources are the generator's output, and the pictures keep the promises
// the drawing code relies on (black LCDs, labels that restore the face,
// pressed faces that look pressed).
#include "art_table.h"
#include "art_test_app.h"
#include "draw_kit.h"
#include "rack_layout.h"
#include "rack_picture.h"
#include "skin_art.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

QImage render(const std::string& name) {
  ensureArtApp();
  const skin::ArtEntry* entry = skin::findArt(name);
  if (!entry) {
    ADD_FAILURE() << "no bitmap " << name;
    return {};
  }
  return skin::renderArt(*entry).convertToFormat(QImage::Format_RGB32);
}

QImage packed(const std::string& name) {
  ensureArtApp();
  return QImage(QStringLiteral(":/skin/%1.png").arg(QString::fromStdString(name)));
}

bool isBlack(const QImage& image, int x, int y) { return (image.pixel(x, y) & 0xFFFFFF) == 0; }

struct Expected {
  std::string name;
  int width, height;
};

// Sizes as the rack's drawing code uses them, listed here on their own so a
// slip in the generator's table shows up.
std::vector<Expected> expectedBitmaps() {
  std::vector<Expected> list = {
      {"MIXERBMP", 577, 110}, {"MIDIBMP", 577, 51}, {"WAVEBMP", 577, 112}, {"CDPLYBMP", 577, 131},
      {"FOOTBMP", 581, 9},    {"275", 32, 32},      {"128", 16, 14},      {"129", 16, 14},
      {"139", 16, 14},        {"125", 41, 9},       {"126", 41, 9},       {"140", 41, 9},
      {"127", 24, 11},        {"138", 24, 11},      {"141", 24, 11},      {"235", 242, 43},
      {"236", 242, 43},       {"187", 12, 4},       {"188", 12, 4},       {"259", 12, 4},
      {"171", 30, 15},        {"260", 30, 15},      {"210", 4, 7},        {"212", 4, 7},
      {"231", 46, 6},         {"189", 35, 9},       {"190", 35, 9},       {"191", 22, 9},
      {"192", 22, 9},         {"193", 23, 9},       {"194", 23, 9},       {"195", 11, 9},
      {"196", 11, 9},         {"197", 23, 9},       {"198", 23, 9},       {"199", 17, 9},
      {"200", 17, 9},         {"276", 11, 9},       {"277", 22, 9},       {"278", 23, 9},
      {"279", 11, 9},         {"280", 23, 9},
  };
  for (int id = 989; id <= 999; ++id) list.push_back({std::to_string(id), 16, 23});
  for (int id = 237; id <= 244; ++id) list.push_back({std::to_string(id), 34, 17});
  for (int id : {201, 202, 203}) list.push_back({std::to_string(id), 13, 2});
  for (int id : {204, 205, 206}) list.push_back({std::to_string(id), 9, 2});
  return list;
}

TEST(SkinArtTable, NamesEveryBitmapAtItsSize) {
  for (const Expected& e : expectedBitmaps()) {
    const skin::ArtEntry* entry = skin::findArt(e.name);
    ASSERT_NE(entry, nullptr) << e.name;
    EXPECT_EQ(entry->width, e.width) << e.name;
    EXPECT_EQ(entry->height, e.height) << e.name;
  }
  for (const char* name : {"OEMLOGOBMP", "NOLOGOBMP", "RACKICON"}) EXPECT_NE(skin::findArt(name), nullptr) << name;
  for (int frame = 247; frame <= 250; ++frame) EXPECT_NE(skin::findArt(std::to_string(frame)), nullptr);
}

TEST(SkinArtTable, HasEveryButtonFaceAtTheButtonsSize) {
  for (const skin::ButtonPlace& b : skin::rackButtons()) {
    for (int id : {b.upBitmap, b.downBitmap}) {
      const skin::ArtEntry* entry = skin::findArt(std::to_string(id));
      ASSERT_NE(entry, nullptr) << "button " << b.command << " bitmap " << id;
      EXPECT_EQ(entry->width, b.width) << id;
      EXPECT_EQ(entry->height, b.height) << id;
    }
  }
}

// Every picture the rack copies into a geometry row must be exactly that row's size.
TEST(SkinArtTable, DisplayBitmapsHaveTheSizeOfTheirGeometryRows) {
  struct Sized {
    int bitmap, width, height;
  };
  std::vector<Sized> rows;
  for (const ChannelFace& f : kChannelFaces) {
    rows.push_back({f.label_unselected, f.label.width, f.label.height});
    rows.push_back({f.label_selected, f.label.width, f.label.height});
    for (int segment : {f.lit, f.dark, f.lit_muted}) rows.push_back({segment, f.segment_width, f.segment_height});
  }
  for (const SwitchRow& r : kSwitchRows) rows.push_back({r.label, r.label_width, r.label_height});
  for (int lamp : {BMP_SWITCH_LAMP_ON, BMP_SWITCH_LAMP_OFF}) rows.push_back({lamp, kSwitchLampWidth, kSwitchLampHeight});
  rows.push_back({BMP_BALANCE_SCALE, kBalanceScale.width, kBalanceScale.height});
  for (int face : {BMP_MIDI_FACE_INFO, BMP_MIDI_FACE_ANIMATION})
    rows.push_back({face, kMidiDeckFace.display.width, kMidiDeckFace.display.height});
  for (int frame = 0; frame < 8; ++frame)
    rows.push_back({BMP_MIDI_ANIMATION_STOPPED + frame, kMidiDeckFace.animation.width, kMidiDeckFace.animation.height});
  for (const WaveDeckFace& deck : kWaveDeckFaces)
    for (int lamp : {BMP_DECK_LAMP_ACTIVE, BMP_DECK_LAMP_OTHER, BMP_DECK_LAMP_BLINK})
      rows.push_back({lamp, deck.lamp.width, deck.lamp.height});
  rows.push_back({BMP_RECORD_FACE_RECORDING, kWaveButtons[0].width, kWaveButtons[0].height});
  for (const Sized& row : rows) {
    const skin::ArtEntry* entry = skin::findArt(std::to_string(row.bitmap));
    ASSERT_NE(entry, nullptr) << row.bitmap;
    EXPECT_EQ(entry->width, row.width) << row.bitmap;
    EXPECT_EQ(entry->height, row.height) << row.bitmap;
  }
  for (const ModuleFace& face : kModuleFaces) {
    const skin::ArtEntry* entry = skin::findArt(face.bitmap);
    ASSERT_NE(entry, nullptr) << face.bitmap;
    EXPECT_EQ(entry->width, kFaceWidth) << face.bitmap;
    EXPECT_EQ(entry->height, face.height + 1) << face.bitmap << " is one row taller than painted";
  }
}

TEST(SkinArtTable, NamesAreUnique) {
  const auto table = skin::artTable();
  for (size_t i = 0; i < table.size(); ++i)
    for (size_t j = i + 1; j < table.size(); ++j) EXPECT_STRNE(table[i].name, table[j].name);
}

TEST(SkinArtGeneration, WritesEveryBitmapAtItsSizeAndTheSameBytesTwice) {
  ensureArtApp();
  QTemporaryDir first, second;
  ASSERT_TRUE(first.isValid() && second.isValid());
  for (const skin::ArtEntry& entry : skin::artTable()) {
    const QString file = skin::artFileName(entry);
    ASSERT_TRUE(skin::renderArt(entry).save(QDir(first.path()).filePath(file), "PNG"));
    ASSERT_TRUE(skin::renderArt(entry).save(QDir(second.path()).filePath(file), "PNG"));
  }
  for (const skin::ArtEntry& entry : skin::artTable()) {
    const QString file = skin::artFileName(entry);
    const QImage image(QDir(first.path()).filePath(file));
    EXPECT_EQ(image.size(), QSize(entry.width, entry.height)) << entry.name;
    QFile a(QDir(first.path()).filePath(file)), b(QDir(second.path()).filePath(file));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll()) << entry.name;
  }
}

TEST(SkinArtResources, PackTheGeneratorsOutputForEveryBitmap) {
  ASSERT_TRUE(skin_art::available());
  for (const skin::ArtEntry& entry : skin::artTable()) {
    const QImage image = packed(entry.name);
    ASSERT_FALSE(image.isNull()) << ":/skin/" << entry.name << ".png";
    EXPECT_EQ(image.size(), QSize(entry.width, entry.height)) << entry.name;
    // The build ran the generator in another process: same pixels here.
    EXPECT_EQ(image.convertToFormat(QImage::Format_ARGB32), skin::renderArt(entry).convertToFormat(QImage::Format_ARGB32))
        << entry.name;
  }
}

TEST(SkinArtFaces, CdLcdWindowIsBlackAtItsCornersAndCentre) {
  const QImage face = render("CDPLYBMP");
  for (auto [x, y] : {std::pair{40, 8}, {277, 8}, {40, 90}, {277, 90}, {158, 49}, {62, 47}, {261, 86}})
    EXPECT_TRUE(isBlack(face, x, y)) << x << "," << y;
  // The window ends where the panel begins.
  EXPECT_FALSE(isBlack(face, 30, 49));
  EXPECT_FALSE(isBlack(face, 290, 49));
}

TEST(SkinArtFaces, CdFaceIsBlackWhereverTheDisplayDraws) {
  // Time cells, state icon, mode and repeat indicators, grid cells, title line.
  std::vector<QRect> areas = {{72, 18, 16, 14}, {114, 20, 41, 9}, {174, 19, 24, 11}, {61, 73, 200, 13}};
  for (int x : {62, 82, 113, 133, 167, 187}) areas.push_back({x, 47, 16, 23});
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) areas.push_back({216 + 14 * col, 16 + 14 * row, 13, 13});
  const QImage face = render("CDPLYBMP");
  for (const QRect& area : areas)
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) ASSERT_TRUE(isBlack(face, x, y)) << x << "," << y;
}

TEST(SkinArtFaces, WaveLcdsAndBarsAreBlack) {
  const QImage face = render("WAVEBMP");
  for (QRect r : {QRect(48, 45, 126, 43), QRect(193, 45, 126, 43), QRect(54, 95, 113, 3), QRect(200, 95, 113, 3)})
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) ASSERT_TRUE(isBlack(face, x, y)) << x << "," << y;
  // The LCDs end at their rectangles: the lamps and menu spots sit outside.
  EXPECT_FALSE(isBlack(face, 47, 60));
  EXPECT_FALSE(isBlack(face, 100, 44));
}

TEST(SkinArtFaces, MidiLcdFacesAreCutFromTheMidiFace) {
  const QImage face = render("MIDIBMP");
  EXPECT_EQ(render("236"), face.copy(38, 5, 242, 43));
  const QImage information = render("235");
  EXPECT_NE(information, render("236"));
  // With the information view on, the whole LCD is clear for text.
  for (int y = 14 - 5; y < 41 - 5; ++y)
    for (int x = 45 - 38; x < 270 - 38; ++x) ASSERT_TRUE(isBlack(information, x, y)) << x << "," << y;
}

TEST(SkinArtFaces, UnselectedChannelLabelsRestoreTheMixerFace) {
  const QImage face = render("MIXERBMP");
  const struct { int unselected, selected; QRect rect; } labels[] = {
      {189, 190, {55, 91, 35, 9}},  {191, 192, {103, 91, 22, 9}}, {193, 194, {139, 91, 23, 9}},
      {195, 196, {181, 91, 11, 9}}, {197, 198, {211, 91, 23, 9}}, {199, 200, {249, 91, 17, 9}},
  };
  for (const auto& l : labels) {
    EXPECT_EQ(render(std::to_string(l.unselected)), face.copy(l.rect)) << l.unselected;
    EXPECT_NE(render(std::to_string(l.selected)), face.copy(l.rect)) << l.selected;
  }
}

TEST(SkinArtFaces, SwitchColumnLooksTheSameAtBothHeights) {
  // Labels and lamps move down by up to 9 pixels when the 3D row exists;
  // the plate under them must not show where they were.
  const QImage face = render("MIXERBMP");
  EXPECT_EQ(face.copy(283, 24, 24, 9), face.copy(283, 33, 24, 9));
  EXPECT_EQ(face.copy(283, 78, 24, 9), face.copy(283, 87, 24, 9));
  EXPECT_EQ(face.copy(307, 27, 4, 7), face.copy(307, 36, 4, 7));
}

TEST(SkinArtFaces, CdFaceCarriesTheSymbolsOfItsRoundKeys) {
  // The six round keys share one plain bitmap; their meaning is printed on the face.
  const QImage face = render("CDPLYBMP");
  for (int left : {350, 382, 414, 446, 478, 510}) {
    int brightest = 0;
    for (int y = 57; y < 65; ++y)
      for (int x = left + 6; x < left + 15; ++x) brightest = std::max(brightest, qGray(face.pixel(x, y)));
    EXPECT_GT(brightest, 150) << "key at x " << left;
  }
}

TEST(SkinArtFaces, EveryFixedButtonSitsInAHoleOfItsFace) {
  const std::pair<skin::Module, const char*> faces[] = {{skin::Module::Mixer, "MIXERBMP"},
                                                        {skin::Module::Midi, "MIDIBMP"},
                                                        {skin::Module::Wave, "WAVEBMP"},
                                                        {skin::Module::Cd, "CDPLYBMP"}};
  for (const auto& [module, name] : faces) {
    const QImage face = render(name);
    for (const skin::ButtonPlace& b : skin::rackButtons()) {
      if (b.module != module || skin::movesWith3D(b) || b.command == 5000) continue;
      const QRect r = b.rect();
      EXPECT_LT(qGray(face.pixel(r.left() - 1, r.center().y())), 30) << name << " button " << b.command;
      EXPECT_LT(qGray(face.pixel(r.center().x(), r.top() - 1)), 30) << name << " button " << b.command;
    }
  }
}

TEST(SkinArtFaces, MenuSpotsArePaintedWhereTheyAreClicked) {
  // The MIDI menu key is a silver key painted on the face.
  EXPECT_GT(meanLuma(render("MIDIBMP").copy(300, 23, 32, 23)), 100.0);
  // The wave decks' menu spots carry a printed word.
  const QImage wave = render("WAVEBMP");
  for (QRect spot : {QRect(134, 30, 38, 16), QRect(195, 30, 38, 16)}) {
    int brightest = 0;
    for (int y = spot.top(); y < spot.top() + 9; ++y)
      for (int x = spot.left(); x <= spot.right(); ++x) brightest = std::max(brightest, qGray(wave.pixel(x, y)));
    EXPECT_GT(brightest, 180) << spot.left();
  }
}

TEST(SkinArtExtras, HandCursorPointsWithItsHotSpot) {
  ensureArtApp();
  const QImage cursor = skin::renderArt(*skin::findArt("275"));
  ASSERT_TRUE(cursor.hasAlphaChannel());
  const QPoint hot = skin::kHandCursorHotSpot;
  EXPECT_GT(qAlpha(cursor.pixel(hot)), 128) << "the finger tip is at the hot spot";
  EXPECT_EQ(qAlpha(cursor.pixel(hot.x(), 0)), 0) << "nothing above the finger tip";
  EXPECT_EQ(qAlpha(cursor.pixel(0, 31)), 0);
}

TEST(SkinArtButtons, DownFacesAreDarkerThanUpFaces) {
  for (const skin::ButtonPlace& b : skin::rackButtons()) {
    const QImage up = render(std::to_string(b.upBitmap));
    const QImage down = render(std::to_string(b.downBitmap));
    EXPECT_NE(up, down) << b.command;
    EXPECT_LT(meanLuma(down), meanLuma(up) - 5) << b.command;
  }
}

TEST(SkinArtButtons, RecordingFaceDiffersFromTheRecordButton) {
  EXPECT_NE(render("260"), render("171"));
  EXPECT_GT(meanLuma(render("259")), meanLuma(render("188")));
}

TEST(SkinArtGlyphs, DigitsAreDistinctAndDrawnOnBlack) {
  std::vector<QImage> glyphs;
  for (int id = 989; id <= 999; ++id) glyphs.push_back(render(std::to_string(id)));
  for (size_t i = 0; i < glyphs.size(); ++i) {
    EXPECT_TRUE(isBlack(glyphs[i], 0, 0));
    EXPECT_TRUE(isBlack(glyphs[i], 15, 22));
    for (size_t j = i + 1; j < glyphs.size(); ++j) EXPECT_NE(glyphs[i], glyphs[j]) << i << " " << j;
  }
}

TEST(SkinArtGlyphs, BlankIndicatorsAreBlackAndTheOthersAreNot) {
  for (const char* blank : {"139", "140", "141"}) {
    const QImage image = render(blank);
    EXPECT_EQ(meanLuma(image), 0.0) << blank;
  }
  for (const char* shown : {"128", "129", "125", "126", "127", "138"}) EXPECT_GT(meanLuma(render(shown)), 5.0) << shown;
  EXPECT_NE(render("125"), render("126"));
  EXPECT_NE(render("127"), render("138"));
}

TEST(SkinArtGlyphs, AnimationFramesAllDiffer) {
  for (int a = 237; a <= 244; ++a)
    for (int b = a + 1; b <= 244; ++b) EXPECT_NE(render(std::to_string(a)), render(std::to_string(b)));
  for (int a = 247; a <= 250; ++a)
    for (int b = a + 1; b <= 250; ++b) EXPECT_NE(render(std::to_string(a)), render(std::to_string(b)));
}

TEST(SkinArtRack, PicturesHaveTheRackHeightOfTheirLayout) {
  ensureArtApp();
  for (const skin::RackLayout& layout : skin::rackLayouts()) {
    const int height = 109 + (layout.midi ? 50 : 0) + (layout.wave ? 111 : 0) + (layout.cd ? 130 : 0);
    EXPECT_EQ(skin::rackPicture(layout).size(), QSize(577, height)) << layout.name;
  }
}

}  // namespace
