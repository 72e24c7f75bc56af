// Dialog templates: controls in tab order, sizes in pixels. Enter presses the
// default button (OK), Escape cancels.
#include "resources/dialog_templates.h"

#include <iterator>

#include "resources/ids/dialogs.h"

namespace {

using ui_resources::DialogControl;
using ui_resources::DialogResource;

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTab = kShown | WS_TABSTOP;
constexpr DWORD kButton = kTab | BS_PUSHBUTTON;
constexpr DWORD kDefault = kTab | BS_DEFPUSHBUTTON;
constexpr DWORD kEdit = kTab | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kPickList = kTab | WS_BORDER | LBS_NOTIFY | LBS_EXTENDEDSEL;
constexpr DWORD kSingleList = kTab | WS_BORDER | LBS_NOTIFY;

// CD program editor: the disc's tracks on the left, the program on the right,
// the moving buttons between them.
constexpr DialogControl kCdProgram[] = {
    {"STATIC", "Available Tracks: 0", IDC_CD_AVAILABLE_COUNT, kShown, 12, 12, 220, 18},
    {"LISTBOX", "", IDC_CD_AVAILABLE, kPickList, 12, 32, 220, 220},
    {"STATIC", "Total :  [0:0]", IDC_CD_AVAILABLE_TOTAL, kShown, 12, 256, 220, 18},
    {"BUTTON", "&Add >>", IDC_CD_ADD, kButton, 244, 60, 90, 28},
    {"BUTTON", "<< &Remove", IDC_CD_REMOVE, kButton, 244, 94, 90, 28},
    {"BUTTON", "Move &Up", IDC_CD_UP, kButton, 244, 150, 90, 28},
    {"BUTTON", "Move &Down", IDC_CD_DOWN, kButton, 244, 184, 90, 28},
    {"STATIC", "Selected Tracks: 0", IDC_CD_PROGRAM_COUNT, kShown, 346, 12, 220, 18},
    {"LISTBOX", "", IDC_CD_PROGRAM, kPickList, 346, 32, 220, 220},
    {"STATIC", "Total :  [0:0]", IDC_CD_PROGRAM_TOTAL, kShown, 346, 256, 220, 18},
    {"STATIC", "", IDC_CD_TITLE_LABEL, kShown, 12, 282, 554, 18},
    {"BUTTON", "&Titles...", IDC_CD_OPEN_TITLES, kButton, 12, 310, 90, 28},
    {"BUTTON", "OK", IDOK, kDefault, 286, 310, 80, 28},
    {"BUTTON", "OK, &Play", IDC_CD_ACCEPT_PLAY, kButton, 376, 310, 90, 28},
    {"BUTTON", "Cancel", IDCANCEL, kButton, 476, 310, 90, 28},
};

// Disc and track titles: a double-click on a track names it.
constexpr DialogControl kCdTitles[] = {
    {"STATIC", "Disc title:", -1, kShown, 12, 15, 80, 18},
    {"EDIT", "", IDC_CD_DISC_TITLE, kEdit, 92, 12, 316, 24},
    {"STATIC", "Tracks (double-click a track to name it):", -1, kShown, 12, 48, 396, 18},
    {"LISTBOX", "", IDC_CD_TITLE_TRACKS, kSingleList, 12, 68, 396, 220},
    {"BUTTON", "OK", IDOK, kDefault, 228, 300, 86, 28},
    {"BUTTON", "Cancel", IDCANCEL, kButton, 322, 300, 86, 28},
};

constexpr DialogControl kCdTrackTitle[] = {
    {"STATIC", "Track : 00  [00:00]", IDC_CD_TRACK_LABEL, kShown, 12, 12, 356, 18},
    {"STATIC", "Title:", -1, kShown, 12, 43, 48, 18},
    {"EDIT", "", IDC_CD_TRACK_TITLE, kEdit, 60, 40, 308, 24},
    {"BUTTON", "OK", IDOK, kDefault, 188, 80, 86, 28},
    {"BUTTON", "Cancel", IDCANCEL, kButton, 282, 80, 86, 28},
};

// The new recording's format: three radio groups and the custom rate in kHz.
constexpr DWORD kFirstRadio = kTab | WS_GROUP | BS_RADIOBUTTON;
constexpr DWORD kRadio = kShown | BS_RADIOBUTTON;
constexpr DWORD kGroupBox = kShown | BS_GROUPBOX;
constexpr DialogControl kRecordFormat[] = {
    {"BUTTON", "Sampling rate", -1, kGroupBox, 8, 6, 150, 124},
    {"BUTTON", "11.025 kHz", IDC_RATE_11025, kFirstRadio, 18, 24, 130, 18},
    {"BUTTON", "22.05 kHz", IDC_RATE_22050, kRadio, 18, 44, 130, 18},
    {"BUTTON", "44.1 kHz", IDC_RATE_44100, kRadio, 18, 64, 130, 18},
    {"BUTTON", "Other (kHz):", IDC_RATE_CUSTOM, kRadio, 18, 84, 130, 18},
    {"EDIT", "", IDC_CUSTOM_RATE, kEdit, 36, 104, 80, 20},
    {"BUTTON", "Sample size", -1, kGroupBox, 166, 6, 120, 60},
    {"BUTTON", "8 bits", IDC_SIZE_8, kFirstRadio, 176, 24, 100, 18},
    {"BUTTON", "16 bits", IDC_SIZE_16, kRadio, 176, 44, 100, 18},
    {"BUTTON", "Channels", -1, kGroupBox, 166, 70, 120, 60},
    {"BUTTON", "Mono", IDC_MONO, kFirstRadio, 176, 88, 100, 18},
    {"BUTTON", "Stereo", IDC_STEREO, kRadio, 176, 108, 100, 18},
    {"BUTTON", "OK", IDOK, kDefault | WS_GROUP, 120, 140, 80, 26},
    {"BUTTON", "Cancel", IDCANCEL, kButton, 206, 140, 80, 26},
};

// The recording control: where recordings take their sound from and how loud.
constexpr DialogControl kRecordingControl[] = {
    {"BUTTON", "Record from", -1, kGroupBox, 8, 6, 300, 64},
    {"BUTTON", "Capture device (line in, microphone)", IDC_SOURCE_CAPTURE, kFirstRadio, 18, 24, 280, 18},
    {"BUTTON", "The rack's own output", IDC_SOURCE_RACK, kRadio, 18, 44, 280, 18},
    {"STATIC", "Line in", -1, kShown, 10, 82, 80, 20},
    {"BUTTON", "-", IDC_LINE_DOWN, kButton | WS_GROUP, 92, 80, 26, 22},
    {"STATIC", "", IDC_LINE_LEVEL, kShown, 122, 82, 50, 20},
    {"BUTTON", "+", IDC_LINE_UP, kButton, 174, 80, 26, 22},
    {"BUTTON", "Mute", IDC_LINE_MUTE, kTab | BS_AUTOCHECKBOX, 214, 82, 90, 20},
    {"STATIC", "Microphone", -1, kShown, 10, 110, 80, 20},
    {"BUTTON", "-", IDC_MIC_DOWN, kButton, 92, 108, 26, 22},
    {"STATIC", "", IDC_MIC_LEVEL, kShown, 122, 110, 50, 20},
    {"BUTTON", "+", IDC_MIC_UP, kButton, 174, 108, 26, 22},
    {"BUTTON", "Mute", IDC_MIC_MUTE, kTab | BS_AUTOCHECKBOX, 214, 110, 90, 20},
    {"STATIC", "Input", -1, kShown, 10, 140, 80, 20},
    {"STATIC", "", IDC_INPUT_METER, kShown, 92, 140, 216, 20},
    {"STATIC", "", IDC_CAPTURE_STATE, kShown, 10, 164, 298, 20},
    {"BUTTON", "Desktop input settings...", IDC_DESKTOP_INPUT, kButton, 8, 192, 190, 26},
    {"BUTTON", "Close", IDCANCEL, kDefault, 228, 192, 80, 26},
};

// The playlist editor's side of the Open dialog: the named playlists on top,
// the play list being edited below with its buttons beside it, and the
// dialog's answers at the bottom. The play list keeps its order (no sorting).
constexpr DialogControl kPlaylistEditor[] = {
    {"STATIC", "Saved playlists:", IDC_PLAYLIST_LABEL, kShown, 8, 8, 220, 16},
    {"COMBOBOX", "", IDC_PLAYLIST_CHOOSER, kTab | CBS_DROPDOWNLIST | WS_VSCROLL, 8, 26, 220, 24},
    {"BUTTON", "Sa&ve...", IDC_PLAYLIST_SAVE, kButton, 236, 26, 92, 24},
    {"BUTTON", "&Delete", IDC_PLAYLIST_DELETE, kButton, 236, 54, 92, 24},
    {"STATIC", "Play list:", IDC_PLAYLIST_LABEL, kShown, 8, 58, 220, 16},
    {"LISTBOX", "", IDC_PLAYLIST_ITEMS, kSingleList | WS_VSCROLL, 8, 76, 220, 208},
    {"BUTTON", "&Add", IDC_PLAYLIST_ADD, kButton, 236, 96, 92, 24},
    {"BUTTON", "Add a&ll", IDC_PLAYLIST_ADD_ALL, kButton, 236, 124, 92, 24},
    {"BUTTON", "&Remove", IDC_PLAYLIST_REMOVE, kButton, 236, 152, 92, 24},
    {"BUTTON", "&Clear", IDC_PLAYLIST_CLEAR, kButton, 236, 180, 92, 24},
    {"BUTTON", "E&xport...", IDC_PLAYLIST_EXPORT, kButton, 236, 220, 92, 24},
    {"BUTTON", "OK", IDOK, kDefault, 8, 294, 70, 26},
    {"BUTTON", "&Play", IDC_PLAYLIST_PLAY, kButton, 83, 294, 70, 26},
    {"BUTTON", "Cancel", IDCANCEL, kButton, 158, 294, 70, 26},
};

// The name a playlist is saved under.
constexpr DialogControl kPlaylistName[] = {
    {"STATIC", "Save the play list as:", IDC_PLAYLIST_LABEL, kShown, 10, 10, 260, 16},
    {"EDIT", "", IDC_PLAYLIST_NAME, kEdit, 10, 30, 260, 24},
    {"BUTTON", "OK", IDOK, kDefault, 114, 66, 76, 26},
    {"BUTTON", "Cancel", IDCANCEL, kButton, 196, 66, 76, 26},
};

// Preferences: the platform's settings, the devices as drop-down lists, the
// files as paths with a Browse button.
constexpr DialogControl kPreferences[] = {
    {"STATIC", "Output device:", -1, kShown, 12, 16, 150, 18},
    {"COMBOBOX", "", IDC_PREF_OUTPUT, kTab | CBS_DROPDOWNLIST, 168, 12, 256, 26},
    {"STATIC", "Recording device:", -1, kShown, 12, 50, 150, 18},
    {"COMBOBOX", "", IDC_PREF_INPUT, kTab | CBS_DROPDOWNLIST, 168, 46, 256, 26},
    {"STATIC", "SoundFont for MIDI:", -1, kShown, 12, 84, 150, 18},
    {"EDIT", "", IDC_PREF_SOUNDFONT, kEdit, 168, 80, 168, 24},
    {"BUTTON", "&Browse...", IDC_PREF_SOUNDFONT_BROWSE, kButton, 344, 79, 80, 26},
    {"STATIC", "CD drive or disc image:", -1, kShown, 12, 118, 150, 18},
    {"EDIT", "", IDC_PREF_CDROM, kEdit, 168, 114, 168, 24},
    {"BUTTON", "Bro&wse...", IDC_PREF_CDROM_BROWSE, kButton, 344, 113, 80, 26},
    {"STATIC", "", IDC_PREF_NOTE, kShown, 12, 152, 412, 18},
    {"BUTTON", "OK", IDOK, kDefault, 256, 182, 80, 26},
    {"BUTTON", "Cancel", IDCANCEL, kButton, 344, 182, 80, 26},
};

constexpr DialogResource kDialogs[] = {
    {DLG_CD_PROGRAM, "CD Program", 578, 350, kCdProgram, std::size(kCdProgram)},
    {DLG_RECORD_FORMAT, "New Recording", 294, 174, kRecordFormat, std::size(kRecordFormat)},
    {DLG_RECORDING_CONTROL, "Recording Control", 316, 226, kRecordingControl, std::size(kRecordingControl)},
    {DLG_CD_TITLES, "Disc and Track Titles", 420, 340, kCdTitles, std::size(kCdTitles)},
    {DLG_CD_TRACK_TITLE, "Track Title", 380, 120, kCdTrackTitle, std::size(kCdTrackTitle)},
    {DLG_PREFERENCES, "Preferences", 436, 220, kPreferences, std::size(kPreferences)},
    {DLG_PLAYLIST_NAME, "Playlist Name", 282, 102, kPlaylistName, std::size(kPlaylistName)},
    {DLG_PLAYLIST_EDITOR, "Playlist", 336, 326, kPlaylistEditor, std::size(kPlaylistEditor)},
};

}  // namespace

std::span<const DialogResource> dialog_templates() { return kDialogs; }
