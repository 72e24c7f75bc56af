#pragma once
// Recording on deck 2 in the whole program: the engine's test input plays a
// known tone, and a take is made as the user makes one.
#include <string>

#include "deck_fixture.h"

constexpr double kInputTone = 1000.0;  // what the test input hears
constexpr double kFileTone = 440.0;    // what the generated wave files hold

struct RecordingTest : DeckTest {
  void SetUp() override;
  void TearDown() override;
};

// A take of about `ms` on deck 2 from where it stands, through the Record button.
void record_take(int ms);
// Ends the program, answering No to the save question.
void close_rack_declining();
// The whole content of a file, to tell whether it changed.
std::string file_contents(const std::string& path);
