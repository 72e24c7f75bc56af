#include "platform/mixer/engine_link.h"

#include "platform/audio/engine.h"
#include "platform/mixer/volume_taper.h"

namespace mixer {

void apply_to_engine(const ControlRow& control, const DWORD* values) {
  switch (control.kind) {
    case ControlKind::Volume: {
      const DWORD right = value_count(control) > 1 ? values[1] : values[0];
      audio::set_line_gain(control.engine_line, volume_to_gain(values[0], kVolumeMaximum),
                           volume_to_gain(right, kVolumeMaximum));
      return;
    }
    case ControlKind::Mute:
      audio::set_line_mute(control.engine_line, values[0] != 0);
      return;
    case ControlKind::Widening:
      audio::set_widening(values[0] != 0);
      return;
  }
}

}  // namespace mixer
