// Dropped files: the top-level widget turns a drop of local files into
// WM_DROPFILES; the handle carries the paths until DragFinish.
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ui/shellapi.h"
#include "platform/ui/ui_internal.h"

struct HDROP__ {
  std::vector<std::string> files;
  POINT point;
  bool in_client;
};

namespace ui_detail {

namespace {

std::vector<std::string> local_files(const QMimeData* data) {
  std::vector<std::string> files;
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
  return files;
}

}  // namespace

// Only drops that carry local files are taken; anything else is refused at the border.
void accept_file_drag(QDropEvent* e) {
  if (!local_files(e->mimeData()).empty()) e->acceptProposedAction();
  else e->ignore();
}

void deliver_file_drop(HWND hwnd, QDropEvent* e) {
  Window* w = find_window(hwnd);
  std::vector<std::string> files = local_files(e->mimeData());
  if (w == nullptr || files.empty()) {
    e->ignore();
    return;
  }
  e->acceptProposedAction();
  const QPoint client = e->position().toPoint() - QPoint(w->border, w->border);
  const bool inside = client.x() >= 0 && client.y() >= 0 && client.x() < w->client.width() &&
                      client.y() < w->client.height();
  auto* drop = new HDROP__{std::move(files), {client.x(), client.y()}, inside};
  deliver(MSG{hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0, tick_count(), {0, 0}});
}

}  // namespace ui_detail

void DragAcceptFiles(HWND hWnd, BOOL fAccept) {
  ui_detail::Window* w = ui_detail::find_window(hWnd);
  if (w == nullptr || w->widget == nullptr) return;
  w->widget->setAcceptDrops(fAccept != FALSE);
}

UINT DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch) {
  if (hDrop == nullptr) return 0;
  if (iFile == 0xFFFFFFFF) return static_cast<UINT>(hDrop->files.size());
  if (iFile >= hDrop->files.size()) return 0;
  const std::string& path = hDrop->files[iFile];
  if (lpszFile == nullptr || cch == 0) return static_cast<UINT>(path.size());
  const std::size_t n = std::min<std::size_t>(path.size(), cch - 1);
  std::memcpy(lpszFile, path.data(), n);
  lpszFile[n] = '\0';
  return static_cast<UINT>(n);
}

BOOL DragQueryPoint(HDROP hDrop, LPPOINT lppt) {
  if (hDrop == nullptr || lppt == nullptr) return FALSE;
  *lppt = hDrop->point;
  return hDrop->in_client ? TRUE : FALSE;
}

void DragFinish(HDROP hDrop) { delete hDrop; }
