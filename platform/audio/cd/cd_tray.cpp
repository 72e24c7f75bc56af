#include "platform/audio/cd/cd_tray.h"

#include <cdio/cdio.h>
#include <fcntl.h>

#include <climits>  // CDSL_CURRENT is INT_MAX
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/audio/cd/cd_source.h"

namespace audio {

CdDriveStatus cd_drive_status(const std::string& device) {
  // Non-blocking, so an open tray or an empty drive does not make open() fail.
  const int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return CdDriveStatus::Unknown;
  const int status = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
  ::close(fd);
  switch (status) {
    case CDS_DISC_OK: return CdDriveStatus::DiscOk;
    case CDS_NO_DISC: return CdDriveStatus::NoDisc;
    case CDS_TRAY_OPEN: return CdDriveStatus::TrayOpen;
    case CDS_DRIVE_NOT_READY: return CdDriveStatus::NotReady;
    default: return CdDriveStatus::Unknown;
  }
}

bool cd_drive_eject(const std::string& device, std::string* error) {
  cd_quiet_log();
  if (cdio_eject_media_drive(device.c_str()) == DRIVER_OP_SUCCESS) return true;
  *error = "The CD drive \"" + device + "\" can not eject the media.";
  return false;
}

bool cd_drive_close_tray(const std::string& device, std::string* error) {
  cd_quiet_log();
  driver_id_t driver = DRIVER_DEVICE;
  if (cdio_close_tray(device.c_str(), &driver) == DRIVER_OP_SUCCESS) return true;
  *error = "The CD drive \"" + device + "\" can not close its tray.";
  return false;
}

}  // namespace audio
