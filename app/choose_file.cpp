#include "app/choose_file.h"

#include "platform/ui/windows.h"
#include "skin/file_filter.h"

bool choose_file(HWND owner, WORD filter_id, const char* title, const std::string& folder, std::string* path) {
  const std::string filter = load_file_filter(filter_id);
  char file[MAX_PATH] = "";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
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
