#pragma once
// The Win32 base types, handles and macros that every platform layer and every
// subsystem shares. Each layer declares its own functions and constants on top.
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using DWORD_PTR = std::uintptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ATOM = WORD;
using CHAR = char;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;
using HANDLE = void*;

#define QUORVIN_DECLARE_HANDLE(name) \
  struct name##__;                   \
  using name = name##__*
QUORVIN_DECLARE_HANDLE(HWND);
QUORVIN_DECLARE_HANDLE(HINSTANCE);
QUORVIN_DECLARE_HANDLE(HMENU);
QUORVIN_DECLARE_HANDLE(HDC);
QUORVIN_DECLARE_HANDLE(HBITMAP);
QUORVIN_DECLARE_HANDLE(HFONT);
QUORVIN_DECLARE_HANDLE(HBRUSH);
QUORVIN_DECLARE_HANDLE(HPEN);
QUORVIN_DECLARE_HANDLE(HPALETTE);
QUORVIN_DECLARE_HANDLE(HRGN);
QUORVIN_DECLARE_HANDLE(HCURSOR);
QUORVIN_DECLARE_HANDLE(HICON);
QUORVIN_DECLARE_HANDLE(HACCEL);
QUORVIN_DECLARE_HANDLE(HMIXER);
#undef QUORVIN_DECLARE_HANDLE
using HGDIOBJ = void*;
using HMODULE = HINSTANCE;
using HGLOBAL = void*;

#define CALLBACK
#define WINAPI
#define APIENTRY

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(std::uintptr_t v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE HIBYTE(std::uintptr_t v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(MAKELONG(lo, hi)); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return static_cast<WPARAM>(MAKELONG(lo, hi)); }
constexpr DWORD RGB(BYTE r, BYTE g, BYTE b) { return r | (g << 8) | (static_cast<DWORD>(b) << 16); }
using COLORREF = DWORD;
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

// The size of every path buffer: a Linux path (PATH_MAX with its NUL) fits whole.
constexpr UINT MAX_PATH = 4096;

// Resource identifiers: a small integer passed where a name is expected.
inline LPCSTR MAKEINTRESOURCEA(WORD id) { return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(id)); }
inline bool IS_INTRESOURCE(LPCSTR p) { return (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0; }

// Multimedia messages the platform layers post to windows.
constexpr UINT MM_MCINOTIFY = 0x3B9;
constexpr UINT MM_MIXM_CONTROL_CHANGE = 0x3D1;

struct POINT {
  LONG x;
  LONG y;
};
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPRECT = RECT*;
using LPPOINT = POINT*;
