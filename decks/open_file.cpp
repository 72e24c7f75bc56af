#include "decks/open_file.h"

#include <string>
#include <vector>

#include "decks/deck_model.h"
#include "platform/profile/profile.h"
#include "platform/ui/windows.h"
#include "resources/ids/menus.h"
#include "resources/ids/strings.h"
#include "skin/file_filter.h"
#include "skin/rack_state.h"
#include "skin/settings_path.h"
#include "skin/settings_write.h"

namespace {

struct OpenTarget {
  WORD command;
  WORD filter;
  DeckKind kind;
  int number;
};
constexpr OpenTarget kTargets[] = {
    {IDM_TAPE1_OPEN, IDS_WAVE_FILTER, DeckKind::Wave, 1},
    {IDM_TAPE2_OPEN, IDS_WAVE_FILTER, DeckKind::Wave, 2},
    {IDM_MIDI_OPEN, IDS_MIDI_FILTER, DeckKind::Midi, 0},
};

std::string read_last_dir() {
  std::vector<char> dir(MAX_PATH + 1, '\0');
  GetPrivateProfileStringA("Directory", "LastDir", "", dir.data(), static_cast<DWORD>(dir.size()),
                           settings_path().c_str());
  return dir.data();
}

// What a loaded single file does to the playlists: its deck leaves playlist
// mode, and the other wave deck's playlist stops advancing.
void finish_single_file(const OpenTarget& target) {
  if (target.kind == DeckKind::Midi) {
    midi_load_finished();
    playlist_of(midi_deck).mode = 0;
    return;
  }
  wave_load_finished(target.number);
  playlist_of(wave_deck(target.number)).mode = 0;
  playlist_of(wave_deck(target.number == 1 ? 2 : 1)).running = 0;
}

}  // namespace

LRESULT open_deck_file(HWND, UINT, WPARAM id, LPARAM) {
  const OpenTarget* target = nullptr;
  for (const OpenTarget& t : kTargets)
    if (t.command == LOWORD(id)) target = &t;
  if (target == nullptr) return 0;

  const std::string last_dir = read_last_dir();
  const std::string filter = load_file_filter(target->filter);
  std::vector<char> file(MAX_PATH + 1, '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = main_window;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = last_dir.empty() ? nullptr : last_dir.c_str();
  ofn.Flags = OFN_OVERWRITEPROMPT;
  if (!GetOpenFileNameA(&ofn)) return 0;

  const std::string path = file.data();
  const std::size_t name_offset = ofn.nFileOffset <= path.size() ? ofn.nFileOffset : name_offset_of(path);
  // The folder with its trailing '/', for the next Open of any deck.
  save_setting("Directory", "LastDir", path.substr(0, name_offset).c_str());

  Deck& deck = target->kind == DeckKind::Midi ? midi_deck : wave_deck(target->number);
  if (target->number == 2 && !ask_to_save_recording(main_window)) return 0;
  if (open_into_deck(deck, path, name_offset)) finish_single_file(*target);
  return 0;
}
