#include "app/insert_disc.h"

#include "app/choose_file.h"
#include "cd/cd.h"
#include "platform/audio/cd/cd_drive.h"
#include "platform/mci/mmsystem.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "resources/ids/strings.h"
#include "skin/rack_state.h"

namespace {

std::string open_string(const std::string& device, const char* alias) {
  return "open \"" + device + "\" type cdaudio alias " + alias;
}

void reopen_cd_device(const std::string& device) {
  // Stop as the Stop button would, so the deck's own state follows; then the device changes under its name.
  SendMessageA(main_window, WM_COMMAND, CMD_CD_STOP, 0);
  mciSendStringA("close cdaudio", nullptr, 0, nullptr);
  // Checked just before; should it fail now, the configured drive is there again rather than none.
  if (mciSendStringA(open_string(device, "cdaudio").c_str(), nullptr, 0, nullptr) != 0)
    mciSendStringA("open cdaudio", nullptr, 0, nullptr);
  // The deck sees the new disc at once, as a closing tray: also while its panel is hidden.
  cd_disc_changed();
}

}  // namespace

bool cd_device_usable(const std::string& device, std::string* why) {
  if (device.find('"') != std::string::npos) {
    *why = "The name \"" + device + "\" holds a quotation mark, which the CD device can not be given.";
    return false;
  }
  // Read on the side: the CD device keeps its disc until this one is known to be good.
  audio::CdDrive probe;
  std::string error;
  if (probe.open(device, &error)) return true;
  *why = "\"" + device + "\" can not be used as a CD: " + error;
  return false;
}

bool insert_disc_image(const std::string& image) {
  std::string why;
  if (!cd_device_usable(image, &why)) {
    MessageBoxA(main_window, why.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  change_cd_device(image);
  return true;
}

void change_cd_device(const std::string& device) { reopen_cd_device(device); }

LRESULT insert_disc_command(HWND window, UINT, WPARAM, LPARAM) {
  std::string image;
  if (choose_file(window, IDS_DISC_IMAGE_FILTER, "Insert disc image", "", &image)) insert_disc_image(image);
  return 0;
}
