// Device choices come from the platform settings when the profile layer is
// built into the program; otherwise from the environment alone.
#include <cstdlib>

#include "platform/audio/engine_internal.h"

#ifdef QUORVIN_HAVE_PLATFORM_SETTINGS
#include "platform/settings.h"
#endif

namespace audio::internal {

std::string device_setting(const char* key, const char* env_var) {
#ifdef QUORVIN_HAVE_PLATFORM_SETTINGS
  return platform_setting(key, env_var);
#else
  (void)key;
  const char* value = std::getenv(env_var);
  return value ? value : "";
#endif
}

}  // namespace audio::internal
