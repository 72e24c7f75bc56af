#include "rack_layout.h"

#include <vector>

namespace skin {

std::span<const ButtonPlace> rackButtons() {
  static const std::vector<ButtonPlace> places = [] {
    std::vector<ButtonPlace> all;
    for (const ModuleButtons& table : kButtonTables)
      for (const ButtonRow& row : table.rows)
        all.push_back({row.id, table.module, row.left, row.top, row.top_with_3d, row.width, row.height, row.up, row.down});
    return all;
  }();
  return places;
}

bool movesWith3D(const ButtonPlace& button) {
  for (std::size_t i = 0; i < kSwitchColumnRows; ++i)
    if (kMixerButtons[i].id == button.command) return true;
  return false;
}

}  // namespace skin
