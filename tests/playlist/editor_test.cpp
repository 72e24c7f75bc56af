// The playlist editor in the running program, driven as a user drives it:
// what opening, Cancel and Confirm do to the store, its scratch copy and the
// deck; the 128-entry limit; names; the save question; M3U in and out.
#include <sys/stat.h>

#include <algorithm>

#include "platform/profile/profile.h"
#include "platform/ui/windows.h"
#include "playlist_fixture.h"
#include "resources/ids/commands.h"
#include "resources/ids/dialogs.h"
#include "resources/ids/menus.h"
#include "skin/rack_state.h"

namespace {

std::string profile_value(const char* section, const char* key, const std::string& file) {
  char value[4096];
  GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
  return value;
}

int file_index(HWND editor, const std::string& name) {
  const auto files = ui_test::control_items(editor, lst1);
  return static_cast<int>(std::find(files.begin(), files.end(), name) - files.begin());
}

bool box_says(std::size_t index, const std::string& caption, const std::string& part) {
  const auto& boxes = ui_test::boxes();
  return index < boxes.size() && boxes[index].caption == caption && boxes[index].text.find(part) != std::string::npos;
}

const std::string kStore =
    "[Templist]\nTotalListItems=2\n0=/music/a.mid\n1=/music/b.mid\n"
    "[Settings]\nCurrentPlaylist=Night\n"
    "[Playlist]\nTotalPlaylist=2\n1=Morning\n2=Night\n"
    "[Morning]\nTotalListItems=1\n0=/music/c.mid\n"
    "[Night]\nTotalListItems=2\n0=/music/d.mid\n1=/music/e.mid\n";

}  // namespace

TEST_F(PlaylistTest, OpeningCopiesThePlaylistsAsideAndCancelLeavesTheStoreByteForByte) {
  write_text(store_of(DeckKind::Midi), kStore);
  run_rack([&] {
    playlist_of(midi_deck).mode = 1;
    edit(IDM_MIDI_PLAYLIST, [&](HWND editor) {
      EXPECT_EQ(profile_value("Playlist", "2", scratch_of(DeckKind::Midi)), "Night");
      EXPECT_EQ(profile_value("Night", "1", scratch_of(DeckKind::Midi)), "/music/e.mid");
      EXPECT_EQ(play_list_shown(editor), (std::vector<std::string>{"a.mid", "b.mid"}));
      EXPECT_EQ(ui_test::control_items(editor, IDC_PLAYLIST_CHOOSER), (std::vector<std::string>{"Morning", "Night"}));
      EXPECT_TRUE(ui_test::selected_items(editor, IDC_PLAYLIST_CHOOSER).empty());
      // Choosing loads; saving and editing change only the scratch copy.
      ui_test::select_item(editor, IDC_PLAYLIST_CHOOSER, 1);
      EXPECT_EQ(play_list_shown(editor), (std::vector<std::string>{"d.mid", "e.mid"}));
      ui_test::double_click_item(editor, IDC_PLAYLIST_ITEMS, 0);
      name_dialog_answers("Late");
      ui_test::click_control(editor, IDC_PLAYLIST_SAVE);
      EXPECT_EQ(profile_value("Late", "0", scratch_of(DeckKind::Midi)), "/music/e.mid");
      ui_test::click_control(editor, IDCANCEL);
    });
    EXPECT_EQ(playlist_of(midi_deck).mode, 0);
    // Opened again: what was saved before Cancel is gone.
    edit(IDM_MIDI_PLAYLIST, [&](HWND editor) {
      EXPECT_EQ(ui_test::control_items(editor, IDC_PLAYLIST_CHOOSER), (std::vector<std::string>{"Morning", "Night"}));
      ui_test::click_control(editor, IDCANCEL);
    });
    close_rack();
  });
  EXPECT_EQ(read_text(store_of(DeckKind::Midi)), kStore);
  EXPECT_FALSE(exists(scratch_of(DeckKind::Midi)));
}

TEST_F(PlaylistTest, ConfirmWithAnEmptyPlayListClosesTheDeckAndLeavesNoStore) {
  const std::string tune = midi("tune.mid");
  write_text(store_of(DeckKind::Midi), "[Templist]\nTotalListItems=1\n0=" + tune + "\n");
  run_rack([&] {
    load(midi_deck, tune);
    playlist_of(midi_deck).mode = 1;
    edit(IDM_MIDI_PLAYLIST, [](HWND editor) {
      ui_test::click_control(editor, IDC_PLAYLIST_CLEAR);
      ui_test::click_control(editor, IDOK);
    });
    EXPECT_FALSE(midi_deck.loaded());
    EXPECT_EQ(playlist_of(midi_deck).mode, 1);  // left as it was
    close_rack();
  });
  EXPECT_FALSE(exists(store_of(DeckKind::Midi)));
  EXPECT_FALSE(exists(scratch_of(DeckKind::Midi)));
}

TEST_F(PlaylistTest, APlayListWithAGapPlaysUpToTheGapAndStopsThere) {
  const std::string first = wav("first.wav", 0.2), third = wav("third.wav", 0.2);
  write_text(store_of(DeckKind::Wave), "[Templist]\nTotalListItems=3\n0=" + first + "\n2=" + third + "\n");
  run_rack([&] {
    edit(IDM_TAPE1_PLAYLIST, [](HWND editor) {
      EXPECT_EQ(play_list_shown(editor), (std::vector<std::string>{"first.wav", "No Title", "third.wav"}));
      ui_test::click_control(editor, IDC_PLAYLIST_PLAY);
    });
    ui_test::pump(30);
    EXPECT_EQ(wave_deck(1).state, kPlaying);
    play_out();
    EXPECT_EQ(wave_playlist_index, 1);
    EXPECT_EQ(wave_deck(1).path, first);
    EXPECT_EQ(wave_deck(1).state, kStopped);
    close_rack();
  });
  // The editor copied the gap as an entry of that text.
  EXPECT_NE(read_text(store_of(DeckKind::Wave)).find("1=No Title"), std::string::npos);
}

TEST_F(PlaylistTest, The129thEntryIsRefusedOneByOneAndByAddAll) {
  for (int i = 0; i < 130; ++i) wav("take" + std::to_string(1000 + i) + ".wav", 0.01);
  run_rack([&] {
    edit(IDM_TAPE1_PLAYLIST, [](HWND editor) {
      ui_test::click_control(editor, IDC_PLAYLIST_ADD_ALL);
      EXPECT_EQ(play_list_shown(editor).size(), 128u);
      EXPECT_EQ(play_list_shown(editor).back(), "take1127.wav");
      ui_test::select_item(editor, lst1, 129);
      ui_test::double_click_item(editor, lst1, 129);
      ui_test::click_control(editor, IDC_PLAYLIST_ADD);
      EXPECT_EQ(play_list_shown(editor).size(), 128u);
      // Removing one makes room for exactly one.
      ui_test::select_item(editor, IDC_PLAYLIST_ITEMS, 0);
      ui_test::click_control(editor, IDC_PLAYLIST_REMOVE);
      ui_test::double_click_item(editor, lst1, 129);
      EXPECT_EQ(play_list_shown(editor).front(), "take1001.wav");
      EXPECT_EQ(play_list_shown(editor).back(), "take1129.wav");
      ui_test::click_control(editor, IDOK);
    });
    close_rack();
  });
  ASSERT_EQ(ui_test::boxes().size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(box_says(i, "Error", "Playlist can not hold more than 128 files!"));
  EXPECT_EQ(profile_value("Templist", "127", store_of(DeckKind::Wave)), home.file("take1129.wav"));
}

TEST_F(PlaylistTest, NamesAreCheckedAndOneDifferingOnlyInCaseIsTheSamePlaylist) {
  const std::string song = wav("song.wav", 0.2);
  run_rack([&] {
    edit(IDM_TAPE2_PLAYLIST, [&](HWND editor) {
      ui_test::click_control(editor, IDC_PLAYLIST_SAVE);  // nothing to save yet
      ui_test::double_click_item(editor, lst1, file_index(editor, "song.wav"));
      name_dialog_answers("Evening");
      ui_test::click_control(editor, IDC_PLAYLIST_SAVE);
      // A refused name, and an existing one answered No: the name dialog comes back.
      name_dialog_answers("settings");
      name_dialog_answers("EVENING");
      name_dialog_answers(nullptr);
      ui_test::answer_box(IDOK);
      ui_test::answer_box(IDNO);
      ui_test::click_control(editor, IDC_PLAYLIST_SAVE);
      ui_test::pump(100);
      name_dialog_answers("evening");
      ui_test::answer_box(IDYES);
      ui_test::click_control(editor, IDC_PLAYLIST_SAVE);
      EXPECT_EQ(ui_test::control_items(editor, IDC_PLAYLIST_CHOOSER), std::vector<std::string>{"Evening"});
      ui_test::click_control(editor, IDOK);
    });
    close_rack();
  });
  const auto& boxes = ui_test::boxes();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_TRUE(box_says(0, "Information", "The playlist is empty, please add file name first!"));
  EXPECT_TRUE(box_says(1, "Playlist Name", "\"settings\" is a name the playlist file uses for itself"));
  EXPECT_TRUE(box_says(2, "Information", "The playlist already exists, do you want to overwrite it?"));
  EXPECT_TRUE(box_says(3, "Information", "The playlist already exists"));
  EXPECT_EQ(profile_value("Playlist", "TotalPlaylist", store_of(DeckKind::Wave)), "1");
  EXPECT_EQ(profile_value("Settings", "CurrentPlaylist", store_of(DeckKind::Wave)), "Evening");
  EXPECT_EQ(profile_value("EVENING", "0", store_of(DeckKind::Wave)), song);
}

TEST_F(PlaylistTest, DeletingTheLastPlaylistLeavesNoSelectionAndConfirmWritesNoNames) {
  const std::string tune = midi("tune.mid");
  write_text(store_of(DeckKind::Midi), kStore);
  run_rack([&] {
    edit(IDM_MIDI_PLAYLIST, [](HWND editor) {
      for (int left = 2; left > 0; --left) {
        ui_test::select_item(editor, IDC_PLAYLIST_CHOOSER, 0);
        ui_test::click_control(editor, IDC_PLAYLIST_DELETE);
      }
      EXPECT_TRUE(ui_test::control_items(editor, IDC_PLAYLIST_CHOOSER).empty());
      EXPECT_TRUE(ui_test::selected_items(editor, IDC_PLAYLIST_CHOOSER).empty());
      EXPECT_TRUE(play_list_shown(editor).empty());
      ui_test::double_click_item(editor, lst1, file_index(editor, "tune.mid"));
      ui_test::click_control(editor, IDOK);
    });
    EXPECT_EQ(midi_deck.path, tune);
    close_rack();
  });
  EXPECT_TRUE(box_says(0, "Delete Playlist", "The current playlist will be deleted!"));
  EXPECT_EQ(read_text(store_of(DeckKind::Midi)), "[Templist]\nTotalListItems=1\n0=" + tune + "\n");
}

TEST_F(PlaylistTest, AnOverlongPathIsRefusedWhenAddedNeverCut) {
  const std::string folder = home.file(std::string(120, 'f'));
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  write_text(folder + "/long.wav", "");
  write_text(home.file("short.wav"), "");
  run_rack([&] {
    edit(IDM_TAPE1_PLAYLIST, [&](HWND editor) {
      const auto folders = ui_test::control_items(editor, lst2);
      const auto at = std::find(folders.begin(), folders.end(), std::string(120, 'f'));
      ui_test::double_click_item(editor, lst2, static_cast<int>(at - folders.begin()));
      ui_test::click_control(editor, IDC_PLAYLIST_ADD_ALL);
      EXPECT_TRUE(play_list_shown(editor).empty());
      ui_test::click_control(editor, IDCANCEL);
    });
    close_rack();
  });
  EXPECT_TRUE(box_says(0, "Playlist", "longer than the 127 characters"));
}

TEST_F(PlaylistTest, ConfirmForDeck2AsksTheSaveQuestionAndAbandonsWhenTheSaveIsBackedOutOf) {
  const std::string take = wav("take.wav", 0.3), other = wav("other.wav", 0.2), song = wav("song.wav", 0.2);
  run_rack([&] {
    load(wave_deck(1), other);
    load(wave_deck(2), take);
    wave_deck(2).modified = 1;
    edit(IDM_TAPE2_PLAYLIST, [&](HWND editor) {
      ui_test::double_click_item(editor, lst1, file_index(editor, "song.wav"));
      ui_test::answer_box(IDYES);
      ui_test::answer_file_dialog("");  // the Save dialog backed out of
      ui_test::click_control(editor, IDOK);
      EXPECT_EQ(wave_deck(2).path, take);
      EXPECT_FALSE(exists(store_of(DeckKind::Wave)));
      ui_test::answer_box(IDNO);  // now the take may go
      ui_test::click_control(editor, IDOK);
    });
    EXPECT_EQ(wave_deck(2).path, song);
    EXPECT_EQ(playlist_of(wave_deck(2)).mode, 1);
    EXPECT_FALSE(wave_deck(1).loaded());  // one deck plays the wave play list
    ui_test::pump(30);
    EXPECT_EQ(count_not(Module::Wave, kWaveDeckFaces[0].lcd, kBlack), 0);  // its LCD is dark
    EXPECT_EQ(active_wave_deck, 2);
    close_rack();
  });
}

TEST_F(PlaylistTest, M3uEntriesAreAddedAndThePlayListExportsAsM3u8) {
  ASSERT_EQ(::mkdir(home.file("sub").c_str(), 0755), 0);
  write_text(home.file("mix.m3u8"), "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:3,One\r\nsub/one.wav\r\n\r\nhttp://radio/x\r\n"
                                    "file:///music/two%20b.wav\r\n../abs/../three.wav\r\n");
  const std::string exported = home.file("out.m3u8");
  run_rack([&] {
    edit(IDM_TAPE1_PLAYLIST, [&](HWND editor) {
      ui_test::select_item(editor, cmb1, 3);  // the playlists after the deck's three filters
      ASSERT_EQ(ui_test::control_items(editor, lst1), std::vector<std::string>{"mix.m3u8"});
      ui_test::click_control(editor, IDC_PLAYLIST_ADD_ALL);
      ui_test::answer_file_dialog(exported);
      ui_test::click_control(editor, IDC_PLAYLIST_EXPORT);
      ui_test::click_control(editor, IDCANCEL);
    });
    close_rack();
  });
  const std::string parent = home.path().substr(0, home.path().rfind('/'));
  EXPECT_EQ(read_text(exported), "#EXTM3U\n" + home.file("sub/one.wav") + "\n/music/two b.wav\n" + parent +
                                     "/three.wav\n");
  EXPECT_TRUE(box_says(0, "Playlist", "1 web address(es)"));
}

TEST_F(PlaylistTest, TheTickGivesThePlayButtonBackItsCaptionOnceTheDeckStops) {
  const std::string tune = midi("tune.mid");
  run_rack([&] {
    load(midi_deck, tune);
    command(CMD_MIDI_PLAY);
    edit(IDM_MIDI_PLAYLIST, [](HWND editor) {
      SetDlgItemTextA(editor, IDC_PLAYLIST_PLAY, "Sto&p");
      ui_test::pump(300);
      EXPECT_EQ(ui_test::control_text(editor, IDC_PLAYLIST_PLAY), "Sto&p");  // still playing
      command(CMD_MIDI_STOP);
      // The next tick, however late it comes on a loaded machine.
      for (int i = 0; i < 300 && ui_test::control_text(editor, IDC_PLAYLIST_PLAY) != "&Play"; ++i) ui_test::pump(10);
      EXPECT_EQ(ui_test::control_text(editor, IDC_PLAYLIST_PLAY), "&Play");
      ui_test::click_control(editor, IDCANCEL);
    });
    close_rack();
  });
}

TEST_F(PlaylistTest, ClosingTheProgramUnderTheEditorLeavesNoScratchFile) {
  write_text(store_of(DeckKind::Midi), kStore);
  run_rack([&] {
    edit(IDM_MIDI_PLAYLIST, [](HWND) {
      EXPECT_TRUE(exists(scratch_of(DeckKind::Midi)));
      close_rack();
      ui_test::pump(200);
    });
  });
  EXPECT_FALSE(exists(scratch_of(DeckKind::Midi)));
  EXPECT_EQ(read_text(store_of(DeckKind::Midi)), kStore);
}
