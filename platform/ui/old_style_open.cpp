// The old-style Open dialog: current folder, file list, folder list and
// filter of our own, the program's template beside them, and its hook
// procedure ahead of the dialog's own handling. Folders are read with
// readdir so that names keep their exact bytes.
#include "platform/ui/old_style_open.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QStyle>
#include <cerrno>
#include <cstring>
#include <functional>

#include "platform/ui/controls.h"
#include "platform/ui/dialog_runner.h"

namespace ui_detail {
namespace {

using ui_resources::DialogControl;

constexpr int kPanelWidth = 300;
constexpr int kPanelHeight = 326;
constexpr int kButtonColumn = 96;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kList = kChild | WS_BORDER | LBS_NOTIFY;
constexpr int kLabels = 0x0441;  // stc2 on: labels no template control shares

// Our side of the dialog. Tab stops are added when the template marks its own.
const std::vector<DialogControl> kPanel = {
    {"STATIC", "Folder:", kLabels, kChild, 8, 8, 46, 16},
    {"STATIC", "", stc1, kChild, 56, 8, 236, 16},
    {"STATIC", "Files:", kLabels + 1, kChild, 8, 30, 140, 16},
    {"LISTBOX", "", lst1, kList, 8, 48, 140, 220},
    {"STATIC", "Folders:", kLabels + 2, kChild, 156, 30, 136, 16},
    {"LISTBOX", "", lst2, kList, 156, 48, 136, 220},
    {"STATIC", "Files of type:", kLabels + 3, kChild, 8, 276, 284, 16},
    {"COMBOBOX", "", cmb1, kChild | CBS_DROPDOWNLIST, 8, 294, 284, 24},
};

struct Entry {
  std::string name;
  bool folder;
};

// The visible entries of a folder, sorted without regard to case; false when
// the folder cannot be read (errno tells why).
bool read_folder(const std::string& path, std::vector<Entry>& out) {
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return false;
  while (dirent* e = ::readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    bool folder = e->d_type == DT_DIR;
    if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
      struct stat st {};
      std::string full = path == "/" ? "/" + std::string(e->d_name) : path + "/" + e->d_name;
      folder = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    out.push_back({e->d_name, folder});
  }
  ::closedir(dir);
  std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) {
    int c = ::strcasecmp(a.name.c_str(), b.name.c_str());
    return c != 0 ? c < 0 : a.name < b.name;
  });
  return true;
}

std::vector<std::string> components(const std::string& folder) {
  std::vector<std::string> parts{"/"};
  std::size_t from = 1;
  while (from < folder.size()) {
    std::size_t end = folder.find('/', from);
    if (end == std::string::npos) end = folder.size();
    if (end > from) parts.push_back(folder.substr(from, end - from));
    from = end + 1;
  }
  return parts;
}

std::string join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string absolute_folder(const std::string& path) {
  if (path.empty()) return std::string();
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return std::string();
  std::string out = real;
  std::free(real);
  struct stat st {};
  return ::stat(out.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? out : std::string();
}

// "*.*" means every file, as the system's patterns do.
bool matches_filter(const std::string& name, const std::vector<std::string>& patterns) {
  if (patterns.empty()) return true;
  for (const auto& p : patterns)
    if (p == "*.*" || p == "*" || ::fnmatch(p.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
  return false;
}

class OldStyleDialog;
std::vector<OldStyleDialog*> open_dialogs;

// Enter on a list acts on its caret item as a double-click does; Backspace
// goes up one folder. When the folder list loses the keyboard its caret goes
// back to the folder shown, so the path items up to the caret always name it.
class ListKeys : public QObject {
 public:
  ListKeys(QObject* parent, HWND list, std::function<void()> up, std::function<void()> leave)
      : QObject(parent), list_(list), up_(std::move(up)), leave_(std::move(leave)) {}

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::FocusOut && leave_) leave_();
    if (e->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      notify_parent(list_, LBN_DBLCLK);
      return true;
    }
    if (key->key() == Qt::Key_Backspace) {
      up_();
      return true;
    }
    return false;
  }

 private:
  HWND list_;
  std::function<void()> up_;
  std::function<void()> leave_;
};

class OldStyleDialog {
 public:
  explicit OldStyleDialog(FileRequest& request) : request_(request) {}

  std::string chosen;

  INT_PTR message(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
      hwnd_ = hwnd;
      start();
      if (!hook()) return TRUE;
      return static_cast<INT_PTR>(hook()(hwnd, msg, wp, reinterpret_cast<LPARAM>(request_.ofn)));
    }
    if (hook())
      if (INT_PTR handled = static_cast<INT_PTR>(hook()(hwnd, msg, wp, lp))) return handled;
    if (msg == WM_COMMAND) return command(LOWORD(wp), HIWORD(wp));
    if (msg == WM_DESTROY) remember_filter();
    return FALSE;
  }

  HWND hwnd() const { return hwnd_; }

 private:
  // The filter in use goes back to the program, as nFilterIndex.
  void remember_filter() {
    LRESULT index = SendDlgItemMessageA(hwnd_, cmb1, CB_GETCURSEL, 0, 0);
    if (index >= 0) request_.ofn->nFilterIndex = static_cast<DWORD>(index + 1);
  }

  LPOFNHOOKPROC hook() const { return (request_.ofn->Flags & OFN_ENABLEHOOK) ? request_.ofn->lpfnHook : nullptr; }

  void start() {
    for (const auto& pair : request_.filters)
      SendDlgItemMessageA(hwnd_, cmb1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(filter_description(pair).c_str()));
    if (!request_.filters.empty()) {
      int index =
          std::clamp(static_cast<int>(request_.ofn->nFilterIndex), 1, static_cast<int>(request_.filters.size()));
      SendDlgItemMessageA(hwnd_, cmb1, CB_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
    }
    for (int id : {lst1, lst2}) {
      HWND list = GetDlgItem(hwnd_, id);
      auto up = [this] {
        if (current_index_ > 0) go_to(folder_up(), true);
      };
      std::function<void()> leave;
      if (id == lst2)
        leave = [this] { SendDlgItemMessageA(hwnd_, lst2, LB_SETCURSEL, static_cast<WPARAM>(current_index_), 0); };
      if (Window* w = find_window(list); w && w->widget)
        w->widget->installEventFilter(new ListKeys(w->widget, list, up, leave));
    }
    std::string folder = absolute_folder(request_.start_dir);
    if (folder.empty()) folder = absolute_folder(".");
    if (folder.empty() || !go_to(folder, false)) go_to("/", false);
  }

  std::vector<std::string> current_patterns() const {
    LRESULT index = SendDlgItemMessageA(hwnd_, cmb1, CB_GETCURSEL, 0, 0);
    if (index < 0 || index >= static_cast<LRESULT>(request_.filters.size())) return {};
    return filter_patterns(request_.filters[static_cast<std::size_t>(index)]);
  }

  // Shows a folder; a folder that cannot be read is reported and left.
  bool go_to(const std::string& folder, bool report) {
    std::vector<Entry> entries;
    if (!read_folder(folder, entries)) {
      if (report) {
        std::string text = folder + "\nThis folder cannot be opened: " + std::strerror(errno) + ".";
        MessageBoxA(hwnd_, text.c_str(), request_.ofn->lpstrTitle ? request_.ofn->lpstrTitle : "Open",
                    MB_OK | MB_ICONEXCLAMATION);
        show_folders();  // the caret back on the folder still shown
      }
      return false;
    }
    folder_ = folder;
    entries_ = std::move(entries);
    SetDlgItemTextA(hwnd_, stc1, folder_.c_str());
    show_folders();
    show_files();
    return true;
  }

  void show_folders() {
    HWND list = GetDlgItem(hwnd_, lst2);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    auto parts = components(folder_);
    for (const auto& p : parts) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.c_str()));
    for (const auto& e : entries_)
      if (e.folder) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.name.c_str()));
    current_index_ = static_cast<int>(parts.size()) - 1;
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(current_index_), 0);
    if (Window* w = find_window(list); w && w->widget) {
      auto* view = static_cast<QListWidget*>(w->widget.data());
      QStyle* style = QApplication::style();
      for (int i = 0; i < view->count(); ++i)
        view->item(i)->setIcon(style->standardIcon(i <= current_index_ ? QStyle::SP_DirOpenIcon : QStyle::SP_DirIcon));
    }
  }

  void show_files() {
    HWND list = GetDlgItem(hwnd_, lst1);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    auto patterns = current_patterns();
    for (const auto& e : entries_)
      if (!e.folder && matches_filter(e.name, patterns))
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.name.c_str()));
  }

  std::string item_text(int id, LRESULT index) const {
    LRESULT length = SendDlgItemMessageA(hwnd_, id, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendDlgItemMessageA(hwnd_, id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
  }

  std::string folder_up() const {
    auto slash = folder_.rfind('/');
    return slash == 0 ? "/" : folder_.substr(0, slash);
  }

  void open_folder_at_caret() {
    LRESULT caret = SendDlgItemMessageA(hwnd_, lst2, LB_GETCARETINDEX, 0, 0);
    std::string name = item_text(lst2, caret);
    if (name.empty()) return;
    std::string target;
    if (caret <= current_index_) {
      auto parts = components(folder_);
      target = "/";
      for (LRESULT i = 1; i <= caret; ++i) target = join(target, parts[static_cast<std::size_t>(i)]);
    } else {
      target = join(folder_, name);
    }
    go_to(target, true);
  }

  void choose_file_at_caret() {
    LRESULT selected = SendDlgItemMessageA(hwnd_, lst1, LB_GETCURSEL, 0, 0);
    if (selected < 0) return;
    std::string path = join(folder_, item_text(lst1, selected));
    if (!accept_choice(request_, path, hwnd_)) return;
    chosen = path;
    EndDialog(hwnd_, 1);
  }

  INT_PTR command(int id, WORD code) {
    switch (id) {
      case lst1:
        if (code == LBN_DBLCLK) choose_file_at_caret();
        return TRUE;
      case lst2:
        if (code == LBN_DBLCLK) open_folder_at_caret();
        return TRUE;
      case cmb1:
        if (code == CBN_SELCHANGE) show_files();
        return TRUE;
      case IDOK:
        if (Window* folders = find_window(GetDlgItem(hwnd_, lst2));
            folders && folders->widget && folders->widget->hasFocus())
          open_folder_at_caret();
        else
          choose_file_at_caret();
        return TRUE;
      case IDCANCEL:
      case IDABORT:
        EndDialog(hwnd_, 0);
        return TRUE;
      default:
        return FALSE;
    }
  }

  FileRequest& request_;
  HWND hwnd_ = nullptr;
  std::string folder_;
  std::vector<Entry> entries_;
  int current_index_ = 0;
};

INT_PTR CALLBACK old_style_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) return reinterpret_cast<OldStyleDialog*>(lp)->message(hwnd, msg, wp, lp);
  for (OldStyleDialog* d : open_dialogs)
    if (d->hwnd() == hwnd) return d->message(hwnd, msg, wp, lp);
  return FALSE;
}

bool has_control(const DialogLayout& layout, int id) {
  return std::any_of(layout.controls.begin(), layout.controls.end(), [id](const auto& c) { return c.id == id; });
}

}  // namespace

std::optional<std::string> run_old_style_open(FileRequest& request) {
  const OPENFILENAMEA& ofn = *request.ofn;
  DialogLayout custom;
  if (ofn.Flags & OFN_ENABLETEMPLATE) {
    const ui_resources::DialogResource* tpl = find_dialog_template(ofn.lpTemplateName);
    if (!tpl) return std::nullopt;
    custom = layout_of(*tpl);
  }
  bool tab_stops =
      std::any_of(custom.controls.begin(), custom.controls.end(), [](const auto& c) { return c.style & WS_TABSTOP; });
  DialogLayout layout;
  layout.caption = ofn.lpstrTitle ? ofn.lpstrTitle : !custom.caption.empty() ? custom.caption : "Open";
  for (DialogControl c : kPanel) {
    if (tab_stops && std::string(c.cls) != "STATIC") c.style |= WS_TABSTOP;
    layout.controls.push_back(c);
  }
  for (DialogControl c : custom.controls) {
    c.x += kPanelWidth;
    layout.controls.push_back(c);
  }
  int width = kPanelWidth + custom.cx;
  if (!has_control(custom, IDOK) && !has_control(custom, IDCANCEL)) {
    DWORD stop = tab_stops ? WS_TABSTOP : 0;
    layout.controls.push_back({"BUTTON", "OK", IDOK, kChild | stop | BS_DEFPUSHBUTTON, width, 48, 84, 26});
    layout.controls.push_back({"BUTTON", "Cancel", IDCANCEL, kChild | stop | BS_PUSHBUTTON, width, 80, 84, 26});
    width += kButtonColumn;
  }
  layout.cx = width;
  layout.cy = std::max(kPanelHeight, custom.cy);

  OldStyleDialog dialog(request);
  open_dialogs.push_back(&dialog);
  // The procedure finds the dialog by its window from WM_INITDIALOG on.
  run_dialog(layout, ofn.hwndOwner, old_style_proc, reinterpret_cast<LPARAM>(&dialog));
  open_dialogs.erase(std::find(open_dialogs.begin(), open_dialogs.end(), &dialog));
  return dialog.chosen;
}

}  // namespace ui_detail
