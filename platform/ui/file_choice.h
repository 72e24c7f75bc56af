#pragma once
// What the Open and Save dialogs share: the request as the program made it,
// the checks a chosen path must pass before a dialog may end with it, and
// handing the path back in the OPENFILENAMEA. GUI thread only.
#include <string>
#include <vector>

#include "platform/ui/ui_internal.h"

namespace ui_detail {

struct FileRequest {
  OPENFILENAMEA* ofn = nullptr;
  bool save = false;
  std::vector<std::string> filters;  // "description|patterns"
  std::string start_dir;             // where the dialog opens ('/'-separated, may be empty)
  std::string proposed_name;         // lpstrFile's initial content without its folder
  bool last_refusal_too_long = false;
};

FileRequest make_request(OPENFILENAMEA* ofn, bool save);
// The default extension added to a name that has none.
std::string with_default_extension(const std::string& path, LPCSTR extension);
// True when `path` (the default extension added) may end the dialog; otherwise
// the refusal or the replace question has been shown, owned by `box_owner`.
bool accept_choice(FileRequest& request, std::string& path, HWND box_owner);
// Copies an accepted path into lpstrFile, lpstrFileTitle and the offsets.
void deliver_choice(OPENFILENAMEA& ofn, const std::string& path);
// The patterns of a filter pair ("*.wav;*.WAV" → {"*.wav", "*.WAV"}).
std::vector<std::string> filter_patterns(const std::string& pair);
std::string filter_description(const std::string& pair);

}  // namespace ui_detail
