#pragma once
// The window messages through which the desktop reaches the program, with
// their Win32 names and values: files handed over by another start or by the
// desktop's "open with" (WM_COPYDATA), and media keys (WM_APPCOMMAND).
#include <string>
#include <vector>

#include "platform/ui/windows.h"

constexpr UINT WM_COPYDATA = 0x004A;
constexpr UINT WM_APPCOMMAND = 0x0319;
constexpr UINT WM_APP = 0x8000;
// The desktop sets the program's volume: wParam the level, 0 (silent) to
// kDesktopVolumeFull.
constexpr UINT WM_QUORVIN_SET_VOLUME = WM_APP + 1;
constexpr WPARAM kDesktopVolumeFull = 65535;

struct COPYDATASTRUCT {
  ULONG_PTR dwData;
  DWORD cbData;
  LPVOID lpData;
};
using PCOPYDATASTRUCT = COPYDATASTRUCT*;

// dwData of a WM_COPYDATA that carries files to open: the paths, each ended by a NUL.
constexpr ULONG_PTR kCopyDataOpenFiles = 0x51564F46;  // "QVOF"

// The paths of an open-files WM_COPYDATA; empty for any other.
std::vector<std::string> copy_data_files(const COPYDATASTRUCT* data);
// Sends the paths to `window` as an open-files WM_COPYDATA (nothing for none).
void send_open_files(HWND window, const std::vector<std::string>& paths);

// WM_APPCOMMAND: the command is in the high word of lParam, under the device bits.
constexpr WORD APPCOMMAND_MEDIA_NEXTTRACK = 11;
constexpr WORD APPCOMMAND_MEDIA_PREVIOUSTRACK = 12;
constexpr WORD APPCOMMAND_MEDIA_STOP = 13;
constexpr WORD APPCOMMAND_MEDIA_PLAY_PAUSE = 14;
constexpr WORD APPCOMMAND_MEDIA_PLAY = 46;
constexpr WORD APPCOMMAND_MEDIA_PAUSE = 47;
constexpr WORD FAPPCOMMAND_MASK = 0xF000;
constexpr WORD GET_APPCOMMAND_LPARAM(LPARAM lparam) {
  return static_cast<WORD>((static_cast<DWORD>(lparam) >> 16) & ~FAPPCOMMAND_MASK);
}
