// The resource script as constant tables.
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "platform/ui/resources.h"
#include "resources/dialog_templates.h"
#include "resources/ids/menus.h"
#include "resources/ids/strings.h"
#include "resources/ids/window.h"
#include "resources/ids/commands.h"
#include "resources/resources.h"

namespace {

using ui_resources::MenuRow;

constexpr MenuRow kTapeMenu[] = {
    {0, 0, SUBMENU_TAPE1, MF_POPUP},
    {1, IDM_TAPE1_OPEN, "&Open...", 0},
    {1, IDM_TAPE1_CLOSE, "&Close", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, IDM_TAPE1_REPEAT, "&Auto repeat", 0},
    {1, IDM_TAPE1_INFO, "Show &Information", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, IDM_TAPE1_PLAYLIST, "&Playlist...", 0},
    {0, 0, SUBMENU_TAPE2, MF_POPUP},
    {1, IDM_TAPE2_NEW, "&New...", 0},
    {1, IDM_TAPE2_OPEN, "&Open...", 0},
    {1, IDM_TAPE2_SAVE, "&Save...", 0},
    {1, IDM_TAPE2_CLOSE, "&Close", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, IDM_TAPE2_REPEAT, "&Auto repeat", 0},
    {1, IDM_TAPE2_INFO, "Show &Information", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, IDM_TAPE2_PLAYLIST, "&Playlist...", 0},
};

constexpr MenuRow kMidiMenu[] = {
    {0, 0, SUBMENU_MIDI, MF_POPUP},
    {1, IDM_MIDI_OPEN, "&Open...", 0},
    {1, IDM_MIDI_CLOSE, "&Close", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, IDM_MIDI_REPEAT, "&Auto repeat", 0},
    {1, IDM_MIDI_INFO, "Show &Information", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, IDM_MIDI_PLAYLIST, "&Playlist...", 0},
};

constexpr MenuRow kRackMenu[] = {
    {0, 0, "RACK", MF_POPUP},
    {1, IDM_PREFERENCES, "&Preferences...", 0},
    {1, IDM_INSERT_DISC, "&Insert disc image...", 0},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, IDM_ABOUT, "&About Quorvin", 0},
    {1, CMD_POWER, "&Quit", 0},
};

constexpr ui_resources::MenuResource kMenus[] = {
    {MENU_TAPES, kTapeMenu, std::size(kTapeMenu)},
    {MENU_MIDI, kMidiMenu, std::size(kMidiMenu)},
    {MENU_RACK, kRackMenu, std::size(kRackMenu)},
};

// Filters end with their own separator character, which the caller turns into NULs.
constexpr ui_resources::StringResource kStrings[] = {
    // What the wave device reads, and what the MIDI parser reads (standard and RIFF MIDI files).
    {IDS_WAVE_FILTER,
     "Sound Files (*.wav;*.flac;*.ogg;*.oga;*.opus;*.mp3;*.aif;*.aiff)|*.wav;*.flac;*.ogg;*.oga;*.opus;*.mp3;*.aif;"
     "*.aiff|Wave Files (*.wav)|*.wav|All Files (*)|*|"},
    {IDS_MIDI_FILTER, "MIDI Files (*.mid;*.midi;*.kar;*.rmi)|*.mid;*.midi;*.kar;*.rmi|All Files (*)|*|"},
    {IDS_WAVE_SAVE_FILTER, "Wave Files (*.wav)|*.wav|"},
    {IDS_PLAYLIST_FILES_FILTER, "Playlists (*.m3u;*.m3u8)|*.m3u;*.m3u8|"},
    {IDS_M3U8_SAVE_FILTER, "M3U8 Playlists (*.m3u8)|*.m3u8|"},
    {IDS_DISC_IMAGE_FILTER, "Disc Images (*.cue;*.toc;*.nrg)|*.cue;*.toc;*.nrg|All Files (*)|*|"},
    {IDS_SOUNDFONT_FILTER, "SoundFonts (*.sf2;*.sf3)|*.sf2;*.sf3|All Files (*)|*|"},
};


// Ctrl+1 and Ctrl+2 make wave deck 1 or 2 the active deck (commands without a button).
constexpr ACCEL kAccelerators[] = {
    {FVIRTKEY | FCONTROL, '1', CMD_ACTIVATE_TAPE1},
    {FVIRTKEY | FCONTROL, '2', CMD_ACTIVATE_TAPE2},
};

constexpr ui_resources::AcceleratorResource kAcceleratorTables[] = {
    {ACCEL_RACK, kAccelerators, std::size(kAccelerators)},
};

// The skin art's hand points with the tip of its index finger, at (11, 2);
// without the art the platform's own pointing hand stands in.
constexpr ui_resources::CursorResource kCursors[] = {
    {CURSOR_HAND, ":/skin/275.png|pointing-hand", 11, 2},
};

constexpr ui_resources::CursorResource kIcons[] = {
    {ICON_RACK, ":/skin/RACKICON.png", 0, 0},
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
  t.dialogs = dialog_templates().data();
  t.dialog_count = dialog_templates().size();
  ui_resources::install(t);
  if (const char* folder = std::getenv("QUORVIN_SKIN_DIR"); folder && *folder)
    ui_resources::add_bitmap_folder(folder);
  std::error_code error;
  auto beside = std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / "skin";
  if (!error && std::filesystem::is_directory(beside, error)) ui_resources::add_bitmap_folder(beside.string());
}
