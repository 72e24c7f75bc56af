// WinExec: a stand-in runs for the program it stands for, with the command
// line's arguments; a program that is not installed is reported, not started.
#include <gtest/gtest.h>

#include <string>

#include "platform/ui/programs.h"
#include "platform/ui/windows.h"

namespace {

std::string seen_arguments;
UINT seen_show = 0;
int runs = 0;
void stand_in(const std::string& arguments, UINT show) {
  ++runs;
  seen_arguments = arguments;
  seen_show = show;
}

TEST(WinExec, AStandInRunsForItsProgramWithTheArguments) {
  ui_programs::register_stand_in("sndvol32.exe", stand_in);
  EXPECT_GT(WinExec("sndvol32.exe /recording", SW_SHOWNORMAL), 31u);
  EXPECT_EQ(seen_arguments, "/recording");
  EXPECT_EQ(seen_show, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_GT(WinExec("  \"C:\\Windows\\SNDVOL32.EXE\"   /recording  /x ", SW_SHOWNORMAL), 31u);
  EXPECT_EQ(seen_arguments, "/recording  /x");
  EXPECT_EQ(runs, 2);
}

TEST(WinExec, AMissingProgramIsReportedAndNothingRuns) {
  EXPECT_EQ(WinExec("no-such-program-here --tab=4", SW_SHOWNORMAL), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(WinExec(nullptr, SW_SHOWNORMAL), 0u);
  EXPECT_TRUE(ui_programs::installed("sh"));
}

}  // namespace
