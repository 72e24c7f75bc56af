#include "app/choose_file.h"

#include "platform/ui/windows.h"
#include "skin/rack_state.h"

bool choose_file(HWND owner, WORD filter_id, const char* title, const std::string& folder, std::string* path) {
  char filter[256] = "";
  const int n = LoadStringA(program_instance, filter_id, filter, sizeof filter - 1);
  const char separator = n > 0 ? filter[n - 1] : '|';
  for (int i = 0; i < n; ++i)
    if (filter[i] == separator) filter[i] = '\0';
  char file[MAX_PATH] = "";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&ofn)) return false;
  *path = file;
  return true;
}
