#include "decks/midi_display.h"

#include <algorithm>

#include "decks/deck_drawing.h"
#include "decks/deck_model.h"
#include "decks/deck_text.h"
#include "platform/ui/windows.h"
#include "resources/geometry.h"
#include "resources/ids/bitmaps.h"
#include "skin/layout.h"
#include "skin/paint.h"

namespace {

constexpr Rect kLcd = kMidiDeckFace.lcd;
constexpr int kHalf = kLcd.width / 2;
constexpr int kLineHeight = 13;
// The progress bar's inner box, in the right half of the first line.
constexpr int kBarLeft = kLcd.left + kHalf + 4;
constexpr int kBarWidth = kHalf - 8;
constexpr int kBarTop = kLcd.top + 4;
constexpr int kBarBottom = kBarTop + kLcd.height / 2 - 8;

int animation_frame = 7;  // 1-7: the running picture's frame shown last

bool shown() { return module_shown(Module::Midi) != 0; }

RECT line_box(int left, int right, int line) {
  const int top = midi_top + kLcd.top + line * kLineHeight;
  return {left, top, right, top + kLineHeight};
}

void draw_animation(HDC dc, WORD bitmap) {
  const Rect& a = kMidiDeckFace.animation;
  copy_skin_bitmap(dc, MAKEINTRESOURCEA(bitmap), a.left, midi_top + a.top, a.width, a.height);
}

}  // namespace

void reset_midi_display() { animation_frame = 7; }

void draw_midi_face() {
  if (!shown()) return;
  const Rect& d = kMidiDeckFace.display;
  const WORD face = midi_deck.info_view ? BMP_MIDI_FACE_INFO : BMP_MIDI_FACE_ANIMATION;
  with_window_dc([&](HDC dc) { copy_skin_bitmap(dc, MAKEINTRESOURCEA(face), d.left, midi_top + d.top, d.width, d.height); });
}

void draw_midi_static_text() {
  if (!shown() || !midi_deck.loaded()) return;
  with_window_dc([](HDC dc) {
    if (!midi_deck.info_view) {
      draw_animation(dc, BMP_MIDI_ANIMATION_STOPPED);
      return;
    }
    const int left = kLcd.left, middle = kLcd.left + kHalf / 2, right = kLcd.left + kHalf;
    // A long name starts at the left edge and is cut at the half's edge.
    const std::string name = midi_deck.file_name();
    const bool centred = name.size() <= kMidiCentredNameMax;
    lcd_text(dc, midi_font, kLcdYellow, centred ? TA_CENTER : TA_LEFT, line_box(left, right, 0), centred ? middle : left,
             name);
    lcd_text(dc, midi_font, kLcdYellow, TA_CENTER, line_box(left, right, 1), middle, midi_time_text(midi_deck.length_ms));
  });
}

void draw_midi_position(long ms) {
  if (!shown() || !midi_deck.loaded()) return;
  const int left = kLcd.left + kHalf, right = kLcd.left + kLcd.width;
  with_window_dc([&](HDC dc) {
    lcd_text(dc, midi_font, kLcdCyan, TA_CENTER, line_box(left, right, 1), (left + right) / 2, midi_time_text(ms));
    // The outline, then the filled and the empty part of the bar.
    HPEN pen = CreatePen(PS_SOLID, 1, kLcdCyan);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, kBarLeft - 1, midi_top + kBarTop - 1, kBarLeft + kBarWidth + 1, midi_top + kBarBottom + 1);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
    const unsigned long length = midi_deck.length_ms > 0 ? static_cast<unsigned long>(midi_deck.length_ms) : 0;
    const unsigned long at = ms < 0 ? 0 : std::min(static_cast<unsigned long>(ms), length);
    const int fill_end = kBarLeft + (length == 0 ? 0 : static_cast<int>(at * kBarWidth / length));
    fill_area(dc, kBarLeft, midi_top + kBarTop, fill_end, midi_top + kBarBottom, kLcdCyan);
    fill_area(dc, fill_end, midi_top + kBarTop, kBarLeft + kBarWidth, midi_top + kBarBottom, kLcdBlack);
  });
}

void refresh_midi_position() {
  if (!shown() || !midi_deck.loaded()) return;
  if (midi_deck.info_view) {
    draw_midi_position(read_position(midi_deck));
    return;
  }
  WORD frame = BMP_MIDI_ANIMATION_STOPPED;
  if (midi_deck.state != kStopped) {
    animation_frame = animation_frame % 7 + 1;
    frame = static_cast<WORD>(BMP_MIDI_ANIMATION_STOPPED + animation_frame);
  }
  with_window_dc([&](HDC dc) { draw_animation(dc, frame); });
}

void repaint_midi_module() {
  draw_midi_face();
  draw_midi_static_text();
  refresh_midi_position();
}
