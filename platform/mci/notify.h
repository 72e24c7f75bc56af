#pragma once
// Where MM_MCINOTIFY goes: the poster the app plugs in (PostMessageA) or a test's
// recorder. Safe to call from any thread.
#include "platform/mci/mmsystem.h"

namespace mci {

// Posts MM_MCINOTIFY(code, device) to `window`; nothing when window is null or
// no poster is set.
void post_notify(HWND window, WPARAM code, MCIDEVICEID device);

}  // namespace mci
