#pragma once
// The whole program on a generated disc image: the image is the CD drive
// (QUORVIN_CDROM), every MCI string goes to a trace file, and the LCD can be
// read back cell by cell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/disc_image.h"
#include "platform/wintypes.h"
#include "support/temp_home.h"

class CdRack : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the image into the test's folder and makes it the drive.
  void use_disc(const testmedia::CdImage& image, const std::string& name = "disc");
  // The MCI strings sent since the last clear, in order.
  std::vector<std::string> mci_strings() const;
  bool sent(const std::string& command) const;
  void clear_trace() const;

  TempHome home_;
  std::string trace_;
};

void command(WORD id);
// Whether the LCD's time cell (0-5) shows the given bitmap, pixel for pixel.
bool lcd_cell_shows(int cell, WORD bitmap);
// How many of the track grid cell's pixels are red (the highlighted entry).
int grid_red_pixels(int cell);
