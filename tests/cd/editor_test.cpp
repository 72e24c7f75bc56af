// The program editor and the title dialogs, driven from inside their modal loops.
#include <gtest/gtest.h>

#include <functional>

#include "cd/cd.h"
#include "cd/cd_deck.h"
#include "cd_rack_fixture.h"
#include "platform/profile/profile.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "resources/ids/dialogs.h"
#include "skin/rack_state.h"
#include "support/file_size_limit.h"
#include "support/rack_program.h"

namespace {

// Six tracks of 2, 3, … 7 seconds: identity 06-0027-0002-0007.
constexpr const char* kSection = "06-0027-0002-0007";
testmedia::CdImage six_tracks() { return testmedia::cd_image_of({2, 3, 4, 5, 6, 7}); }

void click(HWND dialog, int id, WORD code = BN_CLICKED) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void select(HWND dialog, int list, std::initializer_list<int> lines) {
  SendDlgItemMessageA(dialog, list, LB_SETSEL, FALSE, -1);
  for (int i : lines) SendDlgItemMessageA(dialog, list, LB_SETSEL, TRUE, i);
}

int lines(HWND dialog, int list) { return static_cast<int>(SendDlgItemMessageA(dialog, list, LB_GETCOUNT, 0, 0)); }

std::string text(HWND dialog, int id) {
  char buffer[256];
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

std::string line(HWND dialog, int list, int i) {
  char buffer[256] = {};
  SendDlgItemMessageA(dialog, list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

// Opens the editor with `script` running inside it; the script ends it.
void in_editor(const std::function<void(HWND)>& script) {
  ui_test::on_dialog(script);
  command(CMD_CD_PROGRAM_EDIT);
}

void close_rack() { PostMessageA(main_window, WM_CLOSE, 0, 0); }

}  // namespace

TEST_F(CdRack, EditorRefusesPastOneHundredTwentyEight) {
  use_disc(six_tracks());
  run_rack([&] {
    ui_test::script_ui();
    for (int i = 0; i < 125; ++i) cd.program[i] = 1 + i % 6;
    cd.program[125] = kEndOfList;
    in_editor([](HWND d) {
      EXPECT_EQ(lines(d, IDC_CD_PROGRAM), 125);
      select(d, IDC_CD_AVAILABLE, {0, 1, 2, 3, 4});
      click(d, IDC_CD_ADD);
      EXPECT_EQ(lines(d, IDC_CD_PROGRAM), 125) << "five more are refused as a whole";
      ASSERT_EQ(ui_test::boxes().size(), 1u);
      EXPECT_EQ(ui_test::boxes()[0].text, "Total tracks must smaller than 128.");
      EXPECT_EQ(ui_test::boxes()[0].caption, "Message");
      select(d, IDC_CD_AVAILABLE, {0, 2, 5});
      click(d, IDC_CD_ADD);
      EXPECT_EQ(lines(d, IDC_CD_PROGRAM), 128);
      EXPECT_EQ(text(d, IDC_CD_PROGRAM_COUNT), "Selected Tracks: 128");
      EXPECT_EQ(line(d, IDC_CD_PROGRAM, 127).substr(0, 13), "06  [00:07]  ");
      SendDlgItemMessageA(d, IDC_CD_AVAILABLE, LB_SETCARETINDEX, 1, 0);
      click(d, IDC_CD_AVAILABLE, LBN_DBLCLK);
      EXPECT_EQ(lines(d, IDC_CD_PROGRAM), 128);
      EXPECT_EQ(ui_test::boxes().size(), 2u);
      click(d, IDOK);
    });
    EXPECT_EQ(list_length(cd.program), 128);
    EXPECT_EQ(cd.program[127], 6);
    close_rack();
  });
}

TEST_F(CdRack, EditorMovesRemovesAndTotals) {
  use_disc(six_tracks());
  run_rack([&] {
    TrackList program{3, 1, 6, 2, kEndOfList};
    cd.program = program;
    in_editor([](HWND d) {
      EXPECT_EQ(text(d, IDC_CD_AVAILABLE_COUNT), "Available Tracks: 6");
      EXPECT_EQ(text(d, IDC_CD_AVAILABLE_TOTAL), "Total :  [0:27]");
      EXPECT_EQ(text(d, IDC_CD_PROGRAM_TOTAL), "Total :  [0:16]");
      // Up on the first line and Down on the last change nothing.
      SendDlgItemMessageA(d, IDC_CD_PROGRAM, LB_SETCARETINDEX, 0, 0);
      click(d, IDC_CD_UP);
      SendDlgItemMessageA(d, IDC_CD_PROGRAM, LB_SETCARETINDEX, 3, 0);
      click(d, IDC_CD_DOWN);
      const char* unchanged[] = {"03", "01", "06", "02"};
      for (int i = 0; i < 4; ++i) EXPECT_EQ(line(d, IDC_CD_PROGRAM, i).substr(0, 2), unchanged[i]);
      // Up on the third line swaps it with the second; the caret follows it.
      SendDlgItemMessageA(d, IDC_CD_PROGRAM, LB_SETCARETINDEX, 2, 0);
      click(d, IDC_CD_UP);
      EXPECT_EQ(line(d, IDC_CD_PROGRAM, 1).substr(0, 2), "06");
      EXPECT_EQ(line(d, IDC_CD_PROGRAM, 2).substr(0, 2), "01");
      EXPECT_EQ(SendDlgItemMessageA(d, IDC_CD_PROGRAM, LB_GETCARETINDEX, 0, 0), 1);
      // Removing tracks 3 and 1 (lines 0 and 2) lowers the total by 4 + 2 seconds.
      select(d, IDC_CD_PROGRAM, {0, 2});
      click(d, IDC_CD_REMOVE);
      EXPECT_EQ(lines(d, IDC_CD_PROGRAM), 2);
      EXPECT_EQ(line(d, IDC_CD_PROGRAM, 0).substr(0, 2), "06");
      EXPECT_EQ(line(d, IDC_CD_PROGRAM, 1).substr(0, 2), "02");
      EXPECT_EQ(text(d, IDC_CD_PROGRAM_TOTAL), "Total :  [0:10]");
      EXPECT_EQ(text(d, IDC_CD_PROGRAM_COUNT), "Selected Tracks: 2");
      click(d, IDC_CD_ACCEPT_PLAY);
    });
    EXPECT_EQ(list_length(cd.program), 2);
    EXPECT_TRUE(ui_test::pump_until([] { return cd.play_mode == kPlayProgram; }, 1000));
    EXPECT_EQ(cd_current_track(), 6);
    close_rack();
  });
  EXPECT_EQ(read_setting(kSection, "LIST"), "<missing>") << "an untitled disc's program is not written";
}

TEST_F(CdRack, TitleDialogWritesEveryKeyAndTheEditorShowsTheTitles) {
  use_disc(six_tracks());
  run_rack([&] {
    in_editor([](HWND d) {
      ui_test::on_dialog([](HWND t) {
        SetDlgItemTextA(t, IDC_CD_DISC_TITLE, "Songs of the Northern Coast");
        ui_test::on_dialog([](HWND track) {
          EXPECT_EQ(text(track, IDC_CD_TRACK_LABEL), "Track : 03  [00:04]");
          SetDlgItemTextA(track, IDC_CD_TRACK_TITLE, "Gulls");
          click(track, IDOK);
        });
        SendDlgItemMessageA(t, IDC_CD_TITLE_TRACKS, LB_SETCARETINDEX, 2, 0);
        click(t, IDC_CD_TITLE_TRACKS, LBN_DBLCLK);
        EXPECT_EQ(line(t, IDC_CD_TITLE_TRACKS, 2), "03  [00:04]  Gulls");
        click(t, IDOK);
      });
      click(d, IDC_CD_OPEN_TITLES);
      EXPECT_EQ(line(d, IDC_CD_AVAILABLE, 2), "03  [00:04]  Gulls");
      EXPECT_EQ(text(d, IDC_CD_TITLE_LABEL), "Title : Songs of the Northern Coast");
      SendDlgItemMessageA(d, IDC_CD_AVAILABLE, LB_SETCARETINDEX, 2, 0);
      click(d, IDC_CD_AVAILABLE, LBN_DBLCLK);
      EXPECT_EQ(line(d, IDC_CD_PROGRAM, 0), "03  [00:04]  Gulls");
      click(d, IDOK);
    });
    EXPECT_EQ(cd.titled, 1);
    close_rack();
  });
  EXPECT_EQ(read_setting(kSection, "TRACKS"), "6");
  EXPECT_EQ(read_setting(kSection, "TITLE"), "Songs of the Northern Coast");
  EXPECT_EQ(read_setting(kSection, "TRACK03"), "Gulls");
  EXPECT_EQ(read_setting(kSection, "LENGTH"), "27");
  EXPECT_EQ(read_setting(kSection, "LIST"), " 1 3") << "titled now, so the program is stored";
  char value[8] = "x";
  GetPrivateProfileStringA(kSection, "TRACK01", "missing", value, sizeof value, home_.file("quorvin.ini").c_str());
  EXPECT_STREQ(value, "") << "empty titles are written too";
  GetPrivateProfileStringA(kSection, "TRACK06", "missing", value, sizeof value, home_.file("quorvin.ini").c_str());
  EXPECT_STREQ(value, "");
}

TEST_F(CdRack, AFailedTitleSaveIsToldOnceAndTheTitlesStay) {
  use_disc(six_tracks());
  run_rack([&] {
    ui_test::script_ui();
    {
      FileSizeLimit full(16);
      // Dialog scripts run in the order the dialogs open: the editor, then its title dialog.
      ui_test::on_dialog([](HWND d) {
        click(d, IDC_CD_OPEN_TITLES);
        click(d, IDCANCEL);
      });
      ui_test::on_dialog([](HWND t) {
        SetDlgItemTextA(t, IDC_CD_DISC_TITLE, "A Title Long Enough Not To Fit");
        click(t, IDOK);
      });
      command(CMD_CD_PROGRAM_EDIT);
    }
    EXPECT_EQ(cd_disc_title(), "A Title Long Enough Not To Fit");
    ASSERT_EQ(ui_test::boxes().size(), 1u);
    EXPECT_NE(ui_test::boxes()[0].text.find("quorvin.ini"), std::string::npos) << ui_test::boxes()[0].text;
    // Kept for this disc until the program ends, also across an eject.
    command(CMD_CD_EJECT);
    command(CMD_CD_EJECT);
    EXPECT_TRUE(ui_test::pump_until([] { return cd_ready() == 1; }, 2000));
    EXPECT_EQ(cd_disc_title(), "A Title Long Enough Not To Fit");
    close_rack();
  });
}

TEST_F(CdRack, TitleDialogsTakeEnterAndEscapeAndFocusTheirEdits) {
  use_disc(six_tracks());
  run_rack([&] {
    // The editor, its title dialog, the track-title dialog, in the order they open.
    ui_test::on_dialog([](HWND d) {
      ui_test::click_control(d, IDC_CD_OPEN_TITLES);
      ui_test::key_in(d, IDC_CD_AVAILABLE, VK_ESCAPE);
    });
    ui_test::on_dialog([](HWND t) {
      EXPECT_TRUE(ui_test::has_focus(t, IDC_CD_DISC_TITLE));
      ui_test::set_text(t, IDC_CD_DISC_TITLE, "Typed, then dropped");
      ui_test::double_click_item(t, IDC_CD_TITLE_TRACKS, 4);
      EXPECT_EQ(line(t, IDC_CD_TITLE_TRACKS, 4), "05  [00:06]  Reef");
      ui_test::key_in(t, IDC_CD_TITLE_TRACKS, VK_ESCAPE);
    });
    ui_test::on_dialog([](HWND track) {
      EXPECT_TRUE(ui_test::has_focus(track, IDC_CD_TRACK_TITLE));
      ui_test::set_text(track, IDC_CD_TRACK_TITLE, "Reef");
      ui_test::key_in(track, IDC_CD_TRACK_TITLE, VK_RETURN);
    });
    command(CMD_CD_PROGRAM_EDIT);
    EXPECT_EQ(cd.titled, 0) << "Escape stores nothing";
    close_rack();
  });
  EXPECT_EQ(read_setting(kSection, "TITLE"), "<missing>");
}
