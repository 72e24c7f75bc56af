#include "skin/buttons.h"

#include <algorithm>
#include <iterator>

#include "app/rack_state.h"
#include "mixer/sound3d.h"
#include "platform/ui/windows.h"
#include "skin/layout.h"

namespace {

// The first four rows and 5000 form the mixer's switch column.
constexpr ButtonRow kMixerRows[] = {
    {5003, 327, 59, 22, 15, 150, 151},  // CD module on/off
    {5001, 327, 21, 22, 15, 154, 155},  // MIDI module on/off
    {5002, 327, 40, 22, 15, 152, 153},  // wave module on/off
    {5004, 327, 78, 22, 15, 164, 165},  // mute
    {5005, 419, 24, 32, 16, 156, 160},  // volume up
    {5006, 451, 24, 31, 16, 157, 161},  // volume down
    {5007, 386, 24, 33, 16, 158, 162},  // balance left (hold)
    {5008, 482, 24, 33, 16, 159, 163},  // balance right (hold)
    {5009, 414, 69, 37, 15, 167, 168},  // previous channel
    {5010, 451, 69, 36, 15, 169, 170},  // next channel
    {5000, 327, 14, 22, 15, 264, 265},  // 3D switch, only when present
};
// Tops of the first four rows when the 3D switch takes the top of the column.
constexpr int kSwitchTopsWith3D[] = {68, 32, 50, 86};

constexpr ButtonRow kMidiRows[] = {
    {6002, 334, 21, 31, 25, 216, 217},  // stop
    {6003, 365, 21, 31, 25, 218, 219},  // pause
    {6004, 396, 21, 33, 25, 220, 221},  // play
    {6005, 444, 30, 29, 17, 222, 223},  // rewind / previous item (hold)
    {6006, 473, 30, 26, 17, 224, 225},  // forward / next item (hold)
    {6007, 499, 30, 26, 17, 226, 227},  // volume down (hold)
    {6008, 525, 30, 28, 17, 228, 229},  // volume up (hold)
};

constexpr ButtonRow kWaveRows[] = {
    {7001, 370, 90, 30, 15, 171, 172},  // record
    {7002, 400, 90, 26, 15, 173, 174},  // stop
    {7003, 426, 90, 51, 15, 175, 176},  // pause / play
    {7004, 370, 67, 28, 15, 177, 178},  // previous / rewind (hold)
    {7005, 398, 67, 26, 15, 179, 180},  // forward / next (hold)
    {7006, 424, 67, 25, 15, 181, 182},  // volume down (hold)
    {7007, 449, 67, 28, 15, 183, 184},  // volume up (hold)
    {7022, 514, 78, 21, 16, 299, 300},  // active wave deck selector
    {7027, 514, 43, 21, 16, 301, 302},  // recording input
    {7028, 370, 41, 79, 14, 253, 254},  // one-touch recording
};

constexpr ButtonRow kCdRows[] = {
    {8001, 493, 93, 51, 27, 102, 103},  // play
    {8002, 390, 93, 51, 27, 104, 105},  // stop
    {8003, 441, 93, 52, 27, 106, 107},  // pause
    {8004, 335, 93, 55, 27, 108, 109},  // eject
    {8005, 350, 69, 21, 16, 113, 114},  // previous track
    {8006, 382, 69, 21, 16, 113, 114},  // next track
    {8007, 414, 69, 21, 16, 113, 114},  // rewind (hold)
    {8008, 446, 69, 21, 16, 113, 114},  // fast forward (hold)
    {8009, 478, 69, 21, 16, 113, 114},  // volume down (hold)
    {8010, 510, 69, 21, 16, 113, 114},  // volume up (hold)
    {8011, 70, 94, 53, 25, 130, 131},   // program editor
    {8012, 123, 94, 51, 25, 132, 133},  // program play
    {8013, 174, 94, 51, 25, 135, 134},  // shuffle play
    {8014, 225, 94, 53, 25, 136, 137},  // repeat mode
};

// Their tops are absolute: the minimise button on the mixer face, the power button above the rack bottom.
constexpr ButtonRow kMinimiseRow = {4998, 17, 13, 19, 13, 144, 145};
constexpr ButtonRow kPowerRow = {4999, 8, -25, 28, 15, 110, 111};

HWND mixer_windows[std::size(kMixerRows)];
HWND midi_windows[std::size(kMidiRows)];
HWND wave_windows[std::size(kWaveRows)];
HWND cd_windows[std::size(kCdRows)];

HWND create_button(const ButtonRow& row, int top) {
  return CreateWindowExA(0, "BUTTON", nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, row.left, top, row.width,
                         row.height, main_window, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(row.id)),
                         program_instance, nullptr);
}

// Creates rows [0, count) below module_top; stops at the first failure, keeping what exists.
bool create_set(const ButtonSet& set, std::size_t count, int module_top) {
  if (set.windows[0] != nullptr) return true;
  for (std::size_t i = 0; i < count; ++i) {
    const ButtonRow& row = set.rows[i];
    const int top = &set == &mixer_buttons ? mixer_button_top(row) : row.top;
    set.windows[i] = create_button(row, module_top + top);
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

void move_set(const ButtonSet& set, int module_top) {
  if (set.windows[0] == nullptr) return;
  for (std::size_t i = 0; i < set.rows.size(); ++i)
    if (set.windows[i])
      SetWindowPos(set.windows[i], nullptr, set.rows[i].left, module_top + set.rows[i].top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

const ButtonSet mixer_buttons = {kMixerRows, mixer_windows};
const ButtonSet midi_buttons = {kMidiRows, midi_windows};
const ButtonSet wave_buttons = {kWaveRows, wave_windows};
const ButtonSet cd_buttons = {kCdRows, cd_windows};
HWND minimise_button = nullptr;
HWND power_button = nullptr;

const ButtonRow* find_button(WORD id) {
  for (const ButtonSet* set : {&mixer_buttons, &midi_buttons, &wave_buttons, &cd_buttons})
    for (const ButtonRow& row : set->rows)
      if (row.id == id) return &row;
  if (id == kMinimiseRow.id) return &kMinimiseRow;
  if (id == kPowerRow.id) return &kPowerRow;
  return nullptr;
}

int mixer_button_top(const ButtonRow& row) {
  const std::size_t index = static_cast<std::size_t>(&row - kMixerRows);
  if (sound3d_present && index < std::size(kSwitchTopsWith3D)) return kSwitchTopsWith3D[index];
  return row.top;
}

int create_rack_buttons() {
  minimise_button = create_button(kMinimiseRow, mixer_top + kMinimiseRow.top);
  if (minimise_button == nullptr) return 0;
  const std::size_t mixer_count = sound3d_present ? std::size(kMixerRows) : std::size(kMixerRows) - 1;
  if (!create_set(mixer_buttons, mixer_count, mixer_top)) return 0;
  // A failure inside the MIDI or wave set leaves that deck short of buttons but the rack usable.
  if (midi_on) create_set(midi_buttons, std::size(kMidiRows), midi_top);
  if (wave_on) create_set(wave_buttons, std::size(kWaveRows), wave_top);
  if (cd_audio_on && !create_set(cd_buttons, std::size(kCdRows), cd_top)) return 0;
  power_button = create_button(kPowerRow, rack_bottom + kPowerRow.top);
  return power_button != nullptr;
}

void forget_rack_buttons() {
  for (const ButtonSet* set : {&mixer_buttons, &midi_buttons, &wave_buttons, &cd_buttons})
    std::fill(set->windows, set->windows + set->rows.size(), nullptr);
  minimise_button = power_button = nullptr;
}

int relayout_rack_buttons() {
  struct Deck {
    const int& shown;
    const ButtonSet& set;
    const int& top;
  };
  const Deck decks[] = {{midi_on, midi_buttons, midi_top}, {wave_on, wave_buttons, wave_top},
                        {cd_audio_on, cd_buttons, cd_top}};
  for (const Deck& deck : decks) {
    if (!deck.shown)
      destroy_set(deck.set);
    else if (deck.set.windows[0] != nullptr)
      move_set(deck.set, deck.top);
    else if (!create_set(deck.set, deck.set.rows.size(), deck.top) && &deck.set == &cd_buttons)
      return 0;
  }
  SetWindowPos(power_button, nullptr, kPowerRow.left, rack_bottom + kPowerRow.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return 1;
}
