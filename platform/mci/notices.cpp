// The notices MCI posts instead of failing a command, and their texts.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/audio/engine.h"
#include "platform/mci/notify.h"

namespace {

std::string no_sound_device_text() {
  std::string reason = audio::no_device_reason();
  if (reason.empty()) reason = "No sound output was found.";
  return reason + " The player runs silently.";
}

std::string device_failed_text() {
  return "The sound device stopped working: " + audio::output_failure().reason +
         ". The player runs silently until it is restarted.";
}

struct NoticeText {
  WPARAM code;
  std::string (*text)();
};

constexpr NoticeText kNoticeTexts[] = {
    {MCIERR_NO_SOUND_DEVICE, no_sound_device_text},
    {MCIERR_SOUND_DEVICE_FAILED, device_failed_text},
};

// The last output failure told; engine threads and the UI thread both tell.
std::mutex g_failure_mutex;
std::uint64_t g_failure_told = 0;

}  // namespace

namespace mci {

void notice_output_failure(HWND window, MCIDEVICEID device) {
  if (window == nullptr) return;
  const std::uint64_t serial = audio::output_failure().serial;
  std::lock_guard lock(g_failure_mutex);
  if (serial <= g_failure_told) return;
  if (post_notice(window, MCIERR_SOUND_DEVICE_FAILED, device)) g_failure_told = serial;
}

void notice_after_play(HWND window, MCIDEVICEID device) {
  notice_output_failure(window, device);
  static std::atomic<bool> told{false};
  if (window == nullptr || told.load() || audio::no_device_reason().empty()) return;
  // A play without a window to tell leaves the notice to the next one.
  if (!told.exchange(true) && !post_notice(window, MCIERR_NO_SOUND_DEVICE, device)) told.store(false);
}

}  // namespace mci

BOOL mciGetNoticeTextA(WPARAM notice, LPSTR text, UINT size) {
  if (text == nullptr || size == 0) return FALSE;
  text[0] = '\0';
  for (const NoticeText& row : kNoticeTexts) {
    if (row.code != notice) continue;
    const std::string whole = row.text();
    const std::size_t n = std::min<std::size_t>(whole.size(), size - 1);
    std::memcpy(text, whole.data(), n);
    text[n] = '\0';
    return TRUE;
  }
  return FALSE;
}
