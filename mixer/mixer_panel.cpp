#include "mixer/mixer_panel.h"

#include <algorithm>
#include <iterator>

#include "app/rack_state.h"
#include "mixer/mixer_device.h"
#include "mixer/sound3d.h"
#include "platform/ui/windows.h"
#include "skin/buttons.h"
#include "skin/layout.h"
#include "skin/paint.h"

int selected_channel = 0;

namespace {

struct ChannelFace {
  WORD label_selected, label_unselected;
  int label_x, label_y, label_w, label_h;
  WORD lit, dark, lit_muted;
  int meter_x, meter_y, segment_w, segment_h;
  int right_offset;
};

constexpr ChannelFace kChannelFaces[kMixerChannels] = {
    {190, 189, 55, 91, 35, 9, 201, 202, 203, 57, 24, 13, 2, 18},   // master
    {192, 191, 103, 91, 22, 9, 204, 205, 206, 104, 24, 9, 2, 12},  // MIDI
    {194, 193, 139, 91, 23, 9, 204, 205, 206, 140, 24, 9, 2, 12},  // wave
    {196, 195, 181, 91, 11, 9, 204, 205, 206, 176, 24, 9, 2, 12},  // CD
    {198, 197, 211, 91, 23, 9, 204, 205, 206, 212, 24, 9, 2, 12},  // line
    {200, 199, 249, 91, 17, 9, 204, 205, 206, 253, 24, 9, 2, 12},  // microphone
};
constexpr int kSegments = 16;
constexpr int kSegmentPitch = 4;

// The switch column: y without and with the 3D row.
struct SwitchRow {
  WORD label;
  int label_x, label_y, label_y_3d, label_w, label_h;
  int lamp_y, lamp_y_3d;
};
enum SwitchRowIndex { kMidiRow, kWaveRow, kCdRow, kMuteRow, kSound3DRow };
constexpr SwitchRow kSwitchRows[] = {
    {277, 283, 24, 33, 22, 9, 27, 36},  // MIDI
    {278, 283, 42, 51, 23, 9, 45, 53},  // wave
    {279, 289, 60, 69, 11, 9, 63, 71},  // CD
    {280, 283, 78, 87, 23, 9, 81, 89},  // mute
    {276, 289, 15, 15, 11, 9, 17, 17},  // 3D, only with the unit
};
constexpr int kLampX = 307, kLampW = 4, kLampH = 7;
constexpr WORD kLampLit = 212, kLampUnlit = 210;
constexpr WORD kBalanceScale = 231;
constexpr int kScaleX = 427, kScaleY = 43, kScaleW = 46, kScaleH = 6;
constexpr int kMarkerCentre = 450, kMarkerReach = 22;

// Draws with the main window's context, taken and released around each drawing.
template <typename Draw>
void with_window_dc(Draw draw) {
  HDC dc = GetDC(main_window);
  draw(dc);
  ReleaseDC(main_window, dc);
}

void copy(HDC dc, WORD bitmap, int x, int y, int w, int h) { copy_skin_bitmap(dc, MAKEINTRESOURCEA(bitmap), x, mixer_top + y, w, h); }

}  // namespace

int meter_dark_segments(DWORD v, DWORD m, DWORD s) {
  int k = 0;
  if (v == m)
    k = 16;
  else if (m < v && v <= m + 2 * s)
    k = 15;
  else
    for (int j = 14; j >= 1; --j)
      if (m + (16 - j) * s < v && v <= m + (17 - j) * s) {
        k = j;
        break;
      }
  if (v > 16 * s) k = 0;
  return k;
}

namespace {

void draw_meter_side(HDC dc, const ChannelFace& face, int x, DWORD value, DWORD min, DWORD step, bool muted) {
  const int dark = meter_dark_segments(value, min, step);
  int y = face.meter_y;
  for (int i = 0; i < kSegments; ++i, y += kSegmentPitch) {
    const WORD bitmap = i < dark ? face.dark : (muted ? face.lit_muted : face.lit);
    copy(dc, bitmap, x, y, face.segment_w, face.segment_h);
  }
}

int switch_y(int without, int with) { return sound3d_present ? with : without; }

void draw_switch_labels(HDC dc) {
  const int rows = sound3d_present ? 5 : 4;
  for (int i = 0; i < rows; ++i) {
    const SwitchRow& r = kSwitchRows[i];
    copy(dc, r.label, r.label_x, switch_y(r.label_y, r.label_y_3d), r.label_w, r.label_h);
  }
}

LRESULT toggle_module(int& shown, WORD stop_command) {
  shown = !shown;
  if (!shown) SendMessageA(main_window, WM_COMMAND, stop_command, 0);
  compute_module_tops();
  SetWindowPos(main_window, nullptr, 0, 0, kWindowWidth, rack_height() + 2, SWP_NOMOVE | SWP_NOZORDER);
  relayout_rack_buttons();
  draw_lamps();
  return 0;
}

void change_selection(int channel) {
  draw_channel_label(selected_channel, false);
  selected_channel = channel;
  draw_channel_label(selected_channel, true);
  draw_lamps();
  draw_balance_marker();
}

}  // namespace

void draw_level_meter(int channel) {
  const ChannelFace& face = kChannelFaces[channel];
  const MixerChannel& ch = mixer_channels[channel];
  with_window_dc([&](HDC dc) {
    draw_meter_side(dc, face, face.meter_x, ch.value_left, ch.min_left, ch.step_left, ch.mute);
    if (ch.channels == 2)
      draw_meter_side(dc, face, face.meter_x + face.right_offset, ch.value_right, ch.min_right, ch.step_right, ch.mute);
  });
}

void draw_balance_marker() {
  with_window_dc([](HDC dc) {
    copy(dc, kBalanceScale, kScaleX, kScaleY, kScaleW, kScaleH);
    if (selected_channel < 0 || selected_channel >= kMixerChannels) return;
    const MixerChannel& ch = mixer_channels[selected_channel];
    const long d = ch.channels == 2 ? static_cast<long>(ch.value_right) - static_cast<long>(ch.value_left) : 0;
    const long range = std::max<long>(ch.max_left - ch.min_left, ch.max_right - ch.min_right);
    const int x = kMarkerCentre + (range == 0 ? 0 : static_cast<int>(kMarkerReach * d / range));
    const RECT marker = {x, mixer_top + 44, x + 1, mixer_top + 48};
    HBRUSH cyan = CreateSolidBrush(RGB(0, 255, 255));
    FillRect(dc, &marker, cyan);
    DeleteObject(cyan);
  });
}

void draw_lamps() {
  const bool lit[] = {midi_on == 1, wave_on == 1, cd_audio_on == 1, mixer_channels[selected_channel].mute == 1,
                      sound3d_on == 1};
  const int rows = sound3d_present ? 5 : 4;
  with_window_dc([&](HDC dc) {
    for (int i = 0; i < rows; ++i)
      copy(dc, lit[i] ? kLampLit : kLampUnlit, kLampX, switch_y(kSwitchRows[i].lamp_y, kSwitchRows[i].lamp_y_3d), kLampW,
           kLampH);
  });
}

void draw_channel_label(int channel, bool selected) {
  const ChannelFace& f = kChannelFaces[channel];
  with_window_dc([&](HDC dc) {
    copy(dc, selected ? f.label_selected : f.label_unselected, f.label_x, f.label_y, f.label_w, f.label_h);
  });
}

void paint_mixer_panel() {
  with_window_dc(draw_switch_labels);
  draw_lamps();
  draw_channel_label(selected_channel, true);
  for (int c = 0; c < kMixerChannels; ++c) draw_level_meter(c);
  draw_balance_marker();
}

LRESULT toggle_midi_module(HWND, UINT, WPARAM, LPARAM) { return toggle_module(midi_on, 6002); }
LRESULT toggle_wave_module(HWND, UINT, WPARAM, LPARAM) { return toggle_module(wave_on, 7002); }
LRESULT toggle_cd_module(HWND, UINT, WPARAM, LPARAM) { return toggle_module(cd_audio_on, 8002); }

LRESULT toggle_mute(HWND, UINT, WPARAM, LPARAM) {
  if (selected_channel < 0 || selected_channel >= kMixerChannels) return 0;
  MixerChannel& ch = mixer_channels[selected_channel];
  ch.mute = ch.mute ? 0 : 1;
  draw_lamps();
  write_mute(ch);
  draw_level_meter(selected_channel);
  return 0;
}

LRESULT volume_up(HWND, UINT, WPARAM, LPARAM) {
  volume_step(selected_channel, kStepUp);
  draw_balance_marker();
  return 0;
}

LRESULT volume_down(HWND, UINT, WPARAM, LPARAM) {
  volume_step(selected_channel, kStepDown);
  draw_balance_marker();
  return 0;
}

LRESULT select_previous_channel(HWND, UINT, WPARAM, LPARAM) {
  change_selection(selected_channel == 0 ? kMixerChannels - 1 : selected_channel - 1);
  return 0;
}

LRESULT select_next_channel(HWND, UINT, WPARAM, LPARAM) {
  change_selection(selected_channel == kMixerChannels - 1 ? 0 : selected_channel + 1);
  return 0;
}

LRESULT select_channel(HWND, UINT, WPARAM, LPARAM lparam) {
  // Only the six columns post this; anything else is not a channel.
  if (lparam >= 0 && lparam < kMixerChannels) change_selection(static_cast<int>(lparam));
  return 0;
}

LRESULT hold_balance_left(HWND, UINT, WPARAM, LPARAM) {
  balance_left();
  return 0;
}

LRESULT hold_balance_right(HWND, UINT, WPARAM, LPARAM) {
  balance_right();
  return 0;
}

LRESULT on_mixer_control_change(HWND, UINT, WPARAM, LPARAM lparam) {
  const DWORD control = static_cast<DWORD>(lparam);
  if (sound3d_present && control == sound3d_slot.control.dwControlID) {
    sound3d_on = read_switch(sound3d_slot);
    draw_lamps();
    return 0;
  }
  const ChannelControl found = find_channel_by_control(control);
  if (found.channel < 0) return 0;
  MixerChannel& ch = mixer_channels[found.channel];
  if (found.is_volume) {
    read_volume(ch);
    draw_level_meter(found.channel);
    draw_balance_marker();
  } else {
    read_mute(ch);
    draw_level_meter(found.channel);
    draw_lamps();
  }
  return 0;
}
