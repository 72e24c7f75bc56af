#pragma once
// Putting a disc image in the CD drive, as Insert disc image..., a drop on
// the CD deck and "open with" do, and moving the CD device to another drive
// or image (Preferences). The CD device is opened afresh on the new disc and
// the deck loads it at once, as when the tray closes, whether or not the CD
// panel is shown. A refused image changes nothing: the old disc stays in.
#include <string>

#include "platform/wintypes.h"

// Whether `device` (a drive or an image) opens as a CD; else `why` is a
// sentence for the user naming the file.
bool cd_device_usable(const std::string& device, std::string* why);
// Replaces the disc by the image; a refusal is shown to the user. True when inserted.
bool insert_disc_image(const std::string& image);
// Opens the CD device on another drive or image (already checked); the deck loads what is in it.
void change_cd_device(const std::string& device);
// IDM_INSERT_DISC: the Open dialog for a disc image, then insert it.
LRESULT insert_disc_command(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
