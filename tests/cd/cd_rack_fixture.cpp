#include "cd_rack_fixture.h"

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/audio/engine.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "resources/geometry.h"
#include "skin/layout.h"
#include "skin/rack_state.h"

void CdRack::SetUp() {
  ui_test::reset();
  trace_ = home_.file("trace.txt");
  setenv("QUORVIN_TRACE", trace_.c_str(), 1);
}

void CdRack::TearDown() {
  if (HasFailure()) for (const std::string& s : mci_strings()) std::fprintf(stderr, "  mci: %s\n", s.c_str());
  unsetenv("QUORVIN_TRACE");
  unsetenv("QUORVIN_CDROM");
  audio::set_output_tap(nullptr);
  ui_test::reset();
}

void CdRack::use_disc(const testmedia::CdImage& image, const std::string& name) {
  const std::string cue = testmedia::write_cd_image(home_.path(), name, image);
  setenv("QUORVIN_CDROM", cue.c_str(), 1);
}

std::vector<std::string> CdRack::mci_strings() const {
  std::vector<std::string> out;
  std::ifstream in(trace_);
  for (std::string line; std::getline(in, line);) {
    // mci "<command>" -> <result>
    if (line.rfind("mci \"", 0) != 0) continue;
    const std::size_t end = line.rfind("\" -> ");
    if (end != std::string::npos) out.push_back(line.substr(5, end - 5));
  }
  return out;
}

bool CdRack::sent(const std::string& command) const {
  for (const std::string& s : mci_strings())
    if (s == command) return true;
  return false;
}

void CdRack::clear_trace() const { std::ofstream(trace_, std::ios::trunc); }

void command(WORD id) { SendMessageA(main_window, WM_COMMAND, id, 0); }

bool lcd_cell_shows(int cell, WORD bitmap) {
  const QImage face(QString(":/skin/%1.png").arg(bitmap));
  const QImage shown = ui_test::client_image(main_window);
  if (face.isNull()) return false;
  const int x0 = kCdDigitLefts[cell], y0 = cd_top + kCdDigitTop;
  for (int y = 0; y < kCdDigitHeight; ++y)
    for (int x = 0; x < kCdDigitWidth; ++x)
      if ((shown.pixel(x0 + x, y0 + y) & 0xFFFFFF) != (face.pixel(x, y) & 0xFFFFFF)) return false;
  return true;
}

int grid_red_pixels(int cell) {
  const QImage shown = ui_test::client_image(main_window);
  const int x0 = kCdGridLefts[cell % 4], y0 = cd_top + kCdGridTops[cell / 4];
  int red = 0;
  for (int y = 0; y < kCdGridCell; ++y)
    for (int x = 0; x < kCdGridCell; ++x) {
      const QRgb p = shown.pixel(x0 + x, y0 + y);
      if (qRed(p) > 200 && qGreen(p) < 80) ++red;
    }
  return red;
}
