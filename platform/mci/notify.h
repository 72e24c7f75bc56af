#pragma once
// Where MM_MCINOTIFY goes: the poster the app plugs in (PostMessageA) or a test's
// recorder. Safe to call from any thread.
#include "platform/mci/mmsystem.h"

namespace mci {

// Posts MM_MCINOTIFY(code, device) to `window`; nothing when window is null or
// no poster is set.
void post_notify(HWND window, WPARAM code, MCIDEVICEID device);
// Posts MM_QUORVIN_NOTICE(code, device) to `window`; false when nothing could be
// posted (no window or no poster).
bool post_notice(HWND window, WPARAM code, MCIDEVICEID device);
// Called after every play that started: posts the no-sound-device notice to the
// first play's window that can take it, when the engine found no sound device,
// and a device failure not yet told (its play had no window to tell).
void notice_after_play(HWND window, MCIDEVICEID device);
// Called when the output device failed under a play: posts the failure notice
// to `window`, once per failure (see audio::output_failure).
void notice_output_failure(HWND window, MCIDEVICEID device);

}  // namespace mci
