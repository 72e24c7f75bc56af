#pragma once
// The main window's own resources: its icon, the hand cursor, the accelerators.
#include "platform/wintypes.h"

inline constexpr const char* ICON_RACK = "RACKICON";
constexpr WORD CURSOR_HAND = 275;
constexpr WORD ACCEL_RACK = 269;
