// Open and Save dialogs: scripted answers, the returned offsets, and a real dialog.
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
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

TEST_F(FileDialogsTest, CancelTooSmallBuffersAndHooksFailDistinctly) {
  char file[8] = "";
  OPENFILENAMEA ofn = open_params(nullptr, file, sizeof file);
  ui_test::answer_file_dialog("");
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_TRUE(ui_test::file_dialogs()[0].save);
  ui_test::answer_file_dialog("/a/long/name.wav");
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
  EXPECT_STREQ(file, "");
  ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
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
