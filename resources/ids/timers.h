#pragma once
// Timers of the main window. SetTimer with an identifier already in use
// replaces that timer, so every module's timer is named here, once.
#include "platform/wintypes.h"

constexpr UINT_PTR TIMER_RACK = 100;              // the 250 ms rack tick
constexpr UINT_PTR TIMER_RECORDING_BLINK = 101;   // deck 2's lamp while a new recording waits (WM_TIMER)
constexpr UINT_PTR TIMER_CD_FAILED_END = 102;     // ends a CD entry whose play failed
constexpr UINT_PTR TIMER_DESKTOP = 103;           // publishes the player's state to the desktop
constexpr UINT_PTR TIMER_SETTINGS_FAILURE = 104;  // tells once that the settings could not be written
