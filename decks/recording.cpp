#include "decks/recording.h"

#include <string>
#include <vector>

#include "decks/deck_model.h"
#include "decks/record_face.h"
#include "decks/record_format.h"
#include "decks/recording_control.h"
#include "decks/wave_decks.h"
#include "decks/wave_display.h"
#include "platform/audio/recorder.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "skin/rack_state.h"

namespace {

constexpr UINT kBlinkPeriodMs = 300;
int recovery_offer_due = 0;
constexpr const char* kNewRecordingName = "UNTITLED.WAV";
constexpr const char* kRecoveredName = "RECOVERED.WAV";

Deck& tape2() { return wave_deck(2); }

// What the user is told when a take ended before Record stopped it.
struct TakeFault {
  MCIERROR error;
  const char* what;
  const char* advice;
};
constexpr TakeFault kTakeFaults[] = {
    {MCIERR_FILE_WRITE, "the disk refused more sound.", "save it on a disk with free space."},
    {MCIERR_RECORDING_DEVICE_FAILED, "the recording device stopped working.",
     "save it, then check the device or choose another source in Recording Control."},
};

void tell_take_fault(MCIERROR error) {
  const char* what = "the recording device reported a problem.";
  const char* advice = "save it before recording again.";
  for (const TakeFault& row : kTakeFaults)
    if (row.error == error) {
      what = row.what;
      advice = row.advice;
    }
  char reason[256] = "";
  mciGetErrorStringA(error, reason, sizeof reason);
  const std::string text = std::string("The recording stopped: ") + what + "\n" + reason +
                           "\n\nWhat was recorded until then is kept; " + advice;
  MessageBoxA(main_window, text.c_str(), "Recording", MB_OK | MB_ICONEXCLAMATION);
}

void set_wave_format(const RecordingFormat& f) {
  MCI_WAVE_SET_PARMS parms{};
  parms.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
  parms.wFormatTag = 1;  // PCM
  parms.nChannels = static_cast<WORD>(f.channels);
  parms.nSamplesPerSec = static_cast<DWORD>(f.samples_per_second);
  parms.nAvgBytesPerSec = static_cast<DWORD>(f.bits_per_sample / 8 * f.samples_per_second * f.channels);
  parms.nBlockAlign = static_cast<WORD>(f.bits_per_sample * f.channels / 8);
  parms.wBitsPerSample = static_cast<WORD>(f.bits_per_sample);
  mciSendCommandA(mciGetDeviceIDA(tape2().alias), MCI_SET,
                  MCI_SET_TIME_FORMAT | MCI_WAVE_SET_CHANNELS | MCI_WAVE_SET_SAMPLESPERSEC |
                      MCI_WAVE_SET_AVGBYTESPERSEC | MCI_WAVE_SET_BLOCKALIGN | MCI_WAVE_SET_BITSPERSAMPLE,
                  reinterpret_cast<DWORD_PTR>(&parms));
}

// Deck 2 holds what its device was just given, under `name`, Stopped, and is shown and active.
void show_tape2_as(const char* name, int modified) {
  Deck& deck = tape2();
  deck.path = name;
  deck.name_offset = 0;
  read_wave_information(2);
  deck.state = kStopped;
  deck.modified = modified;
  deck.device = mciGetDeviceIDA(deck.alias);
  draw_wave_lcd(2);
  refresh_wave_position(2);
  make_active(2);
}

// The format dialog's OK: deck 2 closed (its recording saved or given up
// first), then a new empty recording in that format, waiting for Record.
bool create_new_recording(const RecordingFormat& format) {
  if (!ask_to_save_recording(main_window)) return false;
  end_pending_recording();
  close_wave_deck(2);
  const std::string open = std::string("open new type waveaudio alias ") + tape2().alias + " buffer 4";
  if (MCIERROR error = mciSendStringA(open.c_str(), nullptr, 0, nullptr)) {
    plain_mci_error_box(error);
    return true;
  }
  set_wave_format(format);
  show_tape2_as(kNewRecordingName, 0);
  new_recording_pending = 1;
  SetTimer(main_window, kRecordingBlinkTimerId, kBlinkPeriodMs, nullptr);
  return true;
}

void stop_recording() {
  Deck& deck = tape2();
  // A take the disk or the device cut short answers its stop with why, once.
  const MCIERROR error = deck_command(deck, "stop %s");
  deck_command(deck, "seek %s to start");
  read_wave_information(2);
  draw_wave_lcd(2);
  deck.state = kStopped;
  refresh_wave_position(2);
  record_flag = 0;
  draw_record_button_face();
  if (error != 0) tell_take_fault(error);
}

void start_recording() {
  Deck& deck = tape2();
  if (deck.state == kPlaying) {
    deck_command(deck, "stop %s");
    deck.state = kStopped;
  }
  if (MCIERROR error = deck_command(deck, "record %s")) {
    plain_mci_error_box(error);
    return;
  }
  deck.state = kRecording;
  deck.modified = 1;
  record_flag = 1;
  draw_record_button_face();
  end_pending_recording();
}

}  // namespace

LRESULT new_recording(HWND, UINT, WPARAM, LPARAM) {
  run_format_dialog(create_new_recording);
  return 0;
}

LRESULT record_button(HWND, UINT, WPARAM, LPARAM) {
  if (!tape2().loaded()) return 0;
  if (tape2().state == kRecording)
    stop_recording();
  else
    start_recording();
  return 0;
}

LRESULT one_touch_record(HWND, UINT, WPARAM, LPARAM) {
  if (active_wave_deck != 2) return 0;
  for (WORD id : {CMD_WAVE_RECORD, CMD_MIDI_PLAY, CMD_CD_PLAY}) SendMessageA(main_window, WM_COMMAND, id, 0);
  return 0;
}

LRESULT recording_timer(HWND window, UINT message, WPARAM id, LPARAM lparam) {
  if (id != kRecordingBlinkTimerId) return DefWindowProcA(window, message, id, lparam);
  draw_deck_lamps();
  return 0;
}

void recording_tick() {
  if (recovery_offer_due) {
    recovery_offer_due = 0;
    PostMessageA(main_window, WM_COMMAND, CMD_OFFER_RECOVERED_RECORDING, 0);
  }
  if (tape2().state != kRecording) return;
  char mode[50] = "";
  const std::string status = std::string("status ") + tape2().alias + " mode";
  if (mciSendStringA(status.c_str(), mode, sizeof mode, nullptr) == 0 && std::string(mode) != "recording")
    stop_recording();
}

void recording_on_create() {
  recovery_offer_due = 1;
  register_recording_control();
}

LRESULT offer_recovered_recording(HWND, UINT, WPARAM, LPARAM) {
  const std::vector<audio::OrphanedRecording> left = audio::orphaned_recordings();
  if (left.empty() || tape2().loaded()) return 0;
  const std::string alias = tape2().alias;
  if (mciSendStringA(("open new type waveaudio alias " + alias + " buffer 4").c_str(), nullptr, 0, nullptr) != 0)
    return 0;
  const std::string load = "load " + alias + " \"" + left.front().path + "\"";
  if (mciSendStringA(load.c_str(), nullptr, 0, nullptr) != 0 ||
      mciSendStringA(("set " + alias + " time format milliseconds").c_str(), nullptr, 0, nullptr) != 0) {
    mciSendStringA(("close " + alias).c_str(), nullptr, 0, nullptr);
    return 0;
  }
  show_tape2_as(kRecoveredName, 1);
  std::string text =
      "A recording was not saved when the player last ended. It is on deck 2 now: save it with Save..., or close "
      "deck 2 to discard it.";
  if (left.size() > 1)
    text += "\n\n" + std::to_string(left.size() - 1) + " more will be offered at the next start.";
  MessageBoxA(main_window, text.c_str(), "Recording recovered", MB_OK | MB_ICONINFORMATION);
  return 0;
}
