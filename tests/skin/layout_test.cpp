// Module tops, hit areas and button placement for each combination of shown modules.
#include <gtest/gtest.h>

#include "app/hit_test.h"
#include "skin/buttons.h"
#include "skin/layout.h"
#include "skin/rack_state.h"

namespace {

void show(int midi, int wave, int cd) {
  midi_on = midi;
  wave_on = wave;
  cd_audio_on = cd;
  compute_module_tops();
}

LPARAM at(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

}  // namespace

TEST(Layout, TopsAndHeightsOfTheFourLayouts) {
  show(1, 1, 1);
  EXPECT_EQ(mixer_top, 0);
  EXPECT_EQ(midi_top, 109);
  EXPECT_EQ(wave_top, 159);
  EXPECT_EQ(cd_top, 270);
  EXPECT_EQ(rack_height(), 400);

  show(0, 0, 1);
  EXPECT_EQ(cd_top, 109);
  EXPECT_EQ(rack_bottom, 239);

  show(0, 1, 1);
  EXPECT_EQ(wave_top, 109);
  EXPECT_EQ(cd_top, 220);
  EXPECT_EQ(rack_bottom, 350);

  show(0, 0, 0);
  EXPECT_EQ(rack_height(), 109);
  show(1, 1, 1);
}

TEST(HitTest, BordersAreStrict) {
  show(1, 1, 1);
  EXPECT_EQ(hit_test(at(56, 25)).command, 5012);
  EXPECT_EQ(hit_test(at(56, 25)).lparam, 0);
  EXPECT_EQ(hit_test(at(55, 25)).command, 0);
  EXPECT_EQ(hit_test(at(56, 24)).command, 0);
  EXPECT_EQ(hit_test(at(89, 99)).command, 5012);
  EXPECT_EQ(hit_test(at(90, 50)).command, 0);
  EXPECT_EQ(hit_test(at(260, 50)).lparam, 5);
}

TEST(HitTest, AreasFollowTheirModuleAndVanishWhenHidden) {
  show(1, 1, 1);
  // The MIDI display at MIDI top 109; the deck 1 display at wave top 159.
  EXPECT_EQ(hit_test(at(100, 109 + 20)).command, 6009);
  EXPECT_EQ(hit_test(at(100, 159 + 60)).command, 7023);
  show(0, 1, 1);
  // The same spot now lies on the wave face, above its display: nothing to hit.
  EXPECT_EQ(hit_test(at(100, 109 + 20)).command, 0);
  EXPECT_EQ(hit_test(at(100, 109 + 60)).command, 7023);
  show(0, 0, 1);
  EXPECT_EQ(hit_test(at(100, 109 + 60)).command, 0);
  show(1, 1, 1);
}

TEST(Buttons, FaceTableHoldsEveryButtonOnce) {
  int count = 0;
  for (int id = 4990; id < 8100; ++id)
    if (find_button(static_cast<WORD>(id))) ++count;
  EXPECT_EQ(count, 44);
  const ButtonRow* shuffle = find_button(8013);
  ASSERT_NE(shuffle, nullptr);
  EXPECT_EQ(shuffle->up, 135);
  EXPECT_EQ(shuffle->down, 134);
  EXPECT_EQ(find_button(4999)->width, 28);
}
