#pragma once
// Small helpers over the dialogs' list boxes and labels.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/ui/windows.h"

inline std::string list_line(HWND dialog, int list, int index) {
  const LRESULT length = SendDlgItemMessageA(dialog, list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendDlgItemMessageA(dialog, list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// A line begins with its track number.
inline int line_track(HWND dialog, int list, int index) { return std::atoi(list_line(dialog, list, index).c_str()); }

inline int line_count(HWND dialog, int list) { return static_cast<int>(SendDlgItemMessageA(dialog, list, LB_GETCOUNT, 0, 0)); }

inline void add_line(HWND dialog, int list, const std::string& text) {
  SendDlgItemMessageA(dialog, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

inline void insert_line(HWND dialog, int list, int index, const std::string& text) {
  SendDlgItemMessageA(dialog, list, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
}

inline std::string window_text(HWND dialog, int id) {
  const LRESULT length = SendDlgItemMessageA(dialog, id, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetDlgItemTextA(dialog, id, text.data(), static_cast<int>(text.size()));
  text.resize(std::char_traits<char>::length(text.c_str()));
  return text;
}

template <typename... Args>
void set_label(HWND dialog, int id, const char* format, Args... args) {
  char text[64];
  std::snprintf(text, sizeof text, format, args...);
  SetDlgItemTextA(dialog, id, text);
}
