#pragma once
// The Open dialog as the desktop commands use it: one existing file, the
// filter from a string resource ("name|pattern|...|", its last character the separator).
#include <string>

#include "platform/wintypes.h"

// True with the chosen path; false when cancelled.
bool choose_file(HWND owner, WORD filter, const char* title, const std::string& folder, std::string* path);
