#include "decks/recording_control.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <memory>

#include "mixer/mixer.h"
#include "platform/audio/engine.h"
#include "platform/mixer/mixer_api.h"
#include "platform/ui/programs.h"
#include "platform/ui/windows.h"
#include "resources/ids/dialogs.h"
#include "skin/rack_state.h"

namespace {

constexpr UINT_PTR kMeterTimerId = 1;
constexpr UINT kMeterPeriodMs = 100;
constexpr int kMeterBars = 30;
constexpr double kMeterFloorDb = -60.0;

// The two recording lines as the mixer knows them.
struct InputLine {
  int channel;  // the mixer panel's channel
  DWORD component;
  int down, level, up, mute;
};
constexpr InputLine kInputs[] = {
    {kLineChannel, MIXERLINE_COMPONENTTYPE_SRC_LINE, IDC_LINE_DOWN, IDC_LINE_LEVEL, IDC_LINE_UP, IDC_LINE_MUTE},
    {kMicChannel, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, IDC_MIC_DOWN, IDC_MIC_LEVEL, IDC_MIC_UP, IDC_MIC_MUTE},
};

// The desktop programs that set the input devices, each on its input devices tab.
constexpr const char* kDesktopInputSettings[][2] = {
    {"pavucontrol-qt", "pavucontrol-qt --tab=4"},
    {"pavucontrol", "pavucontrol --tab=4"},
};

// While the window is open and nothing records, a capture of our own feeds the meter.
struct Monitor {
  std::atomic<float> peak{0.0f};
  bool running = false;
};
std::unique_ptr<Monitor> monitor;

DWORD control_of(DWORD component, DWORD type) {
  MIXERLINEA line{};
  line.cbStruct = sizeof line;
  line.dwComponentType = component;
  if (mixerGetLineInfoA(nullptr, &line, MIXER_OBJECTF_MIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
    return 0;
  MIXERCONTROLA control{};
  MIXERLINECONTROLSA controls{};
  controls.cbStruct = sizeof controls;
  controls.dwLineID = line.dwLineID;
  controls.dwControlType = type;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof control;
  controls.pamxctrl = &control;
  if (mixerGetLineControlsA(nullptr, &controls, MIXER_OBJECTF_MIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
      MMSYSERR_NOERROR)
    return 0;
  return control.dwControlID;
}

// The first value of a control (a volume's left side, a switch's state).
bool read_control(DWORD id, DWORD& value) {
  MIXERCONTROLDETAILS_UNSIGNED values[2]{};
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof details;
  details.dwControlID = id;
  details.cChannels = 1;
  details.cbDetails = sizeof values[0];
  details.paDetails = values;
  if (mixerGetControlDetailsA(nullptr, &details, MIXER_OBJECTF_MIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
      MMSYSERR_NOERROR)
    return false;
  value = values[0].dwValue;
  return true;
}

void write_switch(DWORD id, bool on) {
  MIXERCONTROLDETAILS_BOOLEAN value{on ? 1 : 0};
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof details;
  details.dwControlID = id;
  details.cChannels = 1;
  details.cbDetails = sizeof value;
  details.paDetails = &value;
  mixerSetControlDetails(nullptr, &details, MIXER_OBJECTF_MIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

void show_levels(HWND dialog) {
  for (const InputLine& input : kInputs) {
    DWORD volume = 0, muted = 0;
    char text[16] = "-";
    if (read_control(control_of(input.component, MIXERCONTROL_CONTROLTYPE_VOLUME), volume))
      std::snprintf(text, sizeof text, "%lu %%", static_cast<unsigned long>((volume * 100 + 32767) / 65535));
    SetDlgItemTextA(dialog, input.level, text);
    read_control(control_of(input.component, MIXERCONTROL_CONTROLTYPE_MUTE), muted);
    CheckDlgButton(dialog, input.mute, muted ? BST_CHECKED : BST_UNCHECKED);
  }
}

void stop_monitor() {
  if (monitor && monitor->running) audio::capture_stop();
  if (monitor) monitor->running = false;
}

// A capture of our own for the meter, unless a recording already captures.
void start_monitor() {
  stop_monitor();
  if (audio::capture_active() || !audio::record_source_problem().empty()) return;
  Monitor* m = monitor.get();
  std::string error;
  m->running = audio::capture_start(audio::kEngineRate, 2, [m](const float* frames, std::size_t count) {
    float peak = 0.0f;
    for (std::size_t i = 0; i < 2 * count; ++i) peak = std::max(peak, std::fabs(frames[i]));
    float seen = m->peak.load();
    while (peak > seen && !m->peak.compare_exchange_weak(seen, peak)) {
    }
  }, &error);
}

float take_peak() {
  if (monitor->running) return monitor->peak.exchange(0.0f);
  // A recording holds the capture: the engine's own line levels stand in.
  using audio::Line;
  const bool capture = audio::record_source() == audio::RecordSource::CaptureDevice;
  const Line first = capture ? Line::LineIn : Line::Synth;
  const Line last = capture ? Line::Mic : Line::CD;
  float peak = 0.0f;
  for (int line = static_cast<int>(first); line <= static_cast<int>(last); ++line)
    peak = std::max(peak, audio::line_peak(static_cast<Line>(line)));
  return peak;
}

void show_meter(HWND dialog) {
  const float peak = take_peak();
  const double db = peak > 0.0f ? 20.0 * std::log10(peak) : kMeterFloorDb;
  const int bars = static_cast<int>(std::clamp((db - kMeterFloorDb) / -kMeterFloorDb, 0.0, 1.0) * kMeterBars);
  char text[kMeterBars + 32];
  int n = 0;
  for (; n < bars; ++n) text[n] = '|';
  std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), db <= kMeterFloorDb ? " silent" : " %.0f dB", db);
  SetDlgItemTextA(dialog, IDC_INPUT_METER, text);
}

void show_source(HWND dialog) {
  const bool capture = audio::record_source() == audio::RecordSource::CaptureDevice;
  CheckRadioButton(dialog, IDC_SOURCE_CAPTURE, IDC_SOURCE_RACK, capture ? IDC_SOURCE_CAPTURE : IDC_SOURCE_RACK);
  std::string state = audio::record_source_problem();
  if (state.empty()) state = capture ? "Records from the capture device." : "Records what the rack plays.";
  if (audio::capture_active() && !monitor->running) state = "Recording: a change applies to the next take.";
  SetDlgItemTextA(dialog, IDC_CAPTURE_STATE, state.c_str());
}

void on_command(HWND dialog, int id) {
  for (const InputLine& input : kInputs) {
    if (id == input.down || id == input.up) volume_step(input.channel, id == input.up ? kStepUp : kStepDown);
    if (id == input.mute)
      write_switch(control_of(input.component, MIXERCONTROL_CONTROLTYPE_MUTE),
                   IsDlgButtonChecked(dialog, input.mute) == BST_CHECKED);
  }
  if (id == IDC_SOURCE_CAPTURE || id == IDC_SOURCE_RACK) {
    audio::set_record_source(id == IDC_SOURCE_CAPTURE ? audio::RecordSource::CaptureDevice
                                                      : audio::RecordSource::RackOutput);
    if (monitor->running || !audio::capture_active()) start_monitor();
    show_source(dialog);
  }
  if (id == IDC_DESKTOP_INPUT) {
    const std::string command = desktop_input_settings_command();
    if (!command.empty()) WinExec(command.c_str(), SW_SHOWNORMAL);
  }
  show_levels(dialog);
}

INT_PTR CALLBACK control_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      EnableWindow(GetDlgItem(dialog, IDC_DESKTOP_INPUT), !desktop_input_settings_command().empty());
      start_monitor();
      show_source(dialog);
      show_levels(dialog);
      show_meter(dialog);
      SetTimer(dialog, kMeterTimerId, kMeterPeriodMs, nullptr);
      return TRUE;
    case WM_TIMER:
      show_meter(dialog);
      show_levels(dialog);  // the mixer panel may have changed them
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL || LOWORD(wparam) == IDOK) {
        KillTimer(dialog, kMeterTimerId);
        stop_monitor();
        EndDialog(dialog, IDCANCEL);
      } else {
        on_command(dialog, LOWORD(wparam));
      }
      return TRUE;
    default:
      return FALSE;
  }
}

void run_recording_control(const std::string&, UINT) {
  if (monitor) return;  // already open
  monitor = std::make_unique<Monitor>();
  DialogBoxParamA(program_instance, MAKEINTRESOURCEA(DLG_RECORDING_CONTROL), main_window, control_proc, 0);
  stop_monitor();
  monitor.reset();
}

}  // namespace

std::string desktop_input_settings_command() {
  for (const auto& program : kDesktopInputSettings)
    if (ui_programs::installed(program[0])) return program[1];
  return "";
}

void register_recording_control() { ui_programs::register_stand_in("sndvol32.exe", run_recording_control); }

LRESULT recording_input(HWND, UINT, WPARAM, LPARAM) {
  WinExec("sndvol32.exe /recording", SW_SHOWNORMAL);
  return 0;
}
