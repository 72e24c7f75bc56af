#include "platform/mixer/mixer_settings.h"

#include <charconv>

#include "platform/settings.h"

namespace mixer {

DWORD maximum_of(const ControlRow& control) { return control.kind == ControlKind::Volume ? kVolumeMaximum : 1; }

ControlValues default_values(const ControlRow& control) {
  const DWORD v = control.kind == ControlKind::Volume ? kVolumeMaximum : 0;
  return {{v, v}};
}

std::string format_values(const ControlRow& control, const ControlValues& values) {
  std::string text = std::to_string(values.v[0]);
  if (value_count(control) > 1) {
    text.push_back(',');
    text.append(std::to_string(values.v[1]));
  }
  return text;
}

std::optional<ControlValues> parse_values(const ControlRow& control, std::string_view text) {
  const DWORD count = value_count(control);
  ControlValues values{{0, 0}};
  const char* p = text.data();
  const char* end = text.data() + text.size();
  for (DWORD i = 0; i < count; ++i) {
    if (i > 0) {
      if (p == end || *p != ',') return std::nullopt;
      ++p;
    }
    DWORD v = 0;
    const auto [next, ec] = std::from_chars(p, end, v);
    if (ec != std::errc() || v > maximum_of(control)) return std::nullopt;
    values.v[i] = v;
    p = next;
  }
  if (p != end) return std::nullopt;
  if (count == 1) values.v[1] = values.v[0];
  return values;
}

ControlValues load_values(const ControlRow& control) {
  const std::string stored = platform_setting(control.setting_key, nullptr);
  return parse_values(control, stored).value_or(default_values(control));
}

void save_values(const ControlRow& control, const ControlValues& values) {
  platform_setting_write(control.setting_key, format_values(control, values));
}

}  // namespace mixer
