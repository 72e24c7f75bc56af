// What the displays show: MIDI names centred up to 20 characters, the wave
// information lines of a small mono file.
#include "deck_fixture.h"
#include "decks/deck_text.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "skin/layout.h"
#include "skin/rack_state.h"

namespace {

// The leftmost and rightmost yellow columns of the MIDI display's first line.
std::pair<int, int> name_extent() {
  const QImage image = ui_test::client_image(main_window);
  const Rect& lcd = kMidiDeckFace.lcd;
  int first = -1, last = -1;
  for (int x = lcd.left; x < lcd.left + lcd.width; ++x)
    for (int y = midi_top + lcd.top; y < midi_top + lcd.top + 13; ++y)
      if (qRed(image.pixel(x, y)) > 150 && qGreen(image.pixel(x, y)) > 150 && qBlue(image.pixel(x, y)) < 90) {
        if (first < 0) first = x;
        last = x;
      }
  return {first, last};
}

}  // namespace

TEST_F(DeckTest, MidiNamesUpTo20CharactersAreCentredLongerOnesStartLeftAndAreCut) {
  const std::string twenty = midi("abcdefghijklmnop.mid"), longer = midi("abcdefghijklmnopq.mid");
  constexpr int kLeft = 45, kMiddle = 45 + 56, kHalfEnd = 45 + 112;
  run_rack([&] {
    command(CMD_MIDI_DISPLAY);
    load(midi_deck, twenty);
    auto [first, last] = name_extent();
    EXPECT_GT(first, kLeft + 2);
    EXPECT_NEAR((first + last) / 2.0, kMiddle, 3);
    load(midi_deck, longer);
    std::tie(first, last) = name_extent();
    EXPECT_LE(first, kLeft + 2);
    EXPECT_LT(last, kHalfEnd);
    close_rack();
  });
}

TEST_F(DeckTest, AMonoEightBitFileShowsItsFormat) {
  const std::string small = wav("voice.wav", 0.5, 11025, 1, 8);
  run_rack([&] {
    Deck& deck = wave_deck(2);
    command(CMD_TAPE2_DISPLAY);
    load(deck, small);
    EXPECT_EQ(deck.format.channels, 1);
    EXPECT_EQ(deck.format.samples_per_second, 11025);
    EXPECT_EQ(deck.format.bytes_per_second, 11025);
    EXPECT_EQ(deck.format.bits_per_sample, 8);
    EXPECT_EQ(wave_format_text(deck.format), "Mono 11.025KHz 8-bits");
    EXPECT_EQ(deck.length_ms, 500);
    // Three yellow lines, right-aligned on deck 2.
    const Rect& lcd = kWaveDeckFaces[1].lcd;
    for (int line = 0; line < 3; ++line)
      EXPECT_GT(count_pixels(Module::Wave, {lcd.left, lcd.top + 14 * line, lcd.width, 14}, kYellow), 0) << line;
    EXPECT_EQ(active_wave_deck, 2);
    close_rack();
  });
}
