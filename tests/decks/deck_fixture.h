#pragma once
// Shared scaffolding of the deck tests: the whole program in-process on the
// fast null device, media written per test, commands, and LCD pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decks/decks.h"
#include "platform/ui/test_driver.h"
#include "resources/geometry.h"
#include "support/rack_program.h"
#include "support/temp_home.h"

struct DeckTest : testing::Test {
  TempHome home;
  void SetUp() override {
    ui_test::reset();
    ui_test::script_ui();
  }
  void TearDown() override { ui_test::reset(); }
  std::string wav(const std::string& name, double seconds, int rate = 44100, int channels = 2, int bits = 16);
  // Six quarters with a tempo change: 2000 ms.
  std::string midi(const std::string& name, int quarters = 6);
  std::string broken(const std::string& name);
};

void command(WORD id, LPARAM lparam = 0);
void close_rack();
// Plays on the fast device until every voice is idle, then delivers what was posted.
void play_out();
// About `ms` of output, then what was posted.
void play_for(int ms);
// Loads a file into a deck as the Open dialog would.
bool load(Deck& deck, const std::string& path);
// The store "midilist.ini" or "wavelist.ini" holding these items.
void write_playlist(DeckKind kind, const std::vector<std::string>& items);
// Lines of the trace file that start with `prefix`.
std::vector<std::string> trace_lines(const std::string& path, const std::string& prefix);

// Counts the pixels of a colour in a rectangle of a module (top relative to the module).
int count_pixels(Module module, const Rect& area, COLORREF colour);
int count_not(Module module, const Rect& area, COLORREF colour);
constexpr COLORREF kYellow = 0x0000FFFF, kCyan = 0x00FFFF00, kBlack = 0;
