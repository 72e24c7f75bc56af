#include "deck_fixture.h"

#include <cstdlib>
#include <fstream>

#include "platform/audio/engine.h"
#include "platform/mci/media_files.h"
#include "platform/profile/profile.h"
#include "platform/ui/windows.h"
#include "skin/layout.h"
#include "skin/rack_state.h"

std::string DeckTest::wav(const std::string& name, double seconds, int rate, int channels, int bits) {
  return mcitest::write_sine_wav(home.file(name), seconds, rate, channels, bits);
}

std::string DeckTest::midi(const std::string& name, int quarters) {
  return mcitest::write_tempo_change_midi(home.file(name), quarters);
}

std::string DeckTest::broken(const std::string& name) { return mcitest::write_text_file(home.file(name), "not media"); }

void command(WORD id, LPARAM lparam) { SendMessageA(main_window, WM_COMMAND, id, lparam); }
void close_rack() { PostMessageA(main_window, WM_CLOSE, 0, 0); }

void play_out() {
  audio::run_fast(UINT64_MAX);
  ui_test::pump(30);
}

void play_for(int ms) {
  audio::run_fast(static_cast<std::uint64_t>(ms) * audio::kEngineRate / 1000);
  ui_test::pump(30);
}

bool load(Deck& deck, const std::string& path) {
  if (!open_into_deck(deck, path, name_offset_of(path))) return false;
  if (deck.kind == DeckKind::Midi)
    midi_load_finished();
  else
    wave_load_finished(deck.number);
  return true;
}

void write_playlist(DeckKind kind, const std::vector<std::string>& items) {
  char probe[1];
  std::vector<char> dir(GetWindowsDirectoryA(probe, 0) + 1, '\0');
  GetWindowsDirectoryA(dir.data(), static_cast<UINT>(dir.size()));
  const std::string store = std::string(dir.data()) + (kind == DeckKind::Midi ? "/midilist.ini" : "/wavelist.ini");
  std::ofstream out(store);
  out << "[Templist]\nTotalListItems=" << items.size() << "\n";
  for (std::size_t i = 0; i < items.size(); ++i) out << i << "=" << items[i] << "\n";
}

std::vector<std::string> trace_lines(const std::string& path, const std::string& prefix) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (line.rfind(prefix, 0) == 0) lines.push_back(line);
  return lines;
}

int count_pixels(Module module, const Rect& a, COLORREF colour) {
  const QImage image = ui_test::client_image(main_window);
  // Text is smoothed: its colour counts within a margin, black only exactly.
  const int margin = colour == kBlack ? 0 : 100;
  auto near = [margin](int a, int b) { return std::abs(a - b) <= margin; };
  int n = 0;
  const int top = module_top(module) + a.top;
  for (int y = top; y < top + a.height; ++y)
    for (int x = a.left; x < a.left + a.width; ++x) {
      const QRgb p = image.pixel(x, y);
      n += near(qRed(p), colour & 0xFF) && near(qGreen(p), (colour >> 8) & 0xFF) && near(qBlue(p), (colour >> 16) & 0xFF);
    }
  return n;
}

int count_not(Module module, const Rect& a, COLORREF colour) { return a.width * a.height - count_pixels(module, a, colour); }
