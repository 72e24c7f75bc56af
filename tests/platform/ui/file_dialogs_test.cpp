// Open and Save dialogs: scripted answers, the returned offsets, and a real dialog.
#include <sys/stat.h>

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>
#include <fstream>

#include "support/temp_home.h"
#include "ui_fixture.h"

namespace {

OPENFILENAMEA open_params(HWND owner, char* file, DWORD size) {
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = "Wave Files (*.wav)\0*.wav\0All Files (*.*)\0*.*\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = size;
  ofn.Flags = OFN_OVERWRITEPROMPT;
  return ofn;
}

}  // namespace

using FileDialogsTest = UiTest;

TEST_F(FileDialogsTest, AScriptedAnswerFillsThePathAndItsOffsets) {
  HWND owner = make_window();
  char file[128] = "";
  char title[32] = "";
  OPENFILENAMEA ofn = open_params(owner, file, sizeof file);
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  ofn.lpstrInitialDir = "/music";
  ui_test::answer_file_dialog("/music/live/take one.wav");
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_STREQ(file, "/music/live/take one.wav");
  EXPECT_EQ(ofn.nFileOffset, 12);
  EXPECT_EQ(ofn.nFileExtension, 21);
  EXPECT_STREQ(title, "take one.wav");
  ASSERT_EQ(ui_test::file_dialogs().size(), 1u);
  const auto& shown = ui_test::file_dialogs()[0];
  EXPECT_FALSE(shown.save);
  EXPECT_EQ(shown.owner, owner);
  EXPECT_EQ(shown.initial_dir, "/music");
  EXPECT_EQ(shown.filters, (std::vector<std::string>{"Wave Files (*.wav)|*.wav", "All Files (*.*)|*.*"}));
}

TEST_F(FileDialogsTest, CancelTooLongPathsAndUnusableHooksFailDistinctly) {
  char file[8] = "";
  OPENFILENAMEA ofn = open_params(nullptr, file, sizeof file);
  ui_test::answer_file_dialog("");
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_TRUE(ui_test::file_dialogs()[0].save);
  // A path that does not fit is refused with a message, never cut.
  ui_test::answer_file_dialog("/a/long/name.wav");
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
  EXPECT_STREQ(file, "");
  ASSERT_EQ(ui_test::boxes().size(), 1u);
  EXPECT_NE(ui_test::boxes()[0].text.find("/a/long/name.wav"), std::string::npos);
  // Hooks need a procedure and the old style; custom Save dialogs are not offered.
  ofn.Flags |= OFN_ENABLEHOOK;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
  ofn.lpfnHook = [](HWND, UINT, WPARAM, LPARAM) -> UINT_PTR { return 0; };
  ofn.Flags |= OFN_EXPLORER;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
  ofn.Flags &= ~OFN_EXPLORER;
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
  ofn.Flags |= OFN_ENABLETEMPLATE;
  ofn.lpTemplateName = MAKEINTRESOURCEA(4242);
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
}

TEST_F(FileDialogsTest, SaveProposesTheNameAddsTheExtensionAndChecksTheChoice) {
  TempHome home;
  std::ofstream(home.file("kept.wav")) << "RIFF";
  std::ofstream(home.file("locked.wav")) << "RIFF";
  ASSERT_EQ(::chmod(home.file("locked.wav").c_str(), 0444), 0);
  char file[128] = "UNTITLED.WAV";
  OPENFILENAMEA ofn = open_params(nullptr, file, sizeof file);
  ofn.lpstrDefExt = "wav";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN;
  // The typed name gets the extension; the proposal is what the program put in.
  ui_test::answer_file_dialog(home.file("take"));
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(std::string(file), home.file("take.wav"));
  EXPECT_EQ(ui_test::file_dialogs().back().initial_file, "UNTITLED.WAV");
  EXPECT_TRUE(ui_test::boxes().empty());
  // A read-only file is refused; an existing one asks, and No means try again.
  ui_test::answer_file_dialog(home.file("locked.wav"));
  ui_test::answer_file_dialog(home.file("kept.wav"));
  ui_test::answer_file_dialog(home.file("kept"));
  ui_test::answer_box(IDOK);  // the refusal
  ui_test::answer_box(IDNO);
  ui_test::answer_box(IDYES);
  std::snprintf(file, sizeof file, "%s", home.file("proposed.wav").c_str());
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(std::string(file), home.file("kept.wav"));
  EXPECT_EQ(ui_test::file_dialogs().size(), 2u);  // one dialog, three tries
  EXPECT_EQ(ui_test::file_dialogs().back().initial_dir, home.path() + "/");
  ASSERT_EQ(ui_test::boxes().size(), 3u);
  EXPECT_NE(ui_test::boxes()[0].text.find("read-only"), std::string::npos);
  EXPECT_EQ(ui_test::boxes()[1].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
  EXPECT_NE(ui_test::boxes()[2].text.find("kept.wav already exists"), std::string::npos);
  // Without OFN_NOREADONLYRETURN the read-only file may be chosen.
  ofn.Flags = OFN_OVERWRITEPROMPT;
  ui_test::answer_file_dialog(home.file("locked.wav"));
  EXPECT_TRUE(GetSaveFileNameA(&ofn));
}

TEST_F(FileDialogsTest, TheRealSaveDialogShowsTheProposedName) {
  TempHome home;
  char file[256] = "UNTITLED.WAV";
  OPENFILENAMEA ofn = open_params(nullptr, file, sizeof file);
  ofn.lpstrInitialDir = home.path().c_str();
  ofn.lpstrDefExt = "wav";
  QString proposed;
  QTimer typist;
  int attempts = 0;
  QObject::connect(&typist, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
    if (!name) {
      if (++attempts > 60 && dialog) dialog->reject();
      return;
    }
    typist.stop();
    proposed = name->text();
    name->setText("first take");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(name, &enter);
  });
  typist.start(50);
  ASSERT_TRUE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(proposed, "UNTITLED.WAV");
  EXPECT_EQ(std::string(file), home.file("first take.wav"));
}

TEST_F(FileDialogsTest, TheRealDialogReturnsTheTypedFile) {
  TempHome home;
  std::ofstream(home.file("song.wav")) << "RIFF";
  char file[256] = "";
  OPENFILENAMEA ofn = open_params(nullptr, file, sizeof file);
  ofn.lpstrInitialDir = home.path().c_str();
  ofn.Flags |= OFN_FILEMUSTEXIST;
  // Types the name once the dialog is up; gives up (Cancel) after about 3 s.
  QTimer typist;
  int attempts = 0;
  QObject::connect(&typist, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
    if (!name) {
      if (++attempts > 60 && dialog) dialog->reject();
      return;
    }
    typist.stop();
    name->setText("song.wav");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(name, &enter);
  });
  typist.start(50);
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(std::string(file), home.file("song.wav"));
  EXPECT_STREQ(file + ofn.nFileOffset, "song.wav");
}
