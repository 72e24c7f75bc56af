// The playlist editor measured with a store of 20 playlists x 128 entries:
//   - Confirm's rewrite of the store (the play list, the names, and every
//     playlist copied from the scratch file), all in one profile batch;
//   - opening the editor over a folder of 5,000 files: from the command to the
//     dialog on screen with its lists, the chooser and the play list filled
//     (the store copied into the scratch file on the way), then Add all.
//
// Usage: bench_playlist [runs]   (default 20)
//        bench_playlist --picture FILE   (a picture of the editor at work, no figures)
#include <unistd.h>

#include <QApplication>
#include <QWidget>
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

// The editor for deck 1 over a folder of albums, a few playlists saved, one chosen.
int take_picture(const std::filesystem::path& home, const std::string& file) {
  const std::filesystem::path music = home / "Music" / "Night Drive";
  std::filesystem::create_directories(music);
  for (const char* folder : {"Archive", "Live at the Harbour", "Sketches"})
    std::filesystem::create_directories(music / folder);
  const char* titles[] = {"01 Slow Lights.wav",   "02 Harbour Wind.flac", "03 Motorway Hymn.wav",
                          "04 Blue Hour.ogg",     "05 Tunnel Echo.wav",   "06 Last Exit.mp3",
                          "07 Rain on Glass.wav", "08 Dawn Patrol.flac",  "cover.jpg",
                          "notes.txt",            "Night Drive.m3u8"};
  for (const char* title : titles) std::ofstream(music / title);
  const StoreFiles files = store_files(DeckKind::Wave);
  std::ofstream store(files.store);
  store << "[Templist]\nTotalListItems=3\n";
  for (int i = 0; i < 3; ++i) store << i << "=" << (music / titles[i]).string() << "\n";
  store << "[Playlist]\nTotalPlaylist=3\n1=Morning Coffee\n2=Night Drive\n3=Road Trip\n"
        << "[Morning Coffee]\nTotalListItems=1\n0=/home/listener/Music/Coffee.wav\n"
        << "[Night Drive]\nTotalListItems=5\n";
  for (int i = 0; i < 5; ++i) store << i << "=" << (music / titles[i * 2 % 8]).string() << "\n";
  store << "[Road Trip]\nTotalListItems=0\n";
  store.close();
  std::filesystem::current_path(music);
  bool saved = false;
  ui_test::on_dialog([&](HWND editor) {
    ui_test::select_item(editor, IDC_PLAYLIST_CHOOSER, 1);
    ui_test::select_item(editor, lst1, 6);
    ui_test::click_control(editor, IDC_PLAYLIST_ADD);
    ui_test::select_item(editor, IDC_PLAYLIST_ITEMS, 2);
    ui_test::pump(200);
    if (QWidget* dialog = QApplication::activeModalWidget()) saved = dialog->grab().save(QString::fromStdString(file));
    ui_test::click_control(editor, IDCANCEL);
  });
  open_playlist_editor(nullptr, WM_COMMAND, IDM_TAPE1_PLAYLIST, 0);
  std::printf(saved ? "picture: %s\n" : "no picture taken (%s)\n", file.c_str());
  return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool picture = argc > 2 && std::string(argv[1]) == "--picture";
  const int runs = !picture && argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const std::filesystem::path home = std::filesystem::temp_directory_path() / ("bench_playlist." + std::to_string(::getpid()));
  std::filesystem::create_directories(home / "media");
  setenv("QUORVIN_HOME", home.c_str(), 1);
  QApplication app(argc, argv);
  InstallResources();
  ui_test::script_ui();
  if (picture) {
    const int code = take_picture(home, std::filesystem::absolute(argv[2]).string());
    std::filesystem::current_path("/");
    std::filesystem::remove_all(home);
    return code;
  }

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
      if (ui_test::control_items(editor, IDC_PLAYLIST_ITEMS).size() != 128) std::printf("Add all did not fill the list\n");
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
