#include "platform/desktop/desktop_messages.h"

std::vector<std::string> copy_data_files(const COPYDATASTRUCT* data) {
  std::vector<std::string> paths;
  if (data == nullptr || data->dwData != kCopyDataOpenFiles || data->lpData == nullptr) return paths;
  const char* bytes = static_cast<const char*>(data->lpData);
  std::string current;
  for (DWORD i = 0; i < data->cbData; ++i) {
    if (bytes[i] != '\0') {
      current += bytes[i];
    } else if (!current.empty()) {
      paths.push_back(std::move(current));
      current.clear();
    }
  }
  // A block whose last path lacks its NUL still gives that path whole.
  if (!current.empty()) paths.push_back(std::move(current));
  return paths;
}

void send_open_files(HWND window, const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  std::string block;
  for (const std::string& path : paths) {
    block += path;
    block += '\0';
  }
  COPYDATASTRUCT data{kCopyDataOpenFiles, static_cast<DWORD>(block.size()), block.data()};
  SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}
