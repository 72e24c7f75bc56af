#include "mixer/mixer_panel.h"

#include <algorithm>
#include <iterator>

#include "mixer/mixer_channels.h"
#include "mixer/sound3d.h"
#include "platform/ui/windows.h"
#include "resources/geometry.h"
#include "resources/ids/bitmaps.h"
#include "resources/ids/commands.h"
#include "skin/buttons.h"
#include "skin/layout.h"
#include "skin/paint.h"
#include "skin/rack_state.h"

int selected_channel = 0;

namespace {

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
  int y = face.meter_top;
  for (int i = 0; i < kMeterSegments; ++i, y += kSegmentPitch) {
    const WORD bitmap = i < dark ? face.dark : (muted ? face.lit_muted : face.lit);
    copy(dc, bitmap, x, y, face.segment_width, face.segment_height);
  }
}

int switch_y(int without, int with) { return sound3d_present ? with : without; }

void draw_switch_labels(HDC dc) {
  const int rows = sound3d_present ? kSwitch3D + 1 : kSwitch3D;
  for (int i = 0; i < rows; ++i) {
    const SwitchRow& r = kSwitchRows[i];
    copy(dc, r.label, r.label_left, switch_y(r.label_top, r.label_top_3d), r.label_width, r.label_height);
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
    draw_meter_side(dc, face, face.meter_left, ch.value_left, ch.min_left, ch.step_left, ch.mute);
    if (ch.channels == 2)
      draw_meter_side(dc, face, face.meter_left + face.right_offset, ch.value_right, ch.min_right, ch.step_right, ch.mute);
  });
}

void draw_balance_marker() {
  with_window_dc([](HDC dc) {
    copy(dc, BMP_BALANCE_SCALE, kBalanceScale.left, kBalanceScale.top, kBalanceScale.width, kBalanceScale.height);
    if (selected_channel < 0 || selected_channel >= kMixerChannels) return;
    const MixerChannel& ch = mixer_channels[selected_channel];
    const long d = ch.channels == 2 ? static_cast<long>(ch.value_right) - static_cast<long>(ch.value_left) : 0;
    const long range = std::max<long>(ch.max_left - ch.min_left, ch.max_right - ch.min_right);
    const int x = kBalanceMarkerCentre + (range == 0 ? 0 : static_cast<int>(kBalanceMarkerReach * d / range));
    const RECT marker = {x, mixer_top + kBalanceMarkerTop, x + 1, mixer_top + kBalanceMarkerBottom};
    HBRUSH cyan = CreateSolidBrush(RGB(0, 255, 255));
    FillRect(dc, &marker, cyan);
    DeleteObject(cyan);
  });
}

void draw_lamps() {
  const bool lit[] = {midi_on == 1, wave_on == 1, cd_audio_on == 1, mixer_channels[selected_channel].mute == 1,
                      sound3d_on == 1};
  const int rows = sound3d_present ? kSwitch3D + 1 : kSwitch3D;
  with_window_dc([&](HDC dc) {
    for (int i = 0; i < rows; ++i)
      copy(dc, lit[i] ? BMP_SWITCH_LAMP_ON : BMP_SWITCH_LAMP_OFF, kSwitchLampLeft,
           switch_y(kSwitchRows[i].lamp_top, kSwitchRows[i].lamp_top_3d), kSwitchLampWidth, kSwitchLampHeight);
  });
}

void draw_channel_label(int channel, bool selected) {
  const ChannelFace& f = kChannelFaces[channel];
  with_window_dc([&](HDC dc) {
    copy(dc, selected ? f.label_selected : f.label_unselected, f.label.left, f.label.top, f.label.width, f.label.height);
  });
}

void paint_mixer_panel() {
  with_window_dc(draw_switch_labels);
  draw_lamps();
  draw_channel_label(selected_channel, true);
  for (int c = 0; c < kMixerChannels; ++c) draw_level_meter(c);
  draw_balance_marker();
}

LRESULT toggle_midi_module(HWND, UINT, WPARAM, LPARAM) { return toggle_module(midi_on, CMD_MIDI_STOP); }
LRESULT toggle_wave_module(HWND, UINT, WPARAM, LPARAM) { return toggle_module(wave_on, CMD_WAVE_STOP); }
LRESULT toggle_cd_module(HWND, UINT, WPARAM, LPARAM) { return toggle_module(cd_audio_on, CMD_CD_STOP); }

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
