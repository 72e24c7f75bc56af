// The resource script as constant tables.
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "platform/ui/resources.h"
#include "resources/ids/dialogs.h"
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

constexpr ui_resources::MenuResource kMenus[] = {
    {MENU_TAPES, kTapeMenu, std::size(kTapeMenu)},
    {MENU_MIDI, kMidiMenu, std::size(kMidiMenu)},
};

// Filters end with their own separator character, which the caller turns into NULs.
constexpr ui_resources::StringResource kStrings[] = {
    // What the wave device reads, and what the MIDI parser reads (standard and RIFF MIDI files).
    {IDS_WAVE_FILTER,
     "Sound Files (*.wav;*.flac;*.ogg;*.oga;*.opus;*.mp3;*.aif;*.aiff)|*.wav;*.flac;*.ogg;*.oga;*.opus;*.mp3;*.aif;"
     "*.aiff|Wave Files (*.wav)|*.wav|All Files (*)|*|"},
    {IDS_MIDI_FILTER, "MIDI Files (*.mid;*.midi;*.kar;*.rmi)|*.mid;*.midi;*.kar;*.rmi|All Files (*)|*|"},
    {IDS_WAVE_SAVE_FILTER, "Wave Files (*.wav)|*.wav|"},
};

// Dialog controls are visible children.
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// The new recording's format: three radio groups and the custom rate in kHz.
constexpr ui_resources::DialogControl kRecordFormatControls[] = {
    {"BUTTON", "Sampling rate", -1, kChild | BS_GROUPBOX, 8, 6, 150, 124},
    {"BUTTON", "11.025 kHz", IDC_RATE_11025, kChild | BS_RADIOBUTTON | WS_GROUP | WS_TABSTOP, 18, 24, 130, 18},
    {"BUTTON", "22.05 kHz", IDC_RATE_22050, kChild | BS_RADIOBUTTON, 18, 44, 130, 18},
    {"BUTTON", "44.1 kHz", IDC_RATE_44100, kChild | BS_RADIOBUTTON, 18, 64, 130, 18},
    {"BUTTON", "Other (kHz):", IDC_RATE_CUSTOM, kChild | BS_RADIOBUTTON, 18, 84, 130, 18},
    {"EDIT", "", IDC_CUSTOM_RATE, kChild | ES_AUTOHSCROLL | WS_TABSTOP, 36, 104, 80, 20},
    {"BUTTON", "Sample size", -1, kChild | BS_GROUPBOX, 166, 6, 120, 60},
    {"BUTTON", "8 bits", IDC_SIZE_8, kChild | BS_RADIOBUTTON | WS_GROUP | WS_TABSTOP, 176, 24, 100, 18},
    {"BUTTON", "16 bits", IDC_SIZE_16, kChild | BS_RADIOBUTTON, 176, 44, 100, 18},
    {"BUTTON", "Channels", -1, kChild | BS_GROUPBOX, 166, 70, 120, 60},
    {"BUTTON", "Mono", IDC_MONO, kChild | BS_RADIOBUTTON | WS_GROUP | WS_TABSTOP, 176, 88, 100, 18},
    {"BUTTON", "Stereo", IDC_STEREO, kChild | BS_RADIOBUTTON, 176, 108, 100, 18},
    {"BUTTON", "OK", IDOK, kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 120, 140, 80, 26},
    {"BUTTON", "Cancel", IDCANCEL, kChild | BS_PUSHBUTTON | WS_TABSTOP, 206, 140, 80, 26},
};

// The recording control: where recordings take their sound from and how loud.
constexpr ui_resources::DialogControl kRecordingControlControls[] = {
    {"BUTTON", "Record from", -1, kChild | BS_GROUPBOX, 8, 6, 300, 64},
    {"BUTTON", "Capture device (line in, microphone)", IDC_SOURCE_CAPTURE,
     kChild | BS_RADIOBUTTON | WS_GROUP | WS_TABSTOP,
     18, 24, 280, 18},
    {"BUTTON", "The rack's own output", IDC_SOURCE_RACK, kChild | BS_RADIOBUTTON, 18, 44, 280, 18},
    {"STATIC", "Line in", -1, kChild, 10, 82, 80, 20},
    {"BUTTON", "-", IDC_LINE_DOWN, kChild | BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, 92, 80, 26, 22},
    {"STATIC", "", IDC_LINE_LEVEL, kChild, 122, 82, 50, 20},
    {"BUTTON", "+", IDC_LINE_UP, kChild | BS_PUSHBUTTON | WS_TABSTOP, 174, 80, 26, 22},
    {"BUTTON", "Mute", IDC_LINE_MUTE, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 214, 82, 90, 20},
    {"STATIC", "Microphone", -1, kChild, 10, 110, 80, 20},
    {"BUTTON", "-", IDC_MIC_DOWN, kChild | BS_PUSHBUTTON | WS_TABSTOP, 92, 108, 26, 22},
    {"STATIC", "", IDC_MIC_LEVEL, kChild, 122, 110, 50, 20},
    {"BUTTON", "+", IDC_MIC_UP, kChild | BS_PUSHBUTTON | WS_TABSTOP, 174, 108, 26, 22},
    {"BUTTON", "Mute", IDC_MIC_MUTE, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 214, 110, 90, 20},
    {"STATIC", "Input", -1, kChild, 10, 140, 80, 20},
    {"STATIC", "", IDC_INPUT_METER, kChild, 92, 140, 216, 20},
    {"STATIC", "", IDC_CAPTURE_STATE, kChild, 10, 164, 298, 20},
    {"BUTTON", "Desktop input settings...", IDC_DESKTOP_INPUT, kChild | BS_PUSHBUTTON | WS_TABSTOP, 8, 192, 190, 26},
    {"BUTTON", "Close", IDCANCEL, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 228, 192, 80, 26},
};

constexpr ui_resources::DialogResource kDialogs[] = {
    {DLG_RECORD_FORMAT, "New Recording", 294, 174, kRecordFormatControls, std::size(kRecordFormatControls)},
    {DLG_RECORDING_CONTROL, "Recording Control", 316, 226, kRecordingControlControls,
     std::size(kRecordingControlControls)},
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
  t.dialogs = kDialogs;
  t.dialog_count = std::size(kDialogs);
  ui_resources::install(t);
  if (const char* folder = std::getenv("QUORVIN_SKIN_DIR"); folder && *folder)
    ui_resources::add_bitmap_folder(folder);
  std::error_code error;
  auto beside = std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / "skin";
  if (!error && std::filesystem::is_directory(beside, error)) ui_resources::add_bitmap_folder(beside.string());
}
