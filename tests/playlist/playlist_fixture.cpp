#include "playlist_fixture.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/profile/profile.h"
#include "platform/ui/windows.h"
#include "resources/ids/dialogs.h"

void PlaylistTest::SetUp() {
  DeckTest::SetUp();
  // The file list starts in the current folder: the test's own.
  char here[4096];
  saved_cwd = ::getcwd(here, sizeof here) ? here : "/";
  ASSERT_EQ(::chdir(home.path().c_str()), 0);
}

void PlaylistTest::TearDown() {
  EXPECT_EQ(::chdir(saved_cwd.c_str()), 0);
  DeckTest::TearDown();
}

std::string store_of(DeckKind kind) {
  char dir[4096];
  GetWindowsDirectoryA(dir, sizeof dir);
  return std::string(dir) + (kind == DeckKind::Midi ? "/midilist.ini" : "/wavelist.ini");
}

std::string scratch_of(DeckKind kind) {
  char dir[4096];
  GetWindowsDirectoryA(dir, sizeof dir);
  return std::string(dir) + (kind == DeckKind::Midi ? "/miditemp.ini" : "/wavetemp.ini");
}

void write_text(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<absent>";
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

void edit(WORD target, const std::function<void(HWND)>& script) {
  ui_test::on_dialog(script);
  command(target);
}

void name_dialog_answers(const char* name) {
  std::string typed = name ? name : "";
  const bool ok = name != nullptr;
  ui_test::on_dialog([typed, ok](HWND dialog) {
    ui_test::set_text(dialog, IDC_PLAYLIST_NAME, typed);
    ui_test::click_control(dialog, ok ? IDOK : IDCANCEL);
  });
}

std::vector<std::string> play_list_shown(HWND editor) { return ui_test::control_items(editor, IDC_PLAYLIST_ITEMS); }
