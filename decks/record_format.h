#pragma once
// The new recording's format: the choice the format dialog (213) offers and
// keeps in section "Rack" of the settings ("SampRate", "SampSize",
// "Channels": the identifiers of the checked radio buttons), what it means in
// samples per second, bits and channels, and the dialog itself. UI thread only.
#include <optional>
#include <string>

#include "platform/wintypes.h"

struct FormatChoice {
  int rate;      // IDC_RATE_11025 … IDC_RATE_CUSTOM
  int size;      // IDC_SIZE_8, IDC_SIZE_16
  int channels;  // IDC_MONO, IDC_STEREO
};

struct RecordingFormat {
  int samples_per_second;
  int bits_per_sample;
  int channels;
};

// The choice stored in the settings, each key with its default (44.1 kHz, 16 bits, stereo).
FormatChoice read_format_choice();
void write_format_choice(const FormatChoice& choice);

// The custom rate typed in kHz ("8", "11.025") in Hz, to the nearest hertz;
// nothing when it is not a number within 8000..48000 Hz.
std::optional<int> custom_rate_hz(const std::string& khz);

// What a choice records. A stored value that names no button of its group
// takes that group's default, so a damaged setting still records something sound.
RecordingFormat format_of(const FormatChoice& choice, int custom_rate);

// Shows the format dialog over the main window. On OK (with a valid rate) it
// calls `accept` with the choice's format and ends; when accept returns true
// the choice is stored. Returns whether a recording was accepted.
bool run_format_dialog(bool (*accept)(const RecordingFormat&));
