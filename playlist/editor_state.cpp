#include "playlist/editor_state.h"

#include "platform/ui/windows.h"
#include "playlist/names.h"
#include "resources/ids/dialogs.h"

namespace {

// What the list shows of an entry: the part after its last '/'.
const char* shown_name(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

std::string combo_text(int index) {
  const LRESULT length =
      SendDlgItemMessageA(editor.window, IDC_PLAYLIST_CHOOSER, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendDlgItemMessageA(editor.window, IDC_PLAYLIST_CHOOSER, CB_GETLBTEXT, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

void add_to_play_list(const std::string& path) {
  if (!editor.work.add(path)) return;
  SendDlgItemMessageA(editor.window, IDC_PLAYLIST_ITEMS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown_name(path)));
}

void empty_play_list() {
  SendDlgItemMessageA(editor.window, IDC_PLAYLIST_ITEMS, LB_RESETCONTENT, 0, 0);
  editor.work.clear();
}

void load_play_list(const std::vector<std::string>& entries) {
  std::string left_out;
  int taken = 0;
  for (const std::string& entry : entries) {
    if (taken == WorkArea::kCapacity) break;
    ++taken;
    if (entry.size() > static_cast<std::size_t>(WorkArea::kMaxPath)) {
      left_out += "\n" + entry;
      continue;
    }
    add_to_play_list(entry);
  }
  if (!left_out.empty())
    editor_box("These entries are longer than the 127 characters a playlist entry can hold and were left out; "
               "confirming the editor drops them from the playlist file:" + left_out,
               "Playlist", MB_OK | MB_ICONEXCLAMATION);
}

std::vector<std::string> play_list_entries() {
  std::vector<std::string> entries;
  for (int i = 0; i < editor.work.count(); ++i) entries.emplace_back(editor.work.entry(i));
  return entries;
}

std::vector<std::string> chooser_names() {
  const LRESULT count = SendDlgItemMessageA(editor.window, IDC_PLAYLIST_CHOOSER, CB_GETCOUNT, 0, 0);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(combo_text(i));
  return names;
}

int chooser_selection() {
  return static_cast<int>(SendDlgItemMessageA(editor.window, IDC_PLAYLIST_CHOOSER, CB_GETCURSEL, 0, 0));
}

int editor_box(const std::string& text, const char* caption, UINT type) {
  return MessageBoxA(editor.window, text.c_str(), caption, type);
}
