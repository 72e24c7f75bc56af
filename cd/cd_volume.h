#pragma once
#include "platform/wintypes.h"

// Hold step of the CD deck's volume buttons: one step down or up on the CD mixer channel.
LRESULT cd_volume_hold(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
