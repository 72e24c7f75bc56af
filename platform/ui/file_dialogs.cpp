// GetOpenFileNameA/GetSaveFileNameA over QFileDialog.
#include <QFileDialog>
#include <QFileInfo>
#include <cstring>

#include "platform/ui/test_hooks.h"
#include "platform/ui/ui_internal.h"

using namespace ui_detail;

namespace {

DWORD last_error = 0;

// "Wave Files\0*.wav\0All\0*.*\0\0" → {"Wave Files|*.wav", "All|*.*"}
std::vector<std::string> filter_pairs(LPCSTR filter) {
  std::vector<std::string> pairs;
  if (!filter) return pairs;
  for (const char* p = filter; *p;) {
    std::string description = p;
    p += description.size() + 1;
    if (!*p) break;
    std::string patterns = p;
    p += patterns.size() + 1;
    pairs.push_back(description + "|" + patterns);
  }
  return pairs;
}

QString qt_filter(const std::string& pair) {
  auto bar = pair.find('|');
  QString description = QString::fromLatin1(pair.substr(0, bar).c_str());
  QString patterns = QString::fromLatin1(pair.substr(bar + 1).c_str()).replace(';', ' ');
  int paren = description.indexOf('(');
  if (paren >= 0) description = description.left(paren).trimmed();
  return description + " (" + patterns + ")";
}

std::optional<std::string> run_dialog(const OPENFILENAMEA& ofn, bool save, const std::vector<std::string>& pairs) {
  Window* owner = find_window(ofn.hwndOwner);
  QFileDialog dialog(owner && owner->widget ? owner->widget->window() : nullptr);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (ofn.lpstrTitle) dialog.setWindowTitle(QString::fromLatin1(ofn.lpstrTitle));
  if (ofn.lpstrInitialDir && *ofn.lpstrInitialDir) dialog.setDirectory(QString::fromLocal8Bit(ofn.lpstrInitialDir));
  QStringList filters;
  for (const auto& pair : pairs) filters << qt_filter(pair);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    int index = std::clamp(static_cast<int>(ofn.nFilterIndex), 1, static_cast<int>(filters.size()));
    dialog.selectNameFilter(filters[index - 1]);
  }
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(!save && (ofn.Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (save && !(ofn.Flags & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (ofn.lpstrDefExt) dialog.setDefaultSuffix(QString::fromLatin1(ofn.lpstrDefExt));
  if (as_callback([&] { return dialog.exec(); }) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::string();
  return dialog.selectedFiles().first().toLocal8Bit().toStdString();
}

BOOL file_dialog(LPOPENFILENAMEA ofn, bool save) {
  last_error = 0;
  if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0) return FALSE;
  if (ofn->Flags & (OFN_ENABLETEMPLATE | OFN_ENABLEHOOK)) {
    last_error = CDERR_INITIALIZATION;
    return FALSE;
  }
  auto pairs = filter_pairs(ofn->lpstrFilter);
  ui_test::ShownFileDialog shown{ofn->hwndOwner,
                                 save,
                                 ofn->lpstrTitle ? ofn->lpstrTitle : "",
                                 ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "",
                                 pairs,
                                 ofn->Flags};
  std::string path;
  if (auto scripted = scripted_file(shown))
    path = *scripted;
  else
    path = run_dialog(*ofn, save, pairs).value_or(std::string());
  if (path.empty()) return FALSE;  // cancelled: no error
  if (path.size() + 1 > ofn->nMaxFile) {
    last_error = FNERR_BUFFERTOOSMALL;
    return FALSE;
  }
  std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
  auto slash = path.rfind('/');
  std::size_t name_at = slash == std::string::npos ? 0 : slash + 1;
  ofn->nFileOffset = static_cast<WORD>(name_at);
  auto dot = path.rfind('.');
  ofn->nFileExtension = static_cast<WORD>(dot != std::string::npos && dot > name_at ? dot + 1 : 0);
  if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
    std::string name = path.substr(name_at);
    std::size_t n = std::min<std::size_t>(name.size(), ofn->nMaxFileTitle - 1);
    std::memcpy(ofn->lpstrFileTitle, name.data(), n);
    ofn->lpstrFileTitle[n] = '\0';
  }
  return TRUE;
}

}  // namespace

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) { return file_dialog(ofn, false); }
BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) { return file_dialog(ofn, true); }
DWORD CommDlgExtendedError() { return last_error; }
