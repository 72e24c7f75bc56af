#pragma once
// Audio device drivers: the engine core talks to every device through one row of
// plain functions, so a real card, the paced null device and the fast null
// device are interchangeable.
#include <cstddef>
#include <string>
#include <vector>

namespace audio {

constexpr int kEngineChannels = 2;

// An output device calls this for every period; it must fill `frames` frames.
using RenderFn = void (*)(float* stereo, std::size_t frames);
// An input device hands each period of captured stereo frames to this.
using CaptureFn = void (*)(const float* stereo, std::size_t frames);
// What the null input "records": the test input, or silence.
using GenerateFn = void (*)(float* stereo, std::size_t frames);

struct OutputDriver {
  const char* name;
  // `device` is a device name, or "" for the user's default.
  bool (*open)(const std::string& device, RenderFn render, std::string* error);
  // An open device may be stopped and started again any number of times (the
  // engine stops it while idle).
  bool (*start)(std::string* error);
  void (*stop)();
  void (*close)();
  // Frames between handing a period over and hearing it (the device's buffer).
  std::size_t (*latency_frames)();
  // Whether the device stopped by itself since it was started (a driver error,
  // a card unplugged, or a start after a stop that failed), with the driver's
  // words in `reason` (may be null).
  // Any thread; close() forgets it.
  bool (*failed)(std::string* reason);
};

struct InputDriver {
  const char* name;
  // Whether `device` ("" for the default) is there to be opened.
  bool (*present)(const std::string& device);
  bool (*open)(const std::string& device, CaptureFn capture, GenerateFn generate, std::string* error);
  bool (*start)(std::string* error);
  void (*stop)();
  void (*close)();
  // Whether the device stopped delivering by itself since it was started (a
  // microphone unplugged, a driver error). Any thread; close() forgets it.
  bool (*failed)();
};

extern const OutputDriver kPortAudioOutput;
extern const OutputDriver kNullOutput;  // paced by the clock
extern const OutputDriver kFastOutput;  // pulled by run_fast
extern const InputDriver kPortAudioInput;
extern const InputDriver kNullInput;    // paced by the clock
extern const InputDriver kFastInput;    // pulled by run_fast

// The names of the sound card devices that can play (or record), as the settings name them.
std::vector<std::string> portaudio_device_names(bool input);

// The frames the real-time null devices move per period.
constexpr std::size_t kNullPeriodFrames = 512;

// Blocks of the real-time null output that found a voice's buffer empty.
std::size_t null_output_late_periods();

}  // namespace audio
