#pragma once
// Saving deck 2's recording: the Save dialog (wave files only, the deck's name
// proposed, ".wav" added to a bare name) and "save tape2". Used by Save... (116)
// and by the save question of decks/decks.h. UI thread only.
//
// A save that fails leaves everything as it was (the recording, its modified
// flag, the deck's path; the device never leaves a half-written file) and tells
// the user which path could not be written and why.
#include "platform/wintypes.h"

enum class SaveOutcome { Saved, Cancelled, Failed };

// Asks for a name and saves; on success the deck takes the new path and name,
// a pending new recording ends, and the deck is no longer modified unless a
// take is still running (what it records after the save is not saved yet).
SaveOutcome save_recording_as(HWND owner);

LRESULT save_tape2(HWND window, UINT message, WPARAM wparam, LPARAM lparam);  // 116
