#include "platform/mci/drivers.h"

#include <sstream>

#include "platform/mci/tokenizer.h"

namespace mci {

namespace {
constexpr Driver kDrivers[] = {
    {"waveaudio", ".wav .wave", true, open_waveaudio},
    {"sequencer", ".mid .midi .rmi", true, open_sequencer},
    {"cdaudio", "", false, open_cdaudio},
};
}  // namespace

const Driver* find_driver(const std::string& type) {
  for (const Driver& driver : kDrivers) {
    if (same_word(type, driver.type)) return &driver;
  }
  return nullptr;
}

const Driver* driver_for_file(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return nullptr;
  const std::string extension = lower(path.substr(dot));
  for (const Driver& driver : kDrivers) {
    std::istringstream list(driver.extensions);
    std::string known;
    while (list >> known) {
      if (known == extension) return &driver;
    }
  }
  return nullptr;
}

}  // namespace mci
