#pragma once
// The state of the engine's mixer device: the value of every control and the
// open handles with the windows they notify. Not thread-safe by itself: the API
// layer serialises calls.
#include <cstdint>
#include <vector>

#include "platform/mixer/mixer_layout.h"
#include "platform/mixer/mixer_settings.h"

namespace mixer {

struct Notification {
  HWND window;
  HMIXER handle;
  DWORD control_id;
};

class MixerDevice {
 public:
  // A new handle notifying `window` (may be null). The first handle after all
  // were closed reloads the stored values and applies them to the engine.
  HMIXER open(HWND window);
  bool close(HMIXER handle);
  bool is_open(HMIXER handle) const;

  ControlValues get(const ControlRow& control);
  // Stores, persists and applies new values; returns the notifications owed to
  // the open handles, none when nothing changed.
  std::vector<Notification> set(const ControlRow& control, const ControlValues& values);

 private:
  struct OpenHandle {
    std::uintptr_t serial;
    HWND window;
  };
  void load();
  void ensure_loaded();
  static HMIXER handle_of(std::uintptr_t serial);

  std::vector<ControlValues> values_;
  std::vector<OpenHandle> handles_;
  std::uintptr_t next_serial_ = 1;
};

}  // namespace mixer
