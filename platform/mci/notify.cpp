#include "platform/mci/notify.h"

#include <atomic>

namespace {
std::atomic<MciNotifyPoster> g_poster{nullptr};
}  // namespace

void mci_set_notify_poster(MciNotifyPoster poster) { g_poster.store(poster); }

namespace mci {

void post_notify(HWND window, WPARAM code, MCIDEVICEID device) {
  MciNotifyPoster poster = g_poster.load();
  if (window == nullptr || poster == nullptr) return;
  poster(window, MM_MCINOTIFY, code, static_cast<LPARAM>(device & 0xFFFF));
}

bool post_notice(HWND window, WPARAM code, MCIDEVICEID device) {
  MciNotifyPoster poster = g_poster.load();
  if (window == nullptr || poster == nullptr) return false;
  poster(window, MM_QUORVIN_NOTICE, code, static_cast<LPARAM>(device & 0xFFFF));
  return true;
}

}  // namespace mci
