#pragma once
// The open devices by identifier and by name (alias, device type or path).
#include <string>

#include "platform/mci/device.h"

namespace mci {

// Null when no open device has that identifier.
Device* find_device(MCIDEVICEID id);

}  // namespace mci
