#pragma once
// Control values 0..maximum to engine gains 0..1. The ear hears level changes
// in decibels, so equal steps of the control are equal steps in dB: the top
// value is unity gain, each 1/60 of the range is 1 dB down, and 0 is silence
// (the last step before it, -60 dB, is already near the noise floor).
#include <cmath>

#include "platform/wintypes.h"

namespace mixer {

constexpr double kTaperRangeDb = 60.0;

inline float volume_to_gain(DWORD value, DWORD maximum) {
  if (value == 0 || maximum == 0) return 0.0f;
  if (value >= maximum) return 1.0f;
  const double db = kTaperRangeDb * (static_cast<double>(value) / maximum - 1.0);
  return static_cast<float>(std::pow(10.0, db / 20.0));
}

}  // namespace mixer
