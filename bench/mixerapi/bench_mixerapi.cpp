// What a mixer control costs the UI thread: the first open (reading every
// stored value), a volume step (engine, durable settings write, notification)
// and a read. Almost all of a step on disk is the durable write, whose cost is
// the disk's, so the step is measured twice: with the settings on tmpfs (the
// mixer's own cost; target: under 0.5 ms on average) and on disk, next to a bare
// settings write (the floor; target: the step stays under 10% of the 250 ms hold
// tick that drives it).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio/engine.h"
#include "platform/mixer/mixer_api.h"
#include "platform/settings.h"

namespace {

constexpr int kSteps = 200;
constexpr int kReads = 100000;

double ms_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

int g_posted = 0;
volatile DWORD g_sink = 0;  // keeps the timed reads from being optimised away
void count_post(HWND, UINT, WPARAM, LPARAM) { ++g_posted; }

HMIXEROBJ object(HMIXER h) { return reinterpret_cast<HMIXEROBJ>(h); }

DWORD wave_volume_id(HMIXER h) {
  MIXERLINEA line{};
  line.cbStruct = sizeof line;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
  mixerGetLineInfoA(object(h), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE);
  std::vector<MIXERCONTROLA> controls(line.cControls);
  MIXERLINECONTROLSA request{};
  request.cbStruct = sizeof request;
  request.dwLineID = line.dwLineID;
  request.cControls = line.cControls;
  request.cbmxctrl = sizeof(MIXERCONTROLA);
  request.pamxctrl = controls.data();
  mixerGetLineControlsA(object(h), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL);
  return controls.empty() ? 0 : controls[0].dwControlID;
}

struct Figures {
  double open_ms = 0;
  std::vector<double> step_ms, floor_ms;
  double read_us = 0;
  double mean(const std::vector<double>& v) const {
    double s = 0;
    for (double x : v) s += x;
    return v.empty() ? 0 : s / static_cast<double>(v.size());
  }
  double median(std::vector<double> v) const {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
  }
};

Figures measure(const std::filesystem::path& parent) {
  Figures f;
  std::string home = (parent / "quorvin-bench-mixer-XXXXXX").string();
  if (!mkdtemp(home.data())) return f;
  setenv("QUORVIN_HOME", home.c_str(), 1);

  auto start = std::chrono::steady_clock::now();
  HMIXER h = nullptr;
  if (mixerOpen(&h, 0, 1, 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR) return f;
  f.open_ms = ms_since(start);

  DWORD v[2] = {0, 0};
  MIXERCONTROLDETAILS d{};
  d.cbStruct = sizeof d;
  d.dwControlID = wave_volume_id(h);
  d.cChannels = 2;
  d.cbDetails = sizeof(DWORD);
  d.paDetails = v;
  for (int i = 0; i < kSteps; ++i) {
    v[0] = v[1] = static_cast<DWORD>((i % 16) * 4095);
    start = std::chrono::steady_clock::now();
    mixerSetControlDetails(object(h), &d, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
    f.step_ms.push_back(ms_since(start));
    start = std::chrono::steady_clock::now();
    platform_setting_write("BenchFloor", std::to_string(v[0]) + "," + std::to_string(v[1]));
    f.floor_ms.push_back(ms_since(start));
  }
  start = std::chrono::steady_clock::now();
  DWORD checksum = 0;
  for (int i = 0; i < kReads; ++i) {
    mixerGetControlDetailsA(object(h), &d, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
    checksum += v[0];
  }
  f.read_us = ms_since(start) * 1000.0 / kReads;
  g_sink = checksum;
  mixerClose(h);
  std::filesystem::remove_all(home);
  return f;
}

void print(const char* where, const Figures& f) {
  std::printf("%s: first open %.3f ms; volume step mean %.3f ms, median %.3f ms, max %.3f ms; "
              "bare settings write mean %.3f ms, median %.3f ms; control read %.3f us\n",
              where, f.open_ms, f.mean(f.step_ms), f.median(f.step_ms),
              f.step_ms.empty() ? 0.0 : *std::max_element(f.step_ms.begin(), f.step_ms.end()), f.mean(f.floor_ms),
              f.median(f.floor_ms), f.read_us);
}

}  // namespace

int main() {
  audio::start({"fast", ""});
  mixer_set_notify_poster(&count_post);
  const bool have_tmpfs = std::filesystem::is_directory("/dev/shm");
  const Figures memory = measure(have_tmpfs ? "/dev/shm" : std::filesystem::temp_directory_path());
  const Figures disk = measure(std::filesystem::temp_directory_path());
  audio::shutdown();

  print(have_tmpfs ? "tmpfs" : "temp (no tmpfs)", memory);
  print("disk", disk);
  std::printf("notifications posted: %d of %d steps\n", g_posted, 2 * kSteps);
  const bool own_cost_met = memory.mean(memory.step_ms) < 0.5;
  const bool tick_met = disk.mean(disk.step_ms) < 25.0;
  std::printf("target: mixer's own cost per step < 0.5 ms: %s; step on disk < 25 ms: %s\n",
              own_cost_met ? "met" : "MISSED", tick_met ? "met" : "MISSED");
  return own_cost_met && tick_met ? 0 : 1;
}
