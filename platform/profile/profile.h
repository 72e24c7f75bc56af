#pragma once
// Private-profile (INI) files and the Windows directory, with their Win32 names.
// Files named without a '/' live in the Windows directory. Reads are served from
// a parsed copy that is refreshed whenever the file changes on disk; every write
// replaces the file atomically and is on disk when the call returns.
#include "platform/wintypes.h"

using HFILE = int;
constexpr HFILE HFILE_ERROR = -1;
constexpr UINT OF_DELETE = 0x0200;
constexpr UINT OF_EXIST = 0x4000;
constexpr int OFS_MAXPATHNAME = 128;

struct OFSTRUCT {
  BYTE cBytes;
  BYTE fFixedDisk;
  WORD nErrCode;
  WORD Reserved1;
  WORD Reserved2;
  CHAR szPathName[OFS_MAXPATHNAME];
};
using LPOFSTRUCT = OFSTRUCT*;

// Copies the value (or `def` when the file, section or key is missing) into
// `buf`, cut to size - 1 characters; returns the number of characters copied.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buf, DWORD size, LPCSTR file);
// The value's leading decimal number (optional sign; 0 when there are no
// digits), or `def` when the key is missing.
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT def, LPCSTR file);
// Creates the file, section and key as needed and stores `value`, which reads
// back unchanged (one with blanks at its edges, or one that is itself in double
// quotes, is written in double quotes; the read takes one pair of them off).
// Lines the write does not change stay byte for byte. A null value
// deletes the key, a null key deletes the section. FALSE when the file could not
// be written (the old file is then left whole) or a name or value would break
// the file's line structure.
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);
// $QUORVIN_HOME, else $XDG_CONFIG_HOME/quorvin, else ~/.config/quorvin. Returns
// the length copied, or the size needed (with the NUL) when `size` is too small;
// the buffer then holds an empty string.
UINT GetWindowsDirectoryA(LPSTR buf, UINT size);
// Only OF_DELETE (remove the file) and OF_EXIST (test for it) are supported, for
// paths of any length. The record's szPathName receives the full path, or an
// empty string when it would not fit (never a cut path).
// Returns a non-negative value on success, HFILE_ERROR otherwise.
HFILE OpenFile(LPCSTR path, LPOFSTRUCT info, UINT style);
