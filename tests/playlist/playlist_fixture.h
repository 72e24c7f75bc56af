#pragma once
// The playlist editor in the running program: the stores' paths, files read
// and written whole, and the editor run with a script in its dialog.
#include <functional>
#include <string>

#include "deck_fixture.h"

struct PlaylistTest : DeckTest {
  void SetUp() override;
  void TearDown() override;
  std::string saved_cwd;
};

std::string store_of(DeckKind kind);
std::string scratch_of(DeckKind kind);
void write_text(const std::string& path, const std::string& text);
std::string read_text(const std::string& path);  // "<absent>" when there is no such file
bool exists(const std::string& path);

// Opens the editor with command `target` (119, 120, 121); `script` runs in its
// dialog and must end it. Returns when the editor has closed.
void edit(WORD target, const std::function<void(HWND)>& script);
// The next name dialog: `name` typed and OK, or Cancel when `name` is null.
void name_dialog_answers(const char* name);
std::vector<std::string> play_list_shown(HWND editor);
