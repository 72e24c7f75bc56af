#include "decks/wave_display.h"

#include <algorithm>

#include "decks/deck_drawing.h"
#include "decks/deck_model.h"
#include "decks/deck_text.h"
#include "decks/record_face.h"
#include "platform/ui/windows.h"
#include "resources/geometry.h"
#include "resources/ids/bitmaps.h"
#include "skin/layout.h"
#include "skin/paint.h"

namespace {

constexpr int kLineHeight = 14;
constexpr int kReelHalf = 30;      // the part of a reel picture at a deck's outer edge
constexpr int kDeck1ReelAt = 52;   // where deck 1's whole reel starts in its LCD
constexpr int kDeck2ReelAt = 15;   // and deck 2's

int reel_frame = 0;   // 0-3, shared by both decks
int blink_phase = 0;  // 0/1, flipped by every lamp drawing

bool shown() { return module_shown(Module::Wave) != 0; }

const WaveDeckFace& face(int number) { return kWaveDeckFaces[number == 2 ? 1 : 0]; }

RECT lcd_rect(int number) {
  const Rect& r = face(number).lcd;
  return {r.left, wave_top + r.top, r.left + r.width, wave_top + r.top + r.height};
}

RECT line_box(const RECT& lcd, int left, int right, int line) {
  return {left, lcd.top + line * kLineHeight, right, lcd.top + (line + 1) * kLineHeight};
}

void reel_step(HDC dc, int number) {
  reel_frame = (reel_frame + 1) % 4;
  const WORD reel = static_cast<WORD>(BMP_REEL_FIRST + reel_frame);
  const RECT lcd = lcd_rect(number);
  const int x = lcd.left, y = lcd.top, w = lcd.right - lcd.left, h = lcd.bottom - lcd.top;
  // Each copy stays inside the LCD, whatever the reel picture's size.
  if (number == 1) {
    copy_skin_part(dc, reel, x, y, kReelHalf, h, kReelHalf - 1, 0);
    copy_skin_part(dc, reel, x + kDeck1ReelAt, y, w - kDeck1ReelAt, h, 0, 0);
  } else {
    copy_skin_part(dc, reel, x + kDeck2ReelAt, y, w - kDeck2ReelAt, h, 0, 0);
    copy_skin_part(dc, reel, x + w - kReelHalf, y, kReelHalf, h, 0, 0);
  }
}

void draw_information(HDC dc, const Deck& deck) {
  const RECT lcd = lcd_rect(deck.number);
  const bool left_deck = deck.number == 1;
  const UINT align = left_deck ? TA_LEFT : TA_RIGHT;
  const int edge = left_deck ? lcd.left : lcd.right;
  lcd_text(dc, wave_font, kLcdYellow, align, line_box(lcd, lcd.left, lcd.right, 0), edge, deck.file_name());
  lcd_text(dc, wave_font, kLcdYellow, align, line_box(lcd, lcd.left, lcd.right, 1), edge, wave_format_text(deck.format));
  // The length in the deck's outer half, the position in its inner half.
  const int half = (lcd.left + lcd.right) / 2;
  const RECT outer = left_deck ? line_box(lcd, lcd.left, half, 2) : line_box(lcd, half, lcd.right, 2);
  lcd_text(dc, wave_font, kLcdYellow, align, outer, edge, wave_length_text(deck.length_ms));
}

void draw_position_text(HDC dc, const Deck& deck, long ms) {
  const RECT lcd = lcd_rect(deck.number);
  const int half = (lcd.left + lcd.right) / 2;
  if (deck.number == 1)
    lcd_text(dc, wave_font, kLcdCyan, TA_RIGHT, line_box(lcd, half, lcd.right, 2), lcd.right, wave_position_text(ms));
  else
    lcd_text(dc, wave_font, kLcdCyan, TA_LEFT, line_box(lcd, lcd.left, half, 2), lcd.left, wave_position_text(ms));
}

void draw_bar(HDC dc, const Deck& deck, long ms) {
  const Rect& b = face(deck.number).bar;
  const int top = wave_top + b.top, bottom = top + b.height;
  const bool recording = deck.state == kRecording;
  int fill_end = b.left;
  if (deck.length_ms > 0 && !recording) {
    const unsigned long length = static_cast<unsigned long>(deck.length_ms);
    const unsigned long at = ms < 0 ? 0 : std::min(static_cast<unsigned long>(ms), length);
    fill_end = b.left + static_cast<int>(at * static_cast<unsigned long>(b.width) / length);
  }
  fill_area(dc, b.left, top, fill_end, bottom, kLcdCyan);
  fill_area(dc, fill_end, top, b.left + b.width, bottom, recording ? kLcdRed : kLcdBlack);
}

void draw_lamp(HDC dc, int number, WORD bitmap) {
  const Rect& l = face(number).lamp;
  copy_skin_bitmap(dc, MAKEINTRESOURCEA(bitmap), l.left, wave_top + l.top, l.width, l.height);
}

}  // namespace

void reset_wave_display() {
  reel_frame = 0;
  blink_phase = 0;
}

void read_wave_information(int number) {
  Deck& deck = wave_deck(number);
  deck.format.channels = static_cast<int>(deck_status(deck, "channels"));
  deck.format.samples_per_second = static_cast<int>(deck_status(deck, "samplespersec"));
  deck.format.bytes_per_second = static_cast<int>(deck_status(deck, "bytespersec"));
  deck.format.bits_per_sample = static_cast<int>(deck_status(deck, "bitspersample"));
  read_length(deck);
}

void draw_wave_lcd(int number) {
  const Deck& deck = wave_deck(number);
  if (!shown() || !deck.loaded()) return;
  with_window_dc([&](HDC dc) {
    if (deck.info_view)
      draw_information(dc, deck);
    else
      reel_step(dc, number);
  });
}

void refresh_wave_position(int number) {
  const Deck& deck = wave_deck(number);
  if (!shown() || !deck.loaded()) return;
  const long ms = read_position(deck);
  with_window_dc([&](HDC dc) {
    if (deck.info_view)
      draw_position_text(dc, deck, ms);
    else
      reel_step(dc, number);
    draw_bar(dc, deck, ms);
  });
}

void draw_deck_lamps() {
  if (!shown()) return;
  blink_phase = !blink_phase;
  with_window_dc([](HDC dc) {
    draw_lamp(dc, active_wave_deck, BMP_DECK_LAMP_ACTIVE);
    draw_lamp(dc, active_wave_deck == 1 ? 2 : 1, BMP_DECK_LAMP_OTHER);
    if (new_recording_pending && blink_phase) draw_lamp(dc, 2, BMP_DECK_LAMP_BLINK);
  });
}

void blank_wave_lcd(int number) {
  if (!shown()) return;
  const RECT lcd = lcd_rect(number);
  with_window_dc([&](HDC dc) { fill_area(dc, lcd.left, lcd.top, lcd.right, lcd.bottom, kLcdBlack); });
}

void blank_wave_deck(int number) {
  if (!shown()) return;
  blank_wave_lcd(number);
  const Rect& b = face(number).bar;
  with_window_dc([&](HDC dc) { fill_area(dc, b.left, wave_top + b.top, b.left + b.width, wave_top + b.top + b.height, kLcdBlack); });
}

void repaint_wave_module() {
  if (!shown()) return;
  draw_record_button_face();
  draw_deck_lamps();
  draw_wave_lcd(1);
  draw_wave_lcd(2);
  refresh_wave_position(1);
  refresh_wave_position(2);
}
