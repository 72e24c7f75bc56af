#pragma once
// Where profile files live on this system.
#include <string>

namespace profile {

// The Windows directory, without a trailing '/'.
std::string windows_directory();
// A bare file name resolves into the Windows directory; '\' separators written
// by callers that build paths the Win32 way are read as '/'.
std::string resolve_path(const char* file);
// Creates the Windows directory (and its parents) when it does not exist yet.
bool ensure_windows_directory();

}  // namespace profile
