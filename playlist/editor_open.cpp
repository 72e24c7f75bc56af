// Opening the playlist editor: the old-style Open dialog with the editor's
// template beside its lists and the hook that runs everything the editor does.
#include "playlist/editor_state.h"
#include "playlist/playlist.h"
#include "platform/ui/windows.h"
#include "resources/ids/dialogs.h"
#include "resources/ids/menus.h"
#include "resources/ids/strings.h"
#include "skin/file_filter.h"
#include "skin/rack_state.h"

EditorState editor;

namespace {

// Which control notification runs which action; anything else of these
// controls is the editor's and does nothing, the rest is the dialog's.
struct ControlRow {
  int id;
  WORD code;
  void (*run)(HWND dialog);
};
constexpr ControlRow kControls[] = {
    {IDC_PLAYLIST_ADD, BN_CLICKED, add_file},
    {lst1, LBN_DBLCLK, add_file},
    {IDC_PLAYLIST_ADD_ALL, BN_CLICKED, add_all_files},
    {IDC_PLAYLIST_REMOVE, BN_CLICKED, remove_entry},
    {IDC_PLAYLIST_ITEMS, LBN_DBLCLK, remove_entry},
    {IDC_PLAYLIST_CLEAR, BN_CLICKED, clear_entries},
    // Only a new choice reloads the play list: focus changes and drop-downs keep its edits.
    {IDC_PLAYLIST_CHOOSER, CBN_SELCHANGE, choose_playlist},
    {IDC_PLAYLIST_DELETE, BN_CLICKED, delete_playlist},
    {IDC_PLAYLIST_SAVE, BN_CLICKED, save_playlist},
    {IDC_PLAYLIST_EXPORT, BN_CLICKED, export_play_list},
    {IDOK, BN_CLICKED, confirm},
    {IDC_PLAYLIST_PLAY, BN_CLICKED, confirm_and_play},
    {IDCANCEL, BN_CLICKED, cancel},
};

// The deck's filter, then the playlist files.
std::string editor_filter() {
  return load_file_filter(target_kind() == DeckKind::Midi ? IDS_MIDI_FILTER : IDS_WAVE_FILTER) +
         load_file_filter(IDS_PLAYLIST_FILES_FILTER) + '\0';
}

void show_memory_error(HWND dialog, const char* text) {
  MessageBoxA(dialog, text, "Memory Error", MB_OK | MB_ICONHAND);
  // Without its work area the editor can do nothing: it closes.
  PostMessageA(dialog, WM_COMMAND, IDABORT, 0);
}

void initialise(HWND dialog) {
  editor.window = dialog;
  switch (editor.work.allocate()) {
    case WorkArea::Made::NoMemory:
      return show_memory_error(dialog, "Can not allocate Local memory.");
    case WorkArea::Made::NoLock:
      return show_memory_error(dialog, "Can not lock Local memory block.");
    case WorkArea::Made::Ok:
      break;
  }
  editor.files = store_files(target_kind());
  copy_store_to_scratch(editor.files);
  for (const std::string& name : read_playlist_names(editor.files.scratch))
    SendDlgItemMessageA(dialog, IDC_PLAYLIST_CHOOSER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  SendDlgItemMessageA(dialog, IDC_PLAYLIST_CHOOSER, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  load_play_list(read_list(kPlayListSection, editor.files.store));
}

UINT_PTR CALLBACK editor_hook(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    initialise(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND || !editor.work.ready()) return FALSE;
  const int id = LOWORD(wparam);
  bool editors_control = false;
  for (const ControlRow& row : kControls) {
    if (row.id != id) continue;
    editors_control = true;
    if (row.code == HIWORD(wparam)) {
      row.run(dialog);
      return TRUE;
    }
  }
  // The file and folder lists and the filter stay the dialog's own.
  return editors_control && id != lst1 ? TRUE : FALSE;
}

const char* editor_title() {
  switch (editor.target) {
    case IDM_TAPE1_PLAYLIST:
      return "Wave Playlist - Deck 1";
    case IDM_TAPE2_PLAYLIST:
      return "Wave Playlist - Deck 2";
    default:
      return "MIDI Playlist";
  }
}

// The folder of the play list's first file, when there is one: most likely where more of them are.
std::string start_folder() {
  const std::vector<std::string> entries = read_list(kPlayListSection, store_files(target_kind()).store);
  if (entries.empty()) return std::string();
  const std::size_t slash = entries.front().rfind('/');
  return slash == std::string::npos ? std::string() : entries.front().substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

DeckKind target_kind() { return editor.target == IDM_MIDI_PLAYLIST ? DeckKind::Midi : DeckKind::Wave; }

Deck& target_deck() {
  if (editor.target == IDM_MIDI_PLAYLIST) return midi_deck;
  return wave_deck(editor.target == IDM_TAPE2_PLAYLIST ? 2 : 1);
}

WORD playlist_editor_target() { return editor.target; }

LRESULT open_playlist_editor(HWND window, UINT, WPARAM wparam, LPARAM) {
  if (editor.window != nullptr) return 0;  // one editor at a time
  editor.target = LOWORD(wparam);
  const std::string filter = editor_filter();
  const std::string folder = start_folder();
  char file[MAX_PATH + 1] = "";
  OPENFILENAMEA request{};
  request.lStructSize = 76;
  request.hwndOwner = window;
  request.hInstance = program_instance;
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = file;
  request.nMaxFile = sizeof file;
  request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  request.lpstrTitle = editor_title();
  request.Flags = OFN_OVERWRITEPROMPT | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
  request.lpTemplateName = MAKEINTRESOURCEA(DLG_PLAYLIST_EDITOR);
  request.lpfnHook = editor_hook;
  GetOpenFileNameA(&request);
  // However the dialog ended, the editor is gone with it.
  release_editor();
  editor.window = nullptr;
  return 0;
}
