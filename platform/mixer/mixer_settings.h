#pragma once
// Control values kept across runs in the platform settings: one key per control
// ("MixerWaveVolume" = "65535,65535", "MixerMicVolume" = "40000",
// "MixerWaveMute" = "0", "Mixer3D" = "1").
#include <optional>
#include <string>
#include <string_view>

#include "platform/mixer/mixer_layout.h"

namespace mixer {

struct ControlValues {
  DWORD v[2];
};

// Full volume, not muted, 3D off.
ControlValues default_values(const ControlRow& control);
// The stored values, or the defaults when the key is missing or unreadable.
ControlValues load_values(const ControlRow& control);
void save_values(const ControlRow& control, const ControlValues& values);

std::string format_values(const ControlRow& control, const ControlValues& values);
// Exactly value_count(control) decimal numbers separated by commas, each within
// the control's bounds; anything else is rejected.
std::optional<ControlValues> parse_values(const ControlRow& control, std::string_view text);

DWORD maximum_of(const ControlRow& control);

}  // namespace mixer
