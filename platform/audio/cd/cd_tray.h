#pragma once
// What a real drive's tray and disc are doing, and moving the tray.
#include <string>

namespace audio {

enum class CdDriveStatus { DiscOk, NoDisc, TrayOpen, NotReady, Unknown };

// Asks the drive itself (Linux CDROM_DRIVE_STATUS); Unknown when it cannot say.
CdDriveStatus cd_drive_status(const std::string& device);

// Both open a handle of their own: the kernel refuses to eject a drive that
// another handle holds, so the caller closes its handle first.
bool cd_drive_eject(const std::string& device, std::string* error);
bool cd_drive_close_tray(const std::string& device, std::string* error);

}  // namespace audio
