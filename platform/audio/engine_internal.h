#pragma once
// What the engine's parts share among themselves (not for callers).
#include <cstddef>
#include <optional>
#include <string>

#include "platform/audio/engine.h"
#include "platform/audio/mix_graph.h"

namespace audio::internal {

constexpr int kLineCount = static_cast<int>(Line::Count);

// Starts the engine unless it runs; false while it shuts down.
bool ensure_running();
// A capture began: the output device runs again (a capture of the rack's own
// output needs the mixer) and the engine stays awake while it lasts.
void wake_output();

// Target gain of a line as set by the user: zero when muted.
StereoGain line_target(Line line);
void record_peak(Line line, float peak);

// The input device chosen at start ("" or "default": the user's default;
// nothing when there is none) and how the output is paced.
std::optional<std::string> input_setting();
DeviceKind running_kind();

// run_fast's share of the capture path: the fast input device delivers `frames`.
bool capture_running();
void capture_fast_period(std::size_t frames);
// The mixer's share: every block of the decks' mix, for a capture of the rack's
// own output. Lock-free; called on the mixing thread.
void feed_rack_output(const float* stereo, std::size_t frames);
void capture_shutdown();

}  // namespace audio::internal
