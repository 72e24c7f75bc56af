#include "mixer/mixer_channels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "mixer/mixer_panel.h"
#include "mixer/sound3d.h"
#include "skin/rack_state.h"

MixerChannel mixer_channels[kMixerChannels];
HMIXER mixer_handle = nullptr;
ControlSlot sound3d_slot;

namespace {

constexpr DWORD kComponentTypes[kMixerChannels] = {
    MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,    MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER,
    MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT,     MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC,
    MIXERLINE_COMPONENTTYPE_SRC_LINE,        MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE,
};

ControlSlot slots[2 * kMixerChannels];

HMIXEROBJ mixer_object() { return reinterpret_cast<HMIXEROBJ>(mixer_handle); }

// Fills a details record for one slot; values holds at most two channels.
MIXERCONTROLDETAILS details_for(const ControlSlot& slot, DWORD channels, DWORD* values) {
  MIXERCONTROLDETAILS d = {};
  d.cbStruct = sizeof d;
  d.dwControlID = slot.control.dwControlID;
  d.cChannels = channels;
  d.cMultipleItems = slot.control.cMultipleItems;
  d.cbDetails = sizeof(DWORD);
  d.paDetails = values;
  return d;
}

// The model holds two values; a line with more channels is addressed as one.
DWORD exchanged_channels(const ControlSlot& slot) { return slot.channels == 2 ? 2 : 1; }

void discover_channel(int c) {
  MIXERLINEA line = {};
  line.cbStruct = sizeof line;
  line.dwComponentType = kComponentTypes[c];
  if (mixerGetLineInfoA(mixer_object(), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
    return;
  if (line.cControls == 0) return;
  std::vector<MIXERCONTROLA> controls(line.cControls);
  MIXERLINECONTROLSA request = {};
  request.cbStruct = sizeof request;
  request.dwLineID = line.dwLineID;
  request.cControls = line.cControls;
  request.cbmxctrl = sizeof(MIXERCONTROLA);
  request.pamxctrl = controls.data();
  if (mixerGetLineControlsA(mixer_object(), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) != MMSYSERR_NOERROR)
    return;
  bool volume_found = false, mute_found = false, switch_found = false;
  for (const MIXERCONTROLA& control : controls) {
    if (!volume_found && control.dwControlType == MIXERCONTROL_CONTROLTYPE_VOLUME) {
      slots[2 * c] = {control, line.cChannels};
      volume_found = true;
    }
    if (!mute_found && control.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE) {
      slots[2 * c + 1] = {control, line.cChannels};
      mute_found = true;
    }
    if (c == kMaster && !switch_found && control.dwControlType == MIXERCONTROL_CONTROLTYPE_LOUDNESS) {
      sound3d_slot = {control, line.cChannels};
      switch_found = true;
    }
  }
}

void init_channel(int c) {
  MixerChannel& ch = mixer_channels[c];
  const ControlSlot& volume = slots[2 * c];
  ch.volume_slot = 2 * c;
  ch.mute_slot = 2 * c + 1;
  ch.channels = static_cast<LONG>(volume.channels);
  ch.max_left = ch.max_right = volume.control.Bounds.dwMaximum;
  ch.min_left = ch.min_right = volume.control.Bounds.dwMinimum;
  ch.segments = 16;
  ch.step_left = ch.step_right = (ch.max_left - ch.min_left) / ch.segments;
  read_mute(ch);
  read_volume(ch);
}

void reset_channels() {
  for (int c = 0; c < kMixerChannels; ++c) {
    mixer_channels[c] = {0, c == kMicChannel ? 1 : 2, 65535, 65535, 0, 0, 65535, 65535, 16, 4096, 4096, 2 * c, 2 * c + 1};
  }
}

// One step up towards a maximum or down towards a minimum, stopping at that bound.
DWORD stepped(DWORD value, DWORD step, DWORD bound, int direction) {
  if (direction == kStepUp) return bound - value < step ? bound : value + step;
  return value - bound < step ? bound : value - step;
}

}  // namespace

int mixer_startup() {
  reset_channels();
  if (mixerGetNumDevs() == 0) return 0;
  UINT id = 0;
  mixerGetID(nullptr, &id, 0);
  if (mixerOpen(&mixer_handle, id, reinterpret_cast<DWORD_PTR>(main_window), 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
    mixer_handle = nullptr;
    return 0;
  }
  std::memset(slots, 0, sizeof slots);
  std::memset(&sound3d_slot, 0, sizeof sound3d_slot);
  for (int c = 0; c < kMixerChannels; ++c) discover_channel(c);
  if (sound3d_slot.control.dwControlType != MIXERCONTROL_CONTROLTYPE_LOUDNESS) sound3d_present = 0;
  for (int c = 0; c < kMixerChannels; ++c) init_channel(c);
  if (sound3d_present) sound3d_on = read_switch(sound3d_slot);
  return 1;
}

void mixer_shutdown() {
  if (mixer_handle != nullptr) mixerClose(mixer_handle);
  mixer_handle = nullptr;
  std::memset(slots, 0, sizeof slots);
}

void read_volume(MixerChannel& ch) {
  const ControlSlot& slot = slots[ch.volume_slot];
  DWORD values[2] = {ch.value_left, ch.value_right};
  MIXERCONTROLDETAILS d = details_for(slot, exchanged_channels(slot), values);
  // A failed read keeps the values the record already holds.
  if (mixerGetControlDetailsA(mixer_object(), &d, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
    return;
  ch.value_left = values[0];
  ch.value_right = exchanged_channels(slot) == 2 ? values[1] : values[0];
}

void write_volume(const MixerChannel& ch) {
  const ControlSlot& slot = slots[ch.volume_slot];
  DWORD values[2] = {ch.value_left, ch.value_right};
  MIXERCONTROLDETAILS d = details_for(slot, exchanged_channels(slot), values);
  mixerSetControlDetails(mixer_object(), &d, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

int read_switch(const ControlSlot& slot) {
  DWORD value = 0;
  MIXERCONTROLDETAILS d = details_for(slot, 1, &value);
  if (mixerGetControlDetailsA(mixer_object(), &d, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
    return 0;
  return value == 1 ? 1 : 0;
}

void write_switch(const ControlSlot& slot, int on) {
  DWORD value = on ? 1 : 0;
  MIXERCONTROLDETAILS d = details_for(slot, 1, &value);
  mixerSetControlDetails(mixer_object(), &d, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

void read_mute(MixerChannel& ch) { ch.mute = static_cast<DWORD>(read_switch(slots[ch.mute_slot])); }
void write_mute(const MixerChannel& ch) { write_switch(slots[ch.mute_slot], static_cast<int>(ch.mute)); }

void volume_step(int channel, int direction) {
  MixerChannel& ch = mixer_channels[channel];
  const bool stereo = ch.channels != 1;
  if (ch.value_left > ch.max_left) ch.value_left = ch.max_left;
  if (stereo && ch.value_right > ch.max_right) ch.value_right = ch.max_right;
  if (direction == kStepUp) {
    if (ch.value_left == ch.max_left || (stereo && ch.value_right == ch.max_right)) return;
    ch.value_left = stepped(ch.value_left, ch.step_left, ch.max_left, kStepUp);
    if (stereo) ch.value_right = stepped(ch.value_right, ch.step_right, ch.max_right, kStepUp);
  } else {
    if (ch.value_left == ch.min_left || (stereo && ch.value_right == ch.min_right)) return;
    ch.value_left = stepped(ch.value_left, ch.step_left, ch.min_left, kStepDown);
    if (stereo) ch.value_right = stepped(ch.value_right, ch.step_right, ch.min_right, kStepDown);
  }
  write_volume(ch);
  draw_level_meter(channel);
}

namespace {

// A side's value as a fraction of its range, and back.
double side_fraction(DWORD value, DWORD min, DWORD max) {
  if (max <= min) return 0.0;
  return std::clamp((static_cast<double>(value) - min) / (max - min), 0.0, 1.0);
}
DWORD side_value(double fraction, DWORD min, DWORD max) {
  return min + static_cast<DWORD>(std::lround(std::clamp(fraction, 0.0, 1.0) * (max - min)));
}

bool master_turnable() {
  const MixerChannel& ch = mixer_channels[kMaster];
  return mixer_handle != nullptr && ch.max_left > ch.min_left;
}

}  // namespace

double master_volume() {
  if (!master_turnable()) return 1.0;
  const MixerChannel& ch = mixer_channels[kMaster];
  const double left = side_fraction(ch.value_left, ch.min_left, ch.max_left);
  if (ch.channels == 1) return left;
  return std::max(left, side_fraction(ch.value_right, ch.min_right, ch.max_right));
}

void set_master_volume(double level) {
  if (!master_turnable()) return;
  MixerChannel& ch = mixer_channels[kMaster];
  level = std::clamp(level, 0.0, 1.0);
  const double louder = master_volume();
  // Both sides scale alike, so the balance stays; from silence they start level.
  const auto scaled = [&](DWORD value, DWORD min, DWORD max) {
    const double fraction = louder > 0.0 ? side_fraction(value, min, max) * level / louder : level;
    return side_value(fraction, min, max);
  };
  ch.value_left = scaled(ch.value_left, ch.min_left, ch.max_left);
  if (ch.channels != 1) ch.value_right = scaled(ch.value_right, ch.min_right, ch.max_right);
  write_volume(ch);
  draw_level_meter(kMaster);
}

namespace {

// Shifts the selected channel's balance: raise the quieter side, else lower the other.
void balance_towards(bool left) {
  if (selected_channel < 0 || selected_channel >= kMixerChannels) return;
  MixerChannel& ch = mixer_channels[selected_channel];
  if (ch.channels == 1) return;
  const DWORD dl = ch.value_left - ch.min_left;
  const DWORD dr = ch.value_right - ch.min_right;
  DWORD& near_value = left ? ch.value_left : ch.value_right;
  DWORD& far_value = left ? ch.value_right : ch.value_left;
  const bool raise = left ? dl < dr : dl > dr;
  if (raise) {
    near_value = stepped(near_value, left ? ch.step_left : ch.step_right, left ? ch.max_left : ch.max_right, kStepUp);
  } else {
    if (far_value == 0) return;
    far_value = stepped(far_value, left ? ch.step_right : ch.step_left, left ? ch.min_right : ch.min_left, kStepDown);
  }
  write_volume(ch);
  draw_balance_marker();
  draw_level_meter(selected_channel);
}

}  // namespace

void balance_left() { balance_towards(true); }
void balance_right() { balance_towards(false); }

ChannelControl find_channel_by_control(DWORD control_id) {
  for (int c = 0; c < kMixerChannels; ++c) {
    if (slots[mixer_channels[c].volume_slot].control.dwControlID == control_id) return {c, true};
    if (slots[mixer_channels[c].mute_slot].control.dwControlID == control_id) return {c, false};
  }
  return {-1, false};
}
