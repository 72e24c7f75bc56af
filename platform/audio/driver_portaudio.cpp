// Real sound cards through PortAudio: the user's default device or one named in
// the platform settings.
#include <alsa/asoundlib.h>
#include <portaudio.h>

#include <atomic>
#include <cstdarg>

#include "platform/audio/drivers.h"
#include "platform/audio/engine.h"

namespace audio {
namespace {

constexpr unsigned long kFramesPerBuffer = 512;

// ALSA reports every probe it makes of a missing card on stderr; a player has
// nothing to say about that.
void silent_alsa_error(const char*, int, const char*, int, const char*, ...) {}

bool initialise(std::string* error) {
  snd_lib_error_set_handler(silent_alsa_error);
  const PaError err = Pa_Initialize();
  if (err != paNoError) {
    if (error) *error = std::string("The sound system can not be started: ") + Pa_GetErrorText(err) + ".";
    return false;
  }
  return true;
}

// The device to open: the named one, else the default. -1 with an error text
// when there is none.
PaDeviceIndex find_device(const std::string& name, bool input, std::string* error) {
  const int count = Pa_GetDeviceCount();
  if (count <= 0) {
    if (error) *error = input ? "No recording device was found." : "No sound device was found.";
    return paNoDevice;
  }
  if (name.empty()) {
    const PaDeviceIndex d = input ? Pa_GetDefaultInputDevice() : Pa_GetDefaultOutputDevice();
    if (d == paNoDevice && error) *error = input ? "No recording device was found." : "No sound device was found.";
    return d;
  }
  for (PaDeviceIndex d = 0; d < count; ++d) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(d);
    if (!info) continue;
    const int channels = input ? info->maxInputChannels : info->maxOutputChannels;
    if (channels > 0 && name == info->name) return d;
  }
  if (error) *error = (input ? "The recording device \"" : "The sound device \"") + name + "\" was not found.";
  return paNoDevice;
}

struct Stream {
  PaStream* stream = nullptr;
  RenderFn render = nullptr;
  CaptureFn capture = nullptr;
  std::atomic<bool> stopping{false};  // we asked it to stop
  std::atomic<bool> failed{false};    // it stopped by itself
};
Stream out_stream, in_stream;

// PortAudio calls this when a stream stops, also when its host API gave up on
// the device (unplugged, a driver error): then nobody asked.
void stream_finished(void* user) {
  auto* s = static_cast<Stream*>(user);
  if (!s->stopping.load()) s->failed = true;
}

int output_callback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                    PaStreamCallbackFlags, void*) {
  out_stream.render(static_cast<float*>(output), frames);
  return paContinue;
}

int input_callback(const void* input, void*, unsigned long frames, const PaStreamCallbackTimeInfo*,
                   PaStreamCallbackFlags, void*) {
  if (input) in_stream.capture(static_cast<const float*>(input), frames);
  return paContinue;
}

bool open_stream(Stream& s, const std::string& device, bool input, std::string* error) {
  if (!initialise(error)) return false;
  const PaDeviceIndex d = find_device(device, input, error);
  if (d == paNoDevice) {
    Pa_Terminate();
    return false;
  }
  PaStreamParameters params{};
  params.device = d;
  params.channelCount = kEngineChannels;
  params.sampleFormat = paFloat32;
  const PaDeviceInfo* info = Pa_GetDeviceInfo(d);
  params.suggestedLatency = input ? info->defaultLowInputLatency : info->defaultHighOutputLatency;
  const PaError err = Pa_OpenStream(&s.stream, input ? &params : nullptr, input ? nullptr : &params,
                                    kEngineRate, kFramesPerBuffer, paNoFlag,
                                    input ? input_callback : output_callback, &s);
  if (err != paNoError) {
    if (error) *error = std::string("The sound device can not be opened: ") + Pa_GetErrorText(err) + ".";
    s.stream = nullptr;
    Pa_Terminate();
    return false;
  }
  s.stopping = false;
  s.failed = false;
  Pa_SetStreamFinishedCallback(s.stream, stream_finished);
  return true;
}

bool start_stream(Stream& s, std::string* error) {
  s.stopping = false;
  const PaError err = Pa_StartStream(s.stream);
  if (err != paNoError) {
    if (error) *error = std::string("The sound device can not be started: ") + Pa_GetErrorText(err) + ".";
    // The engine restarts a stopped stream on the next play; one that will not
    // start again has stopped working, as an unplugged card has.
    s.failed = true;
    return false;
  }
  return true;
}

void stop_stream(Stream& s) {
  s.stopping = true;
  if (s.stream) Pa_StopStream(s.stream);
}

void close_stream(Stream& s) {
  s.stopping = true;
  if (s.stream) {
    Pa_CloseStream(s.stream);
    s.stream = nullptr;
    Pa_Terminate();
  }
  s.failed = false;
}

bool pa_out_open(const std::string& device, RenderFn render, std::string* error) {
  out_stream.render = render;
  return open_stream(out_stream, device, false, error);
}
bool pa_out_start(std::string* error) { return start_stream(out_stream, error); }
void pa_out_stop() { stop_stream(out_stream); }
void pa_out_close() { close_stream(out_stream); }
bool pa_out_failed(std::string* reason) {
  if (!out_stream.failed.load()) return false;
  if (reason) *reason = "the sound system stopped the device";
  return true;
}
std::size_t pa_out_latency() {
  const PaStreamInfo* info = out_stream.stream ? Pa_GetStreamInfo(out_stream.stream) : nullptr;
  return info ? static_cast<std::size_t>(info->outputLatency * kEngineRate) : 0;
}

bool pa_in_open(const std::string& device, CaptureFn capture, GenerateFn, std::string* error) {
  in_stream.capture = capture;
  return open_stream(in_stream, device, true, error);
}
bool pa_in_present(const std::string& device) {
  if (!initialise(nullptr)) return false;
  const bool found = find_device(device, true, nullptr) != paNoDevice;
  Pa_Terminate();
  return found;
}
bool pa_in_start(std::string* error) { return start_stream(in_stream, error); }
void pa_in_stop() { stop_stream(in_stream); }
void pa_in_close() { close_stream(in_stream); }
bool pa_in_failed() { return in_stream.failed.load(); }

}  // namespace

std::vector<std::string> portaudio_device_names(bool input) {
  std::vector<std::string> names;
  if (!initialise(nullptr)) return names;
  for (PaDeviceIndex d = 0; d < Pa_GetDeviceCount(); ++d) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(d);
    if (info && (input ? info->maxInputChannels : info->maxOutputChannels) > 0) names.emplace_back(info->name);
  }
  Pa_Terminate();
  return names;
}

const OutputDriver kPortAudioOutput = {"portaudio", pa_out_open, pa_out_start, pa_out_stop,
                                        pa_out_close, pa_out_latency, pa_out_failed};
const InputDriver kPortAudioInput = {"portaudio", pa_in_present, pa_in_open,  pa_in_start,
                                      pa_in_stop,  pa_in_close,   pa_in_failed};

}  // namespace audio
