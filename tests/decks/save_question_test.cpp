// The save question before anything replaces or closes deck 2's unsaved
// recording: Close, Open into deck 2, New..., the main window's close; a save
// that fails or is backed out of abandons the action and keeps the recording.
#include <filesystem>

#include "platform/audio/recorder.h"
#include "platform/ui/windows.h"
#include "recording_fixture.h"
#include "resources/ids/commands.h"
#include "resources/ids/menus.h"
#include "skin/rack_state.h"

namespace {

namespace fs = std::filesystem;

void unsaved_take_over(const std::string& path) {
  ASSERT_TRUE(load(wave_deck(2), path));
  record_take(300);
}

void fail_saves(audio::SaveStep failing) {
  audio::set_save_fault_for_testing([failing](audio::SaveStep step) { return step != failing; });
}

bool asked_to_save(const ui_test::ShownBox& box, const std::string& name) {
  return box.caption == "Verify" && box.text == name + " was modified. Do you want to save it?" &&
         (box.type & MB_YESNO) == MB_YESNO;
}

using SaveQuestion = RecordingTest;

// Close: a failed save (the user told which path and why) and a backed-out
// Save dialog keep the deck as it was and nothing under the name; No loses the
// take; Yes saves it through a wave-only Save dialog, then closes.
TEST_F(SaveQuestion, CloseGoesOnOnlyOnceTheRecordingIsSavedOrGivenUp) {
  const std::string song = wav("song.wav", 1.0), target = home.file("out.wav");
  run_rack([&] {
    const Deck& deck = wave_deck(2);
    unsaved_take_over(song);
    fail_saves(audio::SaveStep::Write);
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog(target);
    command(IDM_TAPE2_CLOSE);
    EXPECT_EQ(deck.path, song);
    EXPECT_EQ(deck.modified, 1);
    EXPECT_NE(mciGetDeviceIDA("tape2"), 0u);
    EXPECT_FALSE(fs::exists(target));

    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog("");
    command(IDM_TAPE2_CLOSE);
    EXPECT_EQ(deck.modified, 1);

    ui_test::answer_box(IDNO);
    command(IDM_TAPE2_CLOSE);
    EXPECT_FALSE(deck.loaded());

    audio::set_save_fault_for_testing(nullptr);
    unsaved_take_over(song);
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog(target);
    command(IDM_TAPE2_CLOSE);
    EXPECT_FALSE(deck.loaded());
    close_rack();
  });
  const auto& boxes = ui_test::boxes();
  ASSERT_EQ(boxes.size(), 5u);
  EXPECT_TRUE(asked_to_save(boxes[0], "song.wav"));
  EXPECT_NE(boxes[1].text.find(target), std::string::npos) << boxes[1].text;
  EXPECT_NE(boxes[1].text.find("not saved"), std::string::npos) << boxes[1].text;
  EXPECT_TRUE(asked_to_save(boxes[4], "song.wav"));
  EXPECT_TRUE(fs::exists(target));
  const ui_test::ShownFileDialog& dialog = ui_test::file_dialogs().back();
  EXPECT_TRUE(dialog.save);
  EXPECT_EQ(dialog.filters, std::vector<std::string>{"Wave Files (*.wav)|*.wav"});
  EXPECT_EQ(dialog.flags & (OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN), OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN);
}

// Open into deck 2 and New... ask before they replace the recording; an
// unmodified deck is not asked about.
TEST_F(SaveQuestion, OpenAndNewAskFirst) {
  const std::string song = wav("song.wav", 1.0), other = wav("other.wav", 0.5);
  run_rack([&] {
    unsaved_take_over(song);
    fail_saves(audio::SaveStep::Create);
    ui_test::answer_file_dialog(other);
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog(home.file("out.wav"));
    command(IDM_TAPE2_OPEN);
    EXPECT_EQ(wave_deck(2).path, song) << "the failed save kept the recording";

    ui_test::on_dialog([](HWND d) { ui_test::click_control(d, IDOK); });
    ui_test::answer_box(IDNO);
    command(IDM_TAPE2_NEW);
    EXPECT_STREQ(wave_deck(2).file_name(), "UNTITLED.WAV");
    EXPECT_EQ(wave_deck(2).modified, 0);

    ui_test::answer_file_dialog(other);
    command(IDM_TAPE2_OPEN);
    EXPECT_EQ(wave_deck(2).path, other);
    close_rack();
  });
  ASSERT_EQ(ui_test::boxes().size(), 3u);
  EXPECT_TRUE(asked_to_save(ui_test::boxes()[2], "song.wav"));
}

// Play through the wave playlist on deck 2 asks before its item replaces a
// recording made over the last one; a failed save stops the playlist there.
TEST_F(SaveQuestion, APlaylistItemForDeck2AsksFirst) {
  const std::string a = wav("a.wav", 0.5), b = wav("b.wav", 0.5);
  write_playlist(DeckKind::Wave, {a, b});
  run_rack([&] {
    const Deck& deck = wave_deck(2);
    playlist_of(deck).mode = 1;
    command(CMD_ACTIVATE_TAPE2);
    command(CMD_WAVE_PLAY);
    ASSERT_EQ(deck.path, a);
    command(CMD_WAVE_STOP);
    record_take(200);
    fail_saves(audio::SaveStep::Write);
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog(home.file("out.wav"));
    command(CMD_WAVE_PLAY);
    EXPECT_EQ(deck.path, a);
    EXPECT_EQ(deck.modified, 1);
    EXPECT_EQ(playlist_of(deck).running, 0);
    ui_test::answer_box(IDNO);
    command(CMD_WAVE_PLAY);
    EXPECT_EQ(deck.path, a) << "the list starts again from its first item";
    EXPECT_EQ(deck.modified, 0);
    EXPECT_EQ(deck.state, kPlaying);
    close_rack();
  });
  EXPECT_EQ(ui_test::boxes().size(), 3u);
}

// Quitting with an unsaved recording asks once; a failed save keeps the
// program running with the recording, a declined one lets it end.
TEST_F(SaveQuestion, TheMainWindowsCloseAsksAndCanBeAbandoned) {
  const std::string song = wav("song.wav", 1.0);
  bool still_running = false;
  run_rack([&] {
    unsaved_take_over(song);
    fail_saves(audio::SaveStep::Rename);
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog(home.file("out.wav"));
    close_rack();
    ui_test::pump(50);
    still_running = IsWindow(main_window) && wave_deck(2).modified == 1;
    close_rack_declining();
  });
  EXPECT_TRUE(still_running);
  ASSERT_EQ(ui_test::boxes().size(), 3u) << "asked, failed, asked: never twice for one close";
  EXPECT_TRUE(asked_to_save(ui_test::boxes()[2], "song.wav"));
  EXPECT_FALSE(fs::exists(home.file("out.wav")));
}

}  // namespace
