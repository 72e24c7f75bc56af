#pragma once
// Files that come from the desktop: named on the command line or handed over
// by a later start (WM_COPYDATA), and dropped on the rack (WM_DROPFILES).
// Opened by kind: a wave file into wave deck 1, a MIDI file into the MIDI
// deck, a disc image (CUE, TOC, NRG) into the CD drive. A drop loads into the
// deck whose face it lands on. Anything else is refused with a message.
#include <string>

#include "platform/wintypes.h"

enum class FileKind { Wave, Midi, DiscImage, Unknown };
// By the name's extension, without regard to case.
FileKind file_kind(const std::string& path);

// WM_COPYDATA with files to open.
LRESULT on_copy_data(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// WM_DROPFILES.
LRESULT on_drop_files(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
