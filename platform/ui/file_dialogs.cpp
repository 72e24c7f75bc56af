// GetOpenFileNameA/GetSaveFileNameA: QFileDialog for the plain dialogs, the
// layer's own old-style dialog for a hook or a template, scripted answers in
// tests; every choice passes the same checks before it is returned.
#include <QFileDialog>
#include <QFileInfo>

#include "platform/ui/file_choice.h"
#include "platform/ui/old_style_open.h"
#include "platform/ui/test_hooks.h"

using namespace ui_detail;

namespace {

DWORD last_error = 0;

QString qt_filter(const std::string& pair) {
  QString description = QString::fromLatin1(filter_description(pair).c_str());
  QStringList patterns;
  for (const auto& p : filter_patterns(pair)) patterns << QString::fromLocal8Bit(p.c_str());
  int paren = description.indexOf('(');
  if (paren >= 0) description = description.left(paren).trimmed();
  return description + " (" + patterns.join(' ') + ")";
}

// A QFileDialog that ends only with a choice accept_choice lets through.
class CheckedFileDialog : public QFileDialog {
 public:
  CheckedFileDialog(QWidget* parent, FileRequest& request) : QFileDialog(parent), request_(request) {}
  std::string chosen;

  void accept() override {
    QStringList files = selectedFiles();
    if (files.isEmpty() || QFileInfo(files.first()).isDir()) {
      QFileDialog::accept();  // opens the folder
      return;
    }
    std::string path = files.first().toLocal8Bit().toStdString();
    if (!accept_choice(request_, path, request_.ofn->hwndOwner)) return;
    chosen = path;
    QDialog::accept();
  }

 private:
  FileRequest& request_;
};

std::string run_qt_dialog(FileRequest& request) {
  const OPENFILENAMEA& ofn = *request.ofn;
  Window* owner = find_window(ofn.hwndOwner);
  OwnedModal<CheckedFileDialog> modal(owner && owner->widget ? owner->widget->window() : nullptr, request);
  CheckedFileDialog& dialog = *modal;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);  // accept_choice asks
  if (ofn.lpstrTitle) dialog.setWindowTitle(QString::fromLatin1(ofn.lpstrTitle));
  if (!request.start_dir.empty()) dialog.setDirectory(QString::fromLocal8Bit(request.start_dir.c_str()));
  QStringList filters;
  for (const auto& pair : request.filters) filters << qt_filter(pair);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    int index = std::clamp(static_cast<int>(ofn.nFilterIndex), 1, static_cast<int>(filters.size()));
    dialog.selectNameFilter(filters[index - 1]);
  }
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!request.proposed_name.empty()) dialog.selectFile(QString::fromLocal8Bit(request.proposed_name.c_str()));
  // Gone with its owner: cancelled.
  if (as_callback([&] { return dialog.exec(); }) != QDialog::Accepted || modal.gone()) return std::string();
  return dialog.chosen;
}

// Scripted answers stand for what the user typed: a refused one is followed
// by the next answer, as the user would try again.
std::string run_scripted(FileRequest& request, std::string answer) {
  for (;;) {
    if (answer.empty()) return answer;
    if (accept_choice(request, answer, request.ofn->hwndOwner)) return answer;
    answer = next_scripted_file();
  }
}

BOOL file_dialog(LPOPENFILENAMEA ofn, bool save) {
  last_error = 0;
  if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0) return FALSE;
  bool custom = (ofn->Flags & (OFN_ENABLETEMPLATE | OFN_ENABLEHOOK)) != 0;
  // Explorer-style hooks and custom Save dialogs are another protocol, not offered.
  bool hook_missing = (ofn->Flags & OFN_ENABLEHOOK) && !ofn->lpfnHook;
  if (custom && (save || (ofn->Flags & OFN_EXPLORER) || hook_missing)) {
    last_error = CDERR_INITIALIZATION;
    return FALSE;
  }
  FileRequest request = make_request(ofn, save);
  ui_test::ShownFileDialog shown{ofn->hwndOwner,
                                 save,
                                 ofn->lpstrTitle ? ofn->lpstrTitle : "",
                                 request.start_dir,
                                 request.filters,
                                 ofn->Flags,
                                 std::string(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile)),
                                 ofn->lpstrDefExt ? ofn->lpstrDefExt : ""};
  std::string path;
  if (custom) {
    note_file_dialog(shown);
    auto result = run_old_style_open(request);
    if (!result) {
      last_error = CDERR_INITIALIZATION;
      return FALSE;
    }
    path = *result;
  } else if (auto scripted = scripted_file(shown)) {
    path = run_scripted(request, *scripted);
  } else {
    path = run_qt_dialog(request);
  }
  if (path.empty()) {
    if (request.last_refusal_too_long) last_error = FNERR_BUFFERTOOSMALL;
    return FALSE;
  }
  deliver_choice(*ofn, path);
  return TRUE;
}

}  // namespace

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) { return file_dialog(ofn, false); }
BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) { return file_dialog(ofn, true); }
DWORD CommDlgExtendedError() { return last_error; }
