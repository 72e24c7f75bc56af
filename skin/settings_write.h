#pragma once
// Writing the settings file without losing a failure in silence. The profile
// service leaves the old file whole when a write fails (a full disk, a folder
// that cannot be written) and answers FALSE; this tells the user, once per
// main window, in a box the main window owns. The box shows from the app's own
// loop (a one-shot timer of the main window), never inside the command that
// wrote, and later failures are not told again. UI thread only.
#include <string>

#include "platform/wintypes.h"

// WritePrivateProfileStringA on the settings file; a failure is told as above.
BOOL save_setting(const char* section, const char* key, const char* value);
// A write of `path` (the settings file or another the rack keeps) failed.
void settings_write_failed(const std::string& path);
// The destroy sequence's last word: the loop shows nothing more for this
// window, so a failure not yet told is told now.
void tell_settings_failure_now();
