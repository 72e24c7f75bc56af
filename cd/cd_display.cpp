#include "cd/cd_display.h"

#include <string>

#include "cd/cd_deck.h"
#include "cd/cd_titles.h"
#include "platform/ui/windows.h"
#include "resources/geometry.h"
#include "resources/ids/bitmaps.h"
#include "skin/layout.h"
#include "skin/paint.h"
#include "skin/rack_state.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kDashRequest = 88;
bool shows_playing = false;

// Draws with the main window's context, only while the CD panel is shown.
template <typename Draw>
void with_panel_dc(Draw draw) {
  if (!module_shown(Module::Cd) || main_window == nullptr) return;
  HDC dc = GetDC(main_window);
  draw(dc);
  ReleaseDC(main_window, dc);
}

void copy(HDC dc, WORD bitmap, const Rect& at) {
  copy_skin_bitmap(dc, MAKEINTRESOURCEA(bitmap), at.left, cd_top + at.top, at.width, at.height);
}

void copy_digit(HDC dc, WORD bitmap, int cell) {
  copy(dc, bitmap, {kCdDigitLefts[cell], kCdDigitTop, kCdDigitWidth, kCdDigitHeight});
}

void draw_text(HDC dc, const Rect& at, const std::string& text) {
  const RECT clip = {at.left, cd_top + at.top, at.left + at.width, cd_top + at.top + at.height};
  const int x = (GetTextAlign(dc) & TA_CENTER) == TA_CENTER ? at.left + at.width / 2 : at.left;
  ExtTextOutA(dc, x, clip.top, ETO_OPAQUE | ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

// The entry's title while the device plays or pauses, the disc's otherwise, none with the tray open.
const std::string& title_line_text() {
  static const std::string none;
  switch (device_mode()) {
    case MCI_MODE_PLAY:
    case MCI_MODE_PAUSE:
      return shown_track_title(current_entry());
    case MCI_MODE_OPEN:
      return none;
    default:
      return shown_titles().disc;
  }
}

}  // namespace

void show_digits(int a, int b, int c) {
  with_panel_dc([&](HDC dc) {
    if (a == kDashRequest && b == kDashRequest && c == kDashRequest) {
      for (int cell = 0; cell < 6; ++cell) copy_digit(dc, BMP_CD_DIGIT_DASH, cell);
      return;
    }
    const int pairs[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
      copy_digit(dc, static_cast<WORD>(BMP_CD_DIGIT_0 + pairs[i] / 10 % 10), 2 * i);
      copy_digit(dc, static_cast<WORD>(BMP_CD_DIGIT_0 + pairs[i] % 10), 2 * i + 1);
    }
  });
}

void show_dashes() { show_digits(kDashRequest, kDashRequest, kDashRequest); }

void show_position() {
  if (!cd.ready || !module_shown(Module::Cd)) return;
  const Position p = current_position();
  show_digits(p.track, p.minutes, p.seconds);
}

void draw_state_icon() {
  if (!module_shown(Module::Cd)) return;
  const DWORD mode = device_mode();
  const WORD bitmap = mode == MCI_MODE_PLAY ? BMP_CD_STATE_PLAY : cd.paused ? BMP_CD_STATE_PAUSE : BMP_CD_STATE_BLANK;
  shows_playing = bitmap == BMP_CD_STATE_PLAY;
  with_panel_dc([&](HDC dc) { copy(dc, bitmap, kCdStateIcon); });
}

bool state_icon_shows_playing() { return shows_playing; }

void draw_mode_indicator() {
  static constexpr WORD kFaces[] = {BMP_CD_MODE_BLANK, BMP_CD_MODE_RANDOM, BMP_CD_MODE_PROGRAM};
  with_panel_dc([&](HDC dc) { copy(dc, kFaces[cd.play_mode], kCdModeIndicator); });
}

void draw_repeat_indicator() {
  static constexpr WORD kFaces[] = {BMP_CD_REPEAT_BLANK, BMP_CD_REPEAT_ONE, BMP_CD_REPEAT_ALL};
  with_panel_dc([&](HDC dc) { copy(dc, kFaces[cd.repeat_mode], kCdRepeatIndicator); });
}

void draw_grid_and_title() {
  if (!module_shown(Module::Cd)) return;
  const std::string title = cd.ready ? title_line_text() : std::string();
  with_panel_dc([&](HDC dc) {
    const COLORREF old_text = GetTextColor(dc);
    const COLORREF old_back = SetBkColor(dc, kBlack);
    const UINT old_align = SetTextAlign(dc, TA_CENTER | TA_TOP);
    HGDIOBJ old_font = SelectObject(dc, cd_grid_font);

    const int n = list_length(*cd.current);
    const int highlighted = cd.index % kCdGridPage;
    int q = cd.index - highlighted;
    for (int k = 0; k < kCdGridPage; ++k, ++q) {
      SetTextColor(dc, k == highlighted ? kRed : kYellow);
      const std::string text = q < n ? std::to_string((*cd.current)[q]) : std::string();
      draw_text(dc, {kCdGridLefts[k % 4], kCdGridTops[k / 4], kCdGridCell, kCdGridCell}, text);
    }

    SetTextColor(dc, kYellow);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    SelectObject(dc, cd_title_font);
    draw_text(dc, kCdTitleLine, title);

    SelectObject(dc, old_font);
    SetTextColor(dc, old_text);
    SetBkColor(dc, old_back);
    SetTextAlign(dc, old_align);
  });
}

void refresh_cd_panel() {
  if (cd.ready) {
    show_position();
    draw_state_icon();
    draw_grid_and_title();
  } else {
    show_dashes();
  }
  draw_mode_indicator();
  draw_repeat_indicator();
}
