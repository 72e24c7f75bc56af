#include <cdio/cdio.h>

#include "platform/audio/cd/cd_drive.h"
#include "platform/audio/cd/cd_source.h"
#include "platform/settings.h"

namespace audio {

std::string cd_default_device() {
  const std::string configured = platform_setting("CDROM", "QUORVIN_CDROM", "");
  if (!configured.empty()) return configured;
  cd_quiet_log();
  char** devices = cdio_get_devices(DRIVER_DEVICE);
  std::string first = devices != nullptr && devices[0] != nullptr ? devices[0] : "";
  if (devices != nullptr) cdio_free_device_list(devices);
  return first;
}

}  // namespace audio
