// The rack tick's look at the editor's Play button: a "Sto&p" caption turns
// back into "&Play" once the deck the editor was opened for has stopped.
#include <cstring>

#include "platform/ui/windows.h"
#include "playlist/editor_state.h"
#include "playlist/playlist.h"
#include "resources/ids/dialogs.h"
#include "resources/ids/menus.h"

namespace {

bool shows_stop() {
  char caption[16] = "";
  if (editor.window != nullptr) GetDlgItemTextA(editor.window, IDC_PLAYLIST_PLAY, caption, sizeof caption);
  return std::strcmp(caption, "Sto&p") == 0;
}

void back_to_play() { SetDlgItemTextA(editor.window, IDC_PLAYLIST_PLAY, "&Play"); }

}  // namespace

void midi_editor_caption_step() {
  if (shows_stop() && midi_deck.state == kStopped && editor.target == IDM_MIDI_PLAYLIST) back_to_play();
}

void wave_editor_caption_step() {
  if (!shows_stop()) return;
  if (wave_deck(1).state == kStopped && editor.target == IDM_TAPE1_PLAYLIST) back_to_play();
  if (wave_deck(2).state == kStopped && editor.target == IDM_TAPE2_PLAYLIST) back_to_play();
}
