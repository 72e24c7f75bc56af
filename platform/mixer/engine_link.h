#pragma once
// The one place where a mixer control meets the audio engine.
#include "platform/mixer/mixer_layout.h"

namespace mixer {

// Applies a control's values (value_count(control) of them) to the engine.
void apply_to_engine(const ControlRow& control, const DWORD* values);

}  // namespace mixer
