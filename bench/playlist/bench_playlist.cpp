// The playlist editor measured with a store of 20 playlists x 128 entries:
//   - Confirm's rewrite of the store (the play list, the names, and every
//     playlist copied from the scratch file), all in one profile batch;
//   - opening the editor over a folder of 5,000 files: from the command to the
//     dialog on screen with its lists, the chooser and the play list filled
//     (the store copied into the scratch file on the way), then Add all.
//
// Usage: bench_playlist [runs]   (default 20)
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "playlist/playlist.h"
#include "playlist/store.h"
#include "resources/ids/dialogs.h"
#include "resources/ids/menus.h"
#include "resources/resources.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPlaylists = 20;
constexpr int kEntries = 128;
constexpr int kFolderFiles = 5000;

double ms_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string entry_path(int p, int e) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "/home/listener/Music/Collection %02d/Track %03d - Some Artist.wav", p, e);
  return buf;
}

// A store as the editor leaves it: a full play list and 20 full playlists.
void write_full_store(const std::string& path) {
  std::ofstream out(path);
  out << "[Templist]\nTotalListItems=" << kEntries << "\n";
  for (int e = 0; e < kEntries; ++e) out << e << "=" << entry_path(0, e) << "\n";
  out << "[Settings]\nCurrentPlaylist=Mix 1\n[Playlist]\nTotalPlaylist=" << kPlaylists << "\n";
  for (int p = 0; p < kPlaylists; ++p) out << p + 1 << "=Mix " << p + 1 << "\n";
  for (int p = 0; p < kPlaylists; ++p) {
    out << "[Mix " << p + 1 << "]\nTotalListItems=" << kEntries << "\n";
    for (int e = 0; e < kEntries; ++e) out << e << "=" << entry_path(p, e) << "\n";
  }
}

struct Figures {
  std::vector<double> ms;
  void print(const char* what) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-58s median %7.2f ms  worst %7.2f ms  (%zu runs)\n", what, ms[ms.size() / 2], ms.back(), ms.size());
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const std::filesystem::path home = std::filesystem::temp_directory_path() / ("bench_playlist." + std::to_string(::getpid()));
  std::filesystem::create_directories(home / "media");
  setenv("QUORVIN_HOME", home.c_str(), 1);
  QApplication app(argc, argv);
  InstallResources();
  ui_test::script_ui();

  const StoreFiles files = store_files(DeckKind::Wave);
  write_full_store(files.store);
  copy_store_to_scratch(files);
  std::vector<std::string> play_list, names;
  for (int e = 0; e < kEntries; ++e) play_list.push_back(entry_path(0, e));
  for (int p = 0; p < kPlaylists; ++p) names.push_back("Mix " + std::to_string(p + 1));

  Figures confirm;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    if (!write_store(files, play_list, names, 0)) std::printf("the store could not be written\n");
    confirm.ms.push_back(ms_since(start));
  }
  confirm.print("Confirm: store of 20 x 128 rewritten (one batch)");

  for (int f = 0; f < kFolderFiles; ++f) std::ofstream(home / "media" / ("Track " + std::to_string(10000 + f) + ".wav"));
  std::filesystem::current_path(home / "media");
  Figures opening, add_all;
  for (int i = 0; i < runs; ++i) {
    Clock::time_point start;
    ui_test::on_dialog([&](HWND editor) {
      opening.ms.push_back(ms_since(start));
      const auto added = Clock::now();
      ui_test::click_control(editor, IDC_PLAYLIST_CLEAR);
      ui_test::answer_box(IDOK);  // the 128-files message
      ui_test::click_control(editor, IDC_PLAYLIST_ADD_ALL);
      add_all.ms.push_back(ms_since(added));
      ui_test::click_control(editor, IDCANCEL);
    });
    start = Clock::now();
    open_playlist_editor(nullptr, WM_COMMAND, IDM_TAPE1_PLAYLIST, 0);
  }
  opening.print("Opening the editor over 5,000 files (store 20 x 128)");
  add_all.print("Add all in that folder (128 taken, then the message)");
  std::filesystem::current_path("/");
  std::filesystem::remove_all(home);
  return 0;
}
