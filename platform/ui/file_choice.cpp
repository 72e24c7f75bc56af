#include "platform/ui/file_choice.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace ui_detail {
namespace {

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

std::size_t name_start(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

// Read-only as a user sees it: no write permission at all, or none for us
// (root writes anywhere, but a file without write bits is still read-only).
bool read_only(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool refuse(const FileRequest& request, HWND owner, const std::string& text) {
  const char* caption = request.ofn->lpstrTitle ? request.ofn->lpstrTitle : request.save ? "Save As" : "Open";
  MessageBoxA(owner, text.c_str(), caption, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

}  // namespace

FileRequest make_request(OPENFILENAMEA* ofn, bool save) {
  FileRequest request;
  request.ofn = ofn;
  request.save = save;
  request.filters = filter_pairs(ofn->lpstrFilter);
  std::string initial(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile));
  std::size_t at = name_start(initial);
  request.proposed_name = initial.substr(at);
  if (at > 0)
    request.start_dir = initial.substr(0, at);
  else if (ofn->lpstrInitialDir)
    request.start_dir = ofn->lpstrInitialDir;
  return request;
}

std::string with_default_extension(const std::string& path, LPCSTR extension) {
  if (!extension || !*extension || path.empty()) return path;
  std::string name = path.substr(name_start(path));
  auto dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) return path;
  return path + "." + (extension[0] == '.' ? extension + 1 : extension);
}

bool accept_choice(FileRequest& request, std::string& path, HWND owner) {
  const OPENFILENAMEA& ofn = *request.ofn;
  path = with_default_extension(path, ofn.lpstrDefExt);
  request.last_refusal_too_long = path.size() + 1 > ofn.nMaxFile;
  if (request.last_refusal_too_long)
    return refuse(request, owner,
                  path + "\nThis path is too long: at most " + std::to_string(ofn.nMaxFile - 1) +
                      " characters can be used here.\nChoose a shorter name or folder.");
  QFileInfo info(QString::fromLocal8Bit(path.c_str()));
  std::string folder = info.absolutePath().toLocal8Bit().toStdString();
  bool folder_exists = QFileInfo(QString::fromLocal8Bit(folder.c_str())).isDir();
  if (info.isDir()) return refuse(request, owner, path + "\nThis is a folder. Choose a file.");
  if ((ofn.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !folder_exists)
    return refuse(request, owner, path + "\nThe folder does not exist.\nCheck the path and try again.");
  if ((ofn.Flags & OFN_FILEMUSTEXIST) && !info.exists())
    return refuse(request, owner, path + "\nFile not found.\nCheck the file name and try again.");
  if (ofn.Flags & OFN_NOREADONLYRETURN) {
    if (info.exists() && read_only(path))
      return refuse(request, owner, path + "\nThis file is read-only.\nTry again with a different file name.");
    if (!info.exists() && folder_exists && read_only(folder))
      return refuse(request, owner, path + "\nThis folder is write-protected.\nChoose another folder.");
  }
  if (request.save && (ofn.Flags & OFN_OVERWRITEPROMPT) && info.exists()) {
    std::string question = path + " already exists.\nDo you want to replace it?";
    const char* caption = ofn.lpstrTitle ? ofn.lpstrTitle : "Save As";
    return MessageBoxA(owner, question.c_str(), caption, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
  }
  return true;
}

void deliver_choice(OPENFILENAMEA& ofn, const std::string& path) {
  std::memcpy(ofn.lpstrFile, path.c_str(), path.size() + 1);
  std::size_t name_at = name_start(path);
  ofn.nFileOffset = static_cast<WORD>(name_at);
  auto dot = path.rfind('.');
  ofn.nFileExtension = static_cast<WORD>(dot != std::string::npos && dot > name_at ? dot + 1 : 0);
  if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
    std::string name = path.substr(name_at);
    std::size_t n = std::min<std::size_t>(name.size(), ofn.nMaxFileTitle - 1);
    std::memcpy(ofn.lpstrFileTitle, name.data(), n);
    ofn.lpstrFileTitle[n] = '\0';
  }
}

std::vector<std::string> filter_patterns(const std::string& pair) {
  std::vector<std::string> out;
  std::string patterns = pair.substr(pair.find('|') + 1);
  std::size_t from = 0;
  while (from <= patterns.size()) {
    std::size_t end = patterns.find(';', from);
    if (end == std::string::npos) end = patterns.size();
    std::string one = QString::fromLocal8Bit(patterns.substr(from, end - from).c_str()).trimmed().toStdString();
    if (!one.empty()) out.push_back(one);
    from = end + 1;
  }
  return out;
}

std::string filter_description(const std::string& pair) { return pair.substr(0, pair.find('|')); }

}  // namespace ui_detail
