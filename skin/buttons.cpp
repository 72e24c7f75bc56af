#include "skin/buttons.h"

#include <algorithm>
#include <iterator>

#include "platform/ui/windows.h"
#include "skin/layout.h"
#include "skin/rack_state.h"
#include "skin/seams.h"

namespace {

// A module's rows and their child windows while they exist.
struct ButtonSet {
  Module module;
  std::span<const ButtonRow> rows;
  HWND* windows;
};

HWND mixer_windows[std::size(kMixerButtons)];
HWND midi_windows[std::size(kMidiButtons)];
HWND wave_windows[std::size(kWaveButtons)];
HWND cd_windows[std::size(kCdButtons)];
HWND minimise_window;
HWND power_window;

const ButtonSet kMixerSet = {Module::Mixer, kMixerButtons, mixer_windows};
// The decks in the order they are laid out and re-laid.
const ButtonSet kDeckSets[] = {
    {Module::Midi, kMidiButtons, midi_windows},
    {Module::Wave, kWaveButtons, wave_windows},
    {Module::Cd, kCdButtons, cd_windows},
};
const ButtonSet kWindowSets[] = {
    {Module::Window, {&kMinimiseButton, 1}, &minimise_window},
    {Module::Window, {&kPowerButton, 1}, &power_window},
};

bool sound3d_present() {
  const RackSeams& seams = rack_seams();
  return seams.sound3d_present != nullptr && seams.sound3d_present() != 0;
}

int row_top(const ButtonSet& set, const ButtonRow& row) {
  if (&row == &kPowerButton) return rack_bottom + row.top;
  if (set.module == Module::Mixer) return mixer_top + mixer_button_top(row);
  return module_top(set.module) + row.top;
}

HWND create_button(const ButtonSet& set, const ButtonRow& row) {
  return CreateWindowExA(0, "BUTTON", nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, row.left, row_top(set, row),
                         row.width, row.height, main_window, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(row.id)),
                         program_instance, nullptr);
}

// Creates rows [0, count); stops at the first failure, keeping what exists.
bool create_set(const ButtonSet& set, std::size_t count) {
  if (set.windows[0] != nullptr) return true;
  for (std::size_t i = 0; i < count; ++i) {
    set.windows[i] = create_button(set, set.rows[i]);
    if (set.windows[i] == nullptr) return false;
  }
  return true;
}

void destroy_set(const ButtonSet& set) {
  if (set.windows[0] == nullptr) return;
  for (std::size_t i = 0; i < set.rows.size(); ++i) {
    if (set.windows[i]) DestroyWindow(set.windows[i]);
    set.windows[i] = nullptr;
  }
}

void move_set(const ButtonSet& set) {
  if (set.windows[0] == nullptr) return;
  for (std::size_t i = 0; i < set.rows.size(); ++i)
    if (set.windows[i])
      SetWindowPos(set.windows[i], nullptr, set.rows[i].left, row_top(set, set.rows[i]), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
}

template <typename Visit>
void for_each_set(Visit visit) {
  visit(kMixerSet);
  for (const ButtonSet& set : kDeckSets) visit(set);
  for (const ButtonSet& set : kWindowSets) visit(set);
}

}  // namespace

const ButtonRow* find_button(WORD id) {
  const ButtonRow* found = nullptr;
  for_each_set([&](const ButtonSet& set) {
    for (const ButtonRow& row : set.rows)
      if (!found && row.id == id) found = &row;
  });
  return found;
}

int mixer_button_top(const ButtonRow& row) {
  const auto index = static_cast<std::size_t>(&row - kMixerButtons);
  if (index < kSwitchColumnRows && sound3d_present()) return row.top_with_3d;
  return row.top;
}

int create_rack_buttons() {
  if (!create_set(kWindowSets[0], 1)) return 0;
  // The 3D switch, the mixer's last row, exists only with the 3D unit.
  const std::size_t mixer_count = sound3d_present() ? kMixerSet.rows.size() : kMixerSet.rows.size() - 1;
  if (!create_set(kMixerSet, mixer_count)) return 0;
  for (const ButtonSet& set : kDeckSets) {
    if (!module_shown(set.module)) continue;
    // A MIDI or wave deck short of buttons leaves the rack usable; the CD deck's do not.
    if (!create_set(set, set.rows.size()) && set.module == Module::Cd) return 0;
  }
  return create_set(kWindowSets[1], 1) ? 1 : 0;
}

void forget_rack_buttons() {
  for_each_set([](const ButtonSet& set) { std::fill(set.windows, set.windows + set.rows.size(), nullptr); });
}

int relayout_rack_buttons() {
  for (const ButtonSet& set : kDeckSets) {
    if (!module_shown(set.module))
      destroy_set(set);
    else if (set.windows[0] != nullptr)
      move_set(set);
    else if (!create_set(set, set.rows.size()) && set.module == Module::Cd)
      return 0;
  }
  move_set(kWindowSets[1]);
  return 1;
}
