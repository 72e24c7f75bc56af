#include "decks/save_recording.h"

#include <cstdio>
#include <string>
#include <vector>

#include "decks/deck_model.h"
#include "platform/ui/windows.h"
#include "resources/ids/strings.h"
#include "skin/file_filter.h"
#include "skin/rack_state.h"

namespace {

void show_save_failure(HWND owner, MCIERROR error, const std::string& path) {
  char reason[256] = "";
  if (!mciGetErrorStringA(error, reason, sizeof reason)) std::snprintf(reason, sizeof reason, "Error %u.", error);
  const std::string text = "The recording could not be saved as\n" + path + "\n\n" + reason +
                           "\n\nIt is still on deck 2; save it under another name.";
  MessageBoxA(owner, text.c_str(), "Save", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

SaveOutcome save_recording_as(HWND owner) {
  Deck& deck = wave_deck(2);
  if (!deck.loaded()) return SaveOutcome::Cancelled;
  const std::string filter = load_file_filter(IDS_WAVE_SAVE_FILTER);
  // The proposed name, in the folder the deck's file came from (none for a new recording).
  std::vector<char> file(MAX_PATH + 1, '\0');
  deck.path.copy(file.data(), file.size() - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = "wav";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN;
  if (!GetSaveFileNameA(&ofn)) return SaveOutcome::Cancelled;

  const std::string path = file.data();
  if (path.find('"') != std::string::npos) {
    MessageBoxA(owner, ("A media command can not carry a double quote (\"):\n" + path).c_str(), "Save",
                MB_OK | MB_ICONEXCLAMATION);
    return SaveOutcome::Failed;
  }
  const std::string save = std::string("save ") + deck.alias + " \"" + path + "\"";
  if (MCIERROR error = mciSendStringA(save.c_str(), nullptr, 0, nullptr)) {
    show_save_failure(owner, error, path);
    return SaveOutcome::Failed;
  }
  // A take still running goes on changing the recording after this save.
  deck.modified = deck.state == kRecording ? 1 : 0;
  deck.path = path;
  deck.name_offset = ofn.nFileOffset <= path.size() ? ofn.nFileOffset : name_offset_of(path);
  draw_wave_lcd(2);
  end_pending_recording();
  return SaveOutcome::Saved;
}

bool ask_to_save_recording(HWND owner) {
  const Deck& deck = wave_deck(2);
  if (!deck.loaded() || !deck.modified) return true;
  const std::string question = std::string(deck.file_name()) + " was modified. Do you want to save it?";
  if (MessageBoxA(owner, question.c_str(), "Verify", MB_YESNO | MB_ICONQUESTION) != IDYES) return true;
  // Having asked to save, backing out of the dialog keeps the recording too.
  return save_recording_as(owner) == SaveOutcome::Saved;
}

LRESULT save_tape2(HWND, UINT, WPARAM, LPARAM) {
  save_recording_as(main_window);
  return 0;
}
