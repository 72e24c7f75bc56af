#pragma once
// The audio engine: one mixing thread pulling stereo float frames from voices,
// through per-line gain and mute, the master gain and mute, and the stereo effect
// slot, into the output device; and one capture stream from the input device.
//
// Threads: every function here is called from the UI thread (or a test's main
// thread) unless it says otherwise. Producers run on the engine's reader thread;
// the audio callback only drains ring buffers filled ahead of time, so it never
// blocks, allocates or touches a file.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace audio {

// The engine mixes at one fixed rate; sources resample to it.
constexpr int kEngineRate = 44100;

// Mixer lines: the sources the engine mixes, the master, and the two recording inputs.
enum class Line { Master, Synth, Wave, CD, LineIn, Mic, Count };

// Which device carries the output (and the input): chosen at start.
enum class DeviceKind {
  Real,          // a PortAudio device
  NullRealtime,  // no sound: paced by a clock, for a headless player
  NullFast,      // no sound: runs as fast as the voices deliver, for tests and benchmarks
};

struct StartOptions {
  // "" = the platform settings (QUORVIN_AUDIO, platform.ini key "Output"), else a
  // PortAudio device name ("default" or empty: the user's default), "null"
  // (real-time null) or "fast" (fast null).
  std::string output;
  // The same for capture (QUORVIN_AUDIO_INPUT, key "Input"). Unset with a null
  // output, the input is the null device of the same pace (it hears silence).
  std::string input;
};

// Starts the engine; when no real device can be opened it runs on the real-time
// null device and remembers why (see no_device_reason). Idempotent; voice_create,
// capture_start and device_kind start it with the settings when needed.
void start(const StartOptions& options = {});
// Stops every play (on_end(Stopped)) and capture, and closes the devices. The
// program's exit runs it too.
void shutdown();
DeviceKind device_kind();
// The sound card devices there are for output (input), by the names the
// settings take; the null devices are not listed.
std::vector<std::string> device_names(bool input);
// Moves the output to another device (a name as in StartOptions) while the
// engine runs: what plays goes on there, voices and gains are kept. A device
// that can not be opened leaves the real-time null device and its reason, as
// at start. The fast test device is chosen at start only: switching to or
// from it changes nothing. Returns the kind now running.
DeviceKind switch_output(const std::string& name);
// The capture device for the next capture_start ("" = the settings).
void set_input_device(const std::string& name);
// Non-empty when a real device was wanted but none could be opened: "No sound
// device was found.", "The sound device \"x\" was not found." or "The sound
// device can not be opened: <PortAudio's reason>."
std::string no_device_reason();

// The output device stopped working while the engine ran (a driver error, a
// card unplugged). The engine then ends every play with EndReason::Failed,
// closes the device and goes on on the silent device of the same pace (the
// real-time null device, or the fast one in tests), so the program keeps
// running and the next play works, silently. `serial` counts the failures of
// this process (0: none yet); `reason` is the last one's, in the driver's words.
// Any thread.
struct OutputFailure {
  std::uint64_t serial = 0;
  std::string reason;
};
OutputFailure output_failure();

// Fills up to `frames` interleaved stereo frames at kEngineRate. Returns the number
// written; fewer than asked means the stream has ended. Runs on the reader thread
// and may block on file or disc I/O.
using Producer = std::function<std::size_t(float* stereo, std::size_t frames)>;

// How a voice stopped playing. Called on an engine thread: never touch UI state
// from it; post a message instead. Failed: the output device stopped working
// under it (see output_failure).
enum class EndReason { Finished, Stopped, Failed };
using EndCallback = std::function<void(EndReason)>;

using VoiceId = int;
// A source on `line` (Synth, Wave or CD); -1 for another line or when all 32
// voices are taken.
VoiceId voice_create(Line line);
void voice_destroy(VoiceId voice);
// Starts pulling from `producer`; when it ends and every frame it gave has
// reached the output, `on_end(Finished)` runs once. A voice plays one producer
// at a time: starting another stops the current one with on_end(Stopped).
// For an unknown voice on_end(Stopped) runs at once, on the calling thread.
// On a real device Finished also waits for the device's own buffer to play out.
void voice_play(VoiceId voice, Producer producer, EndCallback on_end);
// Stops at once, drops buffered frames, runs on_end(Stopped) if a play was running.
void voice_stop(VoiceId voice);
// Holds the output of a voice without dropping what is buffered; resume continues.
void voice_pause(VoiceId voice, bool paused);
// Frames of the current play that have reached the output device.
std::uint64_t voice_frames_played(VoiceId voice);
bool voice_active(VoiceId voice);

// Gains 0..1 per side with a smooth ramp (no clicks); mute is separate.
void set_line_gain(Line line, float left, float right);
void set_line_mute(Line line, bool muted);
// The stereo widening effect on the master output; off restores the signal bit-exactly.
void set_widening(bool on);
// Peak level per line since the last call (the call resets it), 0..1 and above
// when sources clip, for meters. LineIn and Mic are the captured input.
float line_peak(Line line);

// Where recordings take their sound from, as a sound card's record selector offers it.
enum class RecordSource {
  CaptureDevice,  // the input device, through the LineIn and Mic volumes
  RackOutput,     // the decks' mix after their volumes and the 3D effect, before master volume and mute
};
// The chosen source: platform.ini key "RecordSource" ("capture" or "rack"; the
// environment variable QUORVIN_RECORD_SOURCE overrides it), else the capture
// device when one is present, else the rack's output. Read at each capture_start.
RecordSource record_source();
// Stores the choice in platform.ini; the next capture_start uses it.
void set_record_source(RecordSource source);
// Whether the capture device the settings name is there. A test input counts;
// the silent null input counts only when named ("null" or "fast").
bool capture_device_present();
// Why a capture from the chosen source can not start now (it names the missing
// device), or "" when it can.
std::string record_source_problem();

// Capture: `consumer` gets interleaved frames from the chosen source at the given
// rate and channel count (1 = the mean of left and right), on the capture thread
// (not the device's: it may write files). From the capture device the LineIn and
// Mic gains apply (one stream stands for both recording lines). One capture at a
// time: a second start fails with "The recording device is busy.". Without the
// chosen device it fails with record_source_problem()'s text.
using Consumer = std::function<void(const float* frames, std::size_t count)>;
bool capture_start(int rate, int channels, Consumer consumer, std::string* error);
// Stops the device and hands the consumer what is left before returning.
void capture_stop();
// True while a capture runs (shutdown ends it too).
bool capture_active();
// Whether the running capture's device stopped delivering by itself (unplugged,
// a driver error). The capture still counts as active until capture_stop,
// which forgets the fault.
bool capture_failed();

// Waits until every end callback already due has run (they run on the
// engine's notifier thread). Do not call it while holding a lock that an
// EndCallback takes.
void flush_end_callbacks();
// Periods in which a playing voice had nothing buffered, plus periods the
// real-time null device woke too late: each is an audible gap on a card.
std::uint64_t underrun_count();

// Tests: replace the input device by a generator (e.g. a known tone).
using TestInput = std::function<void(float* stereo, std::size_t frames)>;
void set_test_input(TestInput input);
// Tests on the fast null device: runs the engine until `frames` frames have been
// output or every voice is idle (a running capture counts as busy), then waits
// for the end callbacks that became due. Returns the frames output; 0 on the
// other devices.
std::uint64_t run_fast(std::uint64_t frames);
// Tests: the running null output device fails as a card's driver would: it
// stops taking frames and reports `reason` until the engine has closed it.
void fail_output_for_testing(const std::string& reason);
// Tests: the running null input device fails the same way: it hands over no
// more frames and reports the failure until the capture stops.
void fail_input_for_testing();
// Tests: the last frames output, for checking levels and effects.
using OutputTap = std::function<void(const float* stereo, std::size_t frames)>;
void set_output_tap(OutputTap tap);

}  // namespace audio
