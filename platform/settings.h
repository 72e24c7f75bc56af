#pragma once
// The platform's own settings: "platform.ini" in the Windows directory, section
// "Platform", each key overridable by an environment variable.
#include <string>

// The value of `key`: the environment variable `env_var` when set (even empty),
// else the key in platform.ini, else `fallback`.
std::string platform_setting(const char* key, const char* env_var, const std::string& fallback = "");
// Stores a value in platform.ini (used for things the platform keeps across runs,
// such as mixer volumes).
void platform_setting_write(const char* key, const std::string& value);
