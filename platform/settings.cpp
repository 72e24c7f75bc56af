#include "platform/settings.h"

#include <cstdlib>

#include "platform/profile/profile_path.h"
#include "platform/profile/profile_store.h"
#include "platform/profile/profile.h"

namespace {
constexpr const char* kFile = "platform.ini";
constexpr const char* kSection = "Platform";
}  // namespace

std::string platform_setting(const char* key, const char* env_var, const std::string& fallback) {
  if (env_var)
    if (const char* v = std::getenv(env_var)) return v;
  auto stored = profile::lookup(profile::resolve_path(kFile), kSection, key);
  return stored ? *stored : fallback;
}

void platform_setting_write(const char* key, const std::string& value) {
  WritePrivateProfileStringA(kSection, key, value.c_str(), kFile);
}
