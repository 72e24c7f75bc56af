#pragma once
// Runs the whole program (WinMain and its message loop) inside a test.
#include <functional>
#include <string>

#include "platform/wintypes.h"

// Runs WinMain; `script` runs once the main window exists and the loop runs.
// The script must end the program (post WM_CLOSE, press the power button...);
// a program still running after `limit_ms` is closed and the test fails.
int run_rack(const std::function<void()>& script, int limit_ms = 10000);

// Writes a key of quorvin.ini in the test's settings folder.
void write_setting(const char* section, const char* key, const char* value);
std::string read_setting(const char* section, const char* key);
