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
