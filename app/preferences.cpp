#include "app/preferences.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/choose_file.h"
#include "app/insert_disc.h"
#include "platform/audio/cd/cd_drive.h"
#include "platform/audio/engine.h"
#include "platform/audio/midi/midi_renderer.h"
#include "platform/profile/profile.h"
#include "platform/settings.h"
#include "platform/ui/windows.h"
#include "resources/ids/dialogs.h"
#include "resources/ids/strings.h"
#include "skin/rack_state.h"

namespace {

constexpr const char* kPlatformFile = "platform.ini";
constexpr const char* kPlatformSection = "Platform";

// One device list: the values platform.ini takes, shown under friendlier labels.
struct DeviceList {
  int control;
  const char* key;
  const char* env_var;
  bool input;
  std::vector<std::string> values;
  std::string initial;
};

// One path setting: an edit field with a Browse button.
struct PathSetting {
  int control;
  int browse;
  const char* key;
  const char* env_var;
  WORD filter;
  std::string initial;
};

DeviceList devices[] = {
    {IDC_PREF_OUTPUT, "Output", "QUORVIN_AUDIO", false, {}, {}},
    {IDC_PREF_INPUT, "Input", "QUORVIN_AUDIO_INPUT", true, {}, {}},
};
PathSetting paths[] = {
    {IDC_PREF_SOUNDFONT, IDC_PREF_SOUNDFONT_BROWSE, "SoundFont", "QUORVIN_SOUNDFONT", IDS_SOUNDFONT_FILTER, {}},
    {IDC_PREF_CDROM, IDC_PREF_CDROM_BROWSE, "CDROM", "QUORVIN_CDROM", IDS_DISC_IMAGE_FILTER, {}},
};

// What platform.ini itself holds (the environment is shown apart).
std::string stored(const char* key) { return platform_setting(key, nullptr); }

void store(const char* key, const std::string& value) {
  // An empty path means the default: the key goes, so the default applies again.
  WritePrivateProfileStringA(kPlatformSection, key, value.empty() ? nullptr : value.c_str(), kPlatformFile);
}

std::string label_of(const std::string& value, bool listed) {
  if (value == "default") return "System default";
  if (value == "null") return "Silent (no sound card)";
  if (value == "fast") return "Silent, unpaced (tests)";
  return listed ? value : value + " (not present)";
}

void fill_device_list(HWND dialog, DeviceList& list) {
  const std::string current = stored(list.key).empty() ? "default" : stored(list.key);
  list.values = {"default"};
  for (const std::string& name : audio::device_names(list.input)) list.values.push_back(name);
  list.values.push_back("null");
  bool found = false;
  for (const std::string& v : list.values) found = found || v == current;
  if (!found) list.values.push_back(current);
  list.initial = current;
  for (std::size_t i = 0; i < list.values.size(); ++i) {
    const bool listed = i + 1 < list.values.size() || found;
    SendDlgItemMessageA(dialog, list.control, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(label_of(list.values[i], listed).c_str()));
    if (list.values[i] == current) SendDlgItemMessageA(dialog, list.control, CB_SETCURSEL, i, 0);
  }
}

std::string chosen_device(HWND dialog, const DeviceList& list) {
  const LRESULT row = SendDlgItemMessageA(dialog, list.control, CB_GETCURSEL, 0, 0);
  if (row < 0 || static_cast<std::size_t>(row) >= list.values.size()) return list.initial;
  return list.values[static_cast<std::size_t>(row)];
}

std::string field_text(HWND dialog, int control) {
  char text[MAX_PATH];
  GetDlgItemTextA(dialog, control, text, sizeof text);
  return text;
}

// A variable set in the environment wins over platform.ini at every start: say so.
void show_overrides(HWND dialog) {
  std::string names;
  auto note = [&](const char* env_var) {
    if (std::getenv(env_var)) names += (names.empty() ? "" : ", ") + std::string(env_var);
  };
  for (const DeviceList& list : devices) note(list.env_var);
  for (const PathSetting& path : paths) note(path.env_var);
  const std::string text = names.empty() ? "" : "Overridden at start by " + names;
  SetDlgItemTextA(dialog, IDC_PREF_NOTE, text.c_str());
}

void browse(HWND dialog, const PathSetting& path) {
  const std::string folder = std::filesystem::path(field_text(dialog, path.control)).parent_path().string();
  std::string chosen;
  if (choose_file(dialog, path.filter, nullptr, folder, &chosen)) SetDlgItemTextA(dialog, path.control, chosen.c_str());
}

void complain(HWND dialog, const std::string& text) { MessageBoxA(dialog, text.c_str(), "Preferences", MB_OK | MB_ICONEXCLAMATION); }

// Paths are checked before anything is stored, so a refused dialog changes nothing.
bool paths_usable(HWND dialog) {
  const std::string font = field_text(dialog, IDC_PREF_SOUNDFONT);
  std::error_code error;
  if (!font.empty() && !std::filesystem::is_regular_file(font, error)) {
    complain(dialog, "The SoundFont \"" + font + "\" can not be found.");
    return false;
  }
  const std::string cd = field_text(dialog, IDC_PREF_CDROM);
  std::string why;
  if (cd != paths[1].initial && !cd.empty() && !cd_device_usable(cd, &why)) {
    complain(dialog, why);
    return false;
  }
  return true;
}

void apply_output(HWND dialog, const std::string& value) {
  store("Output", value);
  audio::switch_output(value);
  const std::string reason = audio::no_device_reason();
  if (!reason.empty()) complain(dialog, reason + " The rack plays on without sound.");
}

void apply_input(HWND, const std::string& value) {
  store("Input", value);
  audio::set_input_device(value);
}

bool apply(HWND dialog) {
  if (!paths_usable(dialog)) return false;
  const std::string output = chosen_device(dialog, devices[0]);
  if (output != devices[0].initial) apply_output(dialog, output);
  const std::string input = chosen_device(dialog, devices[1]);
  if (input != devices[1].initial) apply_input(dialog, input);
  const std::string font = field_text(dialog, IDC_PREF_SOUNDFONT);
  if (font != paths[0].initial) {
    store("SoundFont", font);
    // Loads in the background; MIDI files opened from now on play through it.
    audio::midi_preload_soundfont();
  }
  const std::string cd = field_text(dialog, IDC_PREF_CDROM);
  if (cd != paths[1].initial) {
    store("CDROM", cd);
    change_cd_device(cd.empty() ? audio::cd_default_device() : cd);
  }
  return true;
}

INT_PTR CALLBACK preferences_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    for (DeviceList& list : devices) fill_device_list(dialog, list);
    for (PathSetting& path : paths) {
      path.initial = stored(path.key);
      SetDlgItemTextA(dialog, path.control, path.initial.c_str());
    }
    show_overrides(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  const WORD id = LOWORD(wparam);
  for (const PathSetting& path : paths)
    if (id == path.browse) {
      browse(dialog, path);
      return TRUE;
    }
  if (id == IDOK) {
    if (apply(dialog)) EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (id == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

LRESULT show_preferences(HWND window, UINT, WPARAM, LPARAM) {
  DialogBoxParamA(program_instance, MAKEINTRESOURCEA(DLG_PREFERENCES), window, preferences_proc, 0);
  return 0;
}
