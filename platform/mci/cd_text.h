#pragma once
// CD-Text of the disc in the open cdaudio device: track 0 is the disc itself.
#include <string>

#include "platform/mci/mmsystem.h"

// FALSE when `device` is not an open cdaudio device; empty texts when the disc has none.
BOOL mci_cd_text(MCIDEVICEID device, int track, std::string* title, std::string* performer);
