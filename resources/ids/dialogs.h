#pragma once
// Dialog templates and their controls. Each dialog's controls follow its
// template identifier; a module adds the controls of the dialogs it owns.
#include "platform/wintypes.h"

constexpr WORD DLG_CD_PROGRAM = 143;       // CD program editor
constexpr WORD DLG_RECORD_FORMAT = 213;    // new recording's format
constexpr WORD DLG_CD_TITLES = 233;        // disc and track titles
constexpr WORD DLG_CD_TRACK_TITLE = 234;   // one track's title
constexpr WORD DLG_PLAYLIST_NAME = 270;    // playlist name
constexpr WORD DLG_PLAYLIST_EDITOR = 1536; // template laid beside the file chooser

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
