// The resource script as constant tables.
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "platform/ui/resources.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"

namespace {

using ui_resources::MenuRow;

constexpr MenuRow kTapeMenu[] = {
    {0, 0, "TAPE1MENU", MF_POPUP},
    {1, 103, "&Open...", 0},
    {1, 104, "&Close", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, 108, "&Auto repeat", 0},
    {1, 110, "Show &Information", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, 119, "&Playlist...", 0},
    {0, 0, "TAPE2MENU", MF_POPUP},
    {1, 107, "&New...", 0},
    {1, 105, "&Open...", 0},
    {1, 116, "&Save...", 0},
    {1, 106, "&Close", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, 109, "&Auto repeat", 0},
    {1, 111, "Show &Information", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, 120, "&Playlist...", 0},
};

constexpr MenuRow kMidiMenu[] = {
    {0, 0, "MIDI", MF_POPUP},
    {1, 112, "&Open...", 0},
    {1, 113, "&Close", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, 114, "&Auto repeat", 0},
    {1, 115, "Show &Information", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, 121, "&Playlist...", 0},
};

constexpr ui_resources::MenuResource kMenus[] = {
    {ID_TAPE_MENU, kTapeMenu, std::size(kTapeMenu)},
    {ID_MIDI_MENU, kMidiMenu, std::size(kMidiMenu)},
};

// Filters end with their own separator character, which the caller turns into NULs.
constexpr ui_resources::StringResource kStrings[] = {
    {ID_WAVE_FILTER, "Wave Files (*.wav)|*.wav|All Files (*.*)|*.*|"},
    {ID_MIDI_FILTER, "MIDI Files (*.mid;*.rmi)|*.mid;*.rmi|All Files (*.*)|*.*|"},
};

// Ctrl+1 and Ctrl+2 make wave deck 1 or 2 the active deck (commands without a button).
constexpr ACCEL kAccelerators[] = {
    {FVIRTKEY | FCONTROL, '1', 7025},
    {FVIRTKEY | FCONTROL, '2', 7026},
};

constexpr ui_resources::AcceleratorResource kAcceleratorTables[] = {
    {ID_ACCELERATORS, kAccelerators, std::size(kAccelerators)},
};

// The skin art's hand points with the tip of its index finger, at (11, 2);
// without the art the platform's own pointing hand stands in.
constexpr ui_resources::CursorResource kCursors[] = {
    {ID_HAND_CURSOR, ":/skin/275.png|pointing-hand", 11, 2},
};

constexpr ui_resources::CursorResource kIcons[] = {
    {RACK_ICON, ":/skin/RACKICON.png", 0, 0},
};

}  // namespace

void InstallResources() {
  ui_resources::ResourceTables t;
  t.menus = kMenus;
  t.menu_count = std::size(kMenus);
  t.strings = kStrings;
  t.string_count = std::size(kStrings);
  t.accelerators = kAcceleratorTables;
  t.accelerator_count = std::size(kAcceleratorTables);
  t.cursors = kCursors;
  t.cursor_count = std::size(kCursors);
  t.icons = kIcons;
  t.icon_count = std::size(kIcons);
  ui_resources::install(t);
  if (const char* folder = std::getenv("QUORVIN_SKIN_DIR"); folder && *folder)
    ui_resources::add_bitmap_folder(folder);
  std::error_code error;
  auto beside = std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / "skin";
  if (!error && std::filesystem::is_directory(beside, error)) ui_resources::add_bitmap_folder(beside.string());
}
