#include "skin/settings_path.h"

#include <vector>

#include "platform/profile/profile.h"

std::string settings_path() {
  // Asked for the size first, so a long settings folder is never cut.
  char probe[1];
  const UINT needed = GetWindowsDirectoryA(probe, 0);
  std::vector<char> dir(needed + 1, '\0');
  GetWindowsDirectoryA(dir.data(), static_cast<UINT>(dir.size()));
  return std::string(dir.data()) + "/quorvin.ini";
}
