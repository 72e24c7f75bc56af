// The display texts: times with and without hours, and the wave format line.
#include <gtest/gtest.h>

#include "decks/deck_text.h"

TEST(DeckText, TimesKeepMinutesForWavesAndHoursForMidi) {
  EXPECT_EQ(wave_length_text(75 * 60000), "75:00.000");
  EXPECT_EQ(wave_length_text(61999), "01:01.999");
  EXPECT_EQ(wave_position_text(75 * 60000 + 59999), "75:59");
  EXPECT_EQ(midi_time_text(75 * 60000 + 5000), "01:15:05");
  EXPECT_EQ(midi_time_text(-1), "00:00:00");
}

TEST(DeckText, FormatLinePadsTheRate) {
  EXPECT_EQ(wave_format_text({1, 8, 11025, 11025}), "Mono 11.025KHz 8-bits");
  EXPECT_EQ(wave_format_text({1, 8, 8000, 8000}), "Mono  8.000KHz 8-bits");
  EXPECT_EQ(wave_format_text({2, 16, 176400, 44100}), "Stereo 44.100KHz 16-bits");
}
