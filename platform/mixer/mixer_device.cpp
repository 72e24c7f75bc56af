#include "platform/mixer/mixer_device.h"

#include <algorithm>

#include "platform/mixer/engine_link.h"

namespace mixer {
namespace {
// Handles are serial numbers above a base, never reused, so a closed handle
// stays invalid and a stray small integer is never taken for one.
constexpr std::uintptr_t kHandleBase = 0x4D580000;
}  // namespace

HMIXER MixerDevice::handle_of(std::uintptr_t serial) { return reinterpret_cast<HMIXER>(kHandleBase + serial); }

void MixerDevice::load() {
  const auto rows = controls();
  values_.clear();
  values_.reserve(rows.size());
  for (const ControlRow& row : rows) {
    values_.push_back(load_values(row));
    apply_to_engine(row, values_.back().v);
  }
}

void MixerDevice::ensure_loaded() {
  if (values_.empty()) load();
}

HMIXER MixerDevice::open(HWND window) {
  if (handles_.empty()) load();
  const std::uintptr_t serial = next_serial_++;
  handles_.push_back({serial, window});
  return handle_of(serial);
}

bool MixerDevice::close(HMIXER handle) {
  const auto it = std::find_if(handles_.begin(), handles_.end(),
                               [&](const OpenHandle& h) { return handle_of(h.serial) == handle; });
  if (it == handles_.end()) return false;
  handles_.erase(it);
  return true;
}

bool MixerDevice::is_open(HMIXER handle) const {
  return handle && std::any_of(handles_.begin(), handles_.end(),
                               [&](const OpenHandle& h) { return handle_of(h.serial) == handle; });
}

ControlValues MixerDevice::get(const ControlRow& control) {
  ensure_loaded();
  return values_[index_of(control)];
}

std::vector<Notification> MixerDevice::set(const ControlRow& control, const ControlValues& values) {
  ensure_loaded();
  ControlValues& stored = values_[index_of(control)];
  const DWORD count = value_count(control);
  if (std::equal(values.v, values.v + count, stored.v)) return {};
  stored = values;
  if (count == 1) stored.v[1] = stored.v[0];
  apply_to_engine(control, stored.v);
  save_values(control, stored);

  std::vector<Notification> owed;
  for (const OpenHandle& h : handles_)
    if (h.window) owed.push_back({h.window, handle_of(h.serial), control.control_id});
  return owed;
}

}  // namespace mixer
