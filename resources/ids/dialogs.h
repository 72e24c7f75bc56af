#pragma once
// Dialog templates and their controls. Each dialog's controls follow its
// template identifier; a module adds the controls of the dialogs it owns.
#include "platform/wintypes.h"

constexpr WORD DLG_CD_PROGRAM = 143;       // CD program editor
constexpr WORD DLG_RECORD_FORMAT = 213;    // new recording's format
constexpr WORD DLG_RECORDING_CONTROL = 214; // recording source and input levels
constexpr WORD DLG_CD_TITLES = 233;        // disc and track titles
constexpr WORD DLG_CD_TRACK_TITLE = 234;   // one track's title
constexpr WORD DLG_PLAYLIST_NAME = 270;    // playlist name
constexpr WORD DLG_PLAYLIST_EDITOR = 1536; // template laid beside the file chooser

// CD program editor (143).
constexpr int IDC_CD_AVAILABLE = 1000;        // list: every track of the disc
constexpr int IDC_CD_PROGRAM = 1001;          // list: the program, in order
constexpr int IDC_CD_ADD = 1002;
constexpr int IDC_CD_REMOVE = 1003;
constexpr int IDC_CD_UP = 1004;
constexpr int IDC_CD_DOWN = 1005;
constexpr int IDC_CD_ACCEPT_PLAY = 1006;
constexpr int IDC_CD_AVAILABLE_COUNT = 1007;  // "Available Tracks: %d"
constexpr int IDC_CD_AVAILABLE_TOTAL = 1008;  // "Total :  [%d:%d]"
constexpr int IDC_CD_PROGRAM_TOTAL = 1009;    // "Total :  [%d:%d]"
constexpr int IDC_CD_OPEN_TITLES = 1018;
constexpr int IDC_CD_TITLE_LABEL = 1023;      // "Title : " and the disc title
constexpr int IDC_CD_PROGRAM_COUNT = -1;      // "Selected Tracks: %d"; the template's first control with -1
// CD title dialog (233).
constexpr int IDC_CD_DISC_TITLE = 1019;
constexpr int IDC_CD_TITLE_TRACKS = 1020;
// CD track-title dialog (234).
constexpr int IDC_CD_TRACK_TITLE = 1021;
constexpr int IDC_CD_TRACK_LABEL = 1022;      // "Track : %02d  [%02d:%02d]"

// DLG_RECORD_FORMAT: one radio group each for the rate, the sample size and
// the channels (the settings store these identifiers), and the custom rate in kHz.
constexpr int IDC_RATE_11025 = 1009, IDC_RATE_22050 = 1010, IDC_RATE_44100 = 1011, IDC_RATE_CUSTOM = 1012;
constexpr int IDC_CUSTOM_RATE = 1013;
constexpr int IDC_SIZE_8 = 1014, IDC_SIZE_16 = 1015;
constexpr int IDC_MONO = 1016, IDC_STEREO = 1017;

// DLG_RECORDING_CONTROL: the recording source, the line and microphone volumes
// and mutes, the input meter, and the desktop's own input settings.
constexpr int IDC_SOURCE_CAPTURE = 1101, IDC_SOURCE_RACK = 1102;
constexpr int IDC_LINE_DOWN = 1103, IDC_LINE_LEVEL = 1104, IDC_LINE_UP = 1105, IDC_LINE_MUTE = 1106;
constexpr int IDC_MIC_DOWN = 1107, IDC_MIC_LEVEL = 1108, IDC_MIC_UP = 1109, IDC_MIC_MUTE = 1110;
constexpr int IDC_INPUT_METER = 1111, IDC_CAPTURE_STATE = 1112, IDC_DESKTOP_INPUT = 1113;

// Preferences: the platform's settings (platform.ini).
constexpr WORD DLG_PREFERENCES = 290;
constexpr int IDC_PREF_OUTPUT = 2901;           // drop-down list of output devices
constexpr int IDC_PREF_INPUT = 2902;            // drop-down list of recording devices
constexpr int IDC_PREF_SOUNDFONT = 2903;        // SoundFont path
constexpr int IDC_PREF_SOUNDFONT_BROWSE = 2904;
constexpr int IDC_PREF_CDROM = 2905;            // CD drive or disc image
constexpr int IDC_PREF_CDROM_BROWSE = 2906;
constexpr int IDC_PREF_NOTE = 2907;             // which settings the environment overrides

// The playlist editor (1536, laid beside the old-style Open dialog's lists)
// and its name dialog (270).
constexpr int IDC_PLAYLIST_ITEMS = 1001;      // list box: the work area, unsorted
constexpr int IDC_PLAYLIST_ADD = 1036;        // add the file at the file list's caret
constexpr int IDC_PLAYLIST_PLAY = 1039;       // confirm and play; caption "&Play" or "Sto&p"
constexpr int IDC_PLAYLIST_CHOOSER = 1046;    // combo box: the named playlists
constexpr int IDC_PLAYLIST_DELETE = 1047;     // delete the chosen playlist
constexpr int IDC_PLAYLIST_REMOVE = 1048;     // remove the entry at the work area's caret
constexpr int IDC_PLAYLIST_SAVE = 1049;       // save the work area under a name
constexpr int IDC_PLAYLIST_NAME = 1050;       // edit box of dialog 270
constexpr int IDC_PLAYLIST_ADD_ALL = 1053;    // add every file of the file list
constexpr int IDC_PLAYLIST_CLEAR = 1054;      // empty the work area
constexpr int IDC_PLAYLIST_EXPORT = 1055;     // write the work area as an M3U8 file
constexpr int IDC_PLAYLIST_LABEL = 1056;      // labels (statics), not addressed
