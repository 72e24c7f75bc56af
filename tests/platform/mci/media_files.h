#pragma once
// Media the MCI tests write for themselves.
#include <cstdint>
#include <string>

namespace mcitest {

// A sine WAV of `seconds` at `rate` Hz with `channels` channels and `bits` bits
// (8 or 16, PCM) through libsndfile; returns `path`.
std::string write_sine_wav(const std::string& path, double seconds, int rate, int channels, int bits);

// A format-0 MIDI file: `quarters` quarter notes at 120 bpm for the first two
// quarters, then 240 bpm (a tempo change), division 480. Its length is
// 1000 ms + (quarters - 2) × 250 ms.
std::string write_tempo_change_midi(const std::string& path, int quarters);
constexpr std::uint32_t tempo_change_midi_ms(int quarters) { return 1000 + (quarters - 2) * 250; }

// A file with `text` as its only content (for corrupt media).
std::string write_text_file(const std::string& path, const std::string& text);

}  // namespace mcitest
