#pragma once
// The device types, one row each: the name "type" takes, the file extensions that
// imply it, and how to open one.
#include <memory>

#include "platform/mci/device.h"

namespace mci {

using OpenDevice = MCIERROR (*)(const OpenRequest& request, std::unique_ptr<Device>* device);

struct Driver {
  const char* type;
  const char* extensions;  // blank-separated, lower case, with dots
  bool uses_files;
  OpenDevice open;
};

const Driver* find_driver(const std::string& type);
// The driver whose extensions match the file name, or null.
const Driver* driver_for_file(const std::string& path);

MCIERROR open_waveaudio(const OpenRequest& request, std::unique_ptr<Device>* device);
MCIERROR open_sequencer(const OpenRequest& request, std::unique_ptr<Device>* device);
MCIERROR open_cdaudio(const OpenRequest& request, std::unique_ptr<Device>* device);

}  // namespace mci
