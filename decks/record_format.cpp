#include "decks/record_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/profile/profile.h"
#include "platform/ui/windows.h"
#include "resources/ids/dialogs.h"
#include "skin/rack_state.h"
#include "skin/settings_path.h"

namespace {

constexpr int kMinRate = 8000, kMaxRate = 48000;

struct Group {
  int first;
  int last;
  const char* key;
  int FormatChoice::*field;
  int fallback;
};
constexpr Group kGroups[] = {
    {IDC_RATE_11025, IDC_RATE_CUSTOM, "SampRate", &FormatChoice::rate, IDC_RATE_44100},
    {IDC_SIZE_8, IDC_SIZE_16, "SampSize", &FormatChoice::size, IDC_SIZE_16},
    {IDC_MONO, IDC_STEREO, "Channels", &FormatChoice::channels, IDC_STEREO},
};

struct DialogState {
  FormatChoice choice;
  bool (*accept)(const RecordingFormat&);
};

// The dialog is modal: one at a time.
DialogState* shown_state = nullptr;

const Group* group_of(int id) {
  for (const Group& g : kGroups)
    if (id >= g.first && id <= g.last) return &g;
  return nullptr;
}

// Centred on the main window, its size and place in the Z order kept.
void centre_on_main_window(HWND dialog) {
  RECT main{}, own{};
  GetWindowRect(main_window, &main);
  GetWindowRect(dialog, &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  SetWindowPos(dialog, nullptr, main.left + (main.right - main.left - width) / 2,
               main.top + (main.bottom - main.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void on_ok(HWND dialog, DialogState& state) {
  int custom = 0;
  if (state.choice.rate == IDC_RATE_CUSTOM) {
    char text[15] = "";
    GetDlgItemTextA(dialog, IDC_CUSTOM_RATE, text, sizeof text);
    const std::optional<int> rate = custom_rate_hz(text);
    if (!rate) {
      MessageBoxA(dialog, "Invalid Sampling Rate!", "ERROR", MB_OK | MB_ICONEXCLAMATION);
      SetFocus(GetDlgItem(dialog, IDC_CUSTOM_RATE));
      return;
    }
    custom = *rate;
  }
  // A recording the save question could not save abandons New... altogether.
  if (!state.accept(format_of(state.choice, custom))) {
    EndDialog(dialog, IDCANCEL);
    return;
  }
  write_format_choice(state.choice);
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK format_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  DialogState* state = shown_state;
  if (message == WM_INITDIALOG) {
    centre_on_main_window(dialog);
    for (const Group& g : kGroups) CheckRadioButton(dialog, g.first, g.last, state->choice.*g.field);
    return TRUE;
  }
  if (message != WM_COMMAND || state == nullptr) return FALSE;
  const int id = LOWORD(wparam);
  if (id == IDOK) {
    on_ok(dialog, *state);
  } else if (id == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
  } else if (const Group* g = group_of(id); g && HIWORD(wparam) == BN_CLICKED) {
    state->choice.*g->field = id;
    CheckRadioButton(dialog, g->first, g->last, id);
  } else {
    return FALSE;
  }
  return TRUE;
}

}  // namespace

FormatChoice read_format_choice() {
  FormatChoice choice{};
  const std::string file = settings_path();
  for (const Group& g : kGroups)
    choice.*g.field = static_cast<int>(GetPrivateProfileIntA("Rack", g.key, g.fallback, file.c_str()));
  return choice;
}

void write_format_choice(const FormatChoice& choice) {
  const std::string file = settings_path();
  for (const Group& g : kGroups) {
    char number[16];
    std::snprintf(number, sizeof number, "%d", choice.*g.field);
    WritePrivateProfileStringA("Rack", g.key, number, file.c_str());
  }
}

std::optional<int> custom_rate_hz(const std::string& khz) {
  // 11.025 kHz is 11024.99… in binary floating point: rounded, not cut.
  const double hz = std::strtod(khz.c_str(), nullptr) * 1000.0;
  if (!std::isfinite(hz) || hz < kMinRate - 0.5 || hz >= kMaxRate + 0.5) return std::nullopt;
  const int rate = static_cast<int>(std::lround(hz));
  if (rate < kMinRate || rate > kMaxRate) return std::nullopt;
  return rate;
}

RecordingFormat format_of(const FormatChoice& choice, int custom_rate) {
  RecordingFormat format{44100, 16, 2};
  switch (choice.rate) {
    case IDC_RATE_11025: format.samples_per_second = 11025; break;
    case IDC_RATE_22050: format.samples_per_second = 22050; break;
    case IDC_RATE_CUSTOM: format.samples_per_second = custom_rate; break;
    default: break;
  }
  if (choice.size == IDC_SIZE_8) format.bits_per_sample = 8;
  if (choice.channels == IDC_MONO) format.channels = 1;
  return format;
}

bool run_format_dialog(bool (*accept)(const RecordingFormat&)) {
  DialogState state{read_format_choice(), accept};
  shown_state = &state;
  const INT_PTR result =
      DialogBoxParamA(program_instance, MAKEINTRESOURCEA(DLG_RECORD_FORMAT), main_window, format_dialog_proc, 0);
  shown_state = nullptr;
  return result == IDOK;
}
