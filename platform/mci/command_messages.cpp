// mciSendCommandA: the open devices and the table of command messages. The
// string interface translates each string into one of these messages.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/mci/drivers.h"
#include "platform/mci/notify.h"
#include "platform/mci/registry.h"
#include "platform/mci/tokenizer.h"

namespace mci {

namespace {

constexpr MCIDEVICEID kAllDevices = 0xFFFF;

struct OpenEntry {
  std::string name;  // the alias, else the element, else the type
  std::string type;
  std::unique_ptr<Device> device;
};

std::recursive_mutex g_mutex;
std::map<MCIDEVICEID, OpenEntry> g_devices;
MCIDEVICEID g_next_id = 1;

// Identifiers count up, so an end notification still queued for a closed device
// names no device opened after it. Notifications carry 16 bits: past 0xFFFE the
// count starts again at 1, skipping identifiers still open (0xFFFF means all).
MCIDEVICEID free_id() {
  for (MCIDEVICEID tries = 1; tries < kAllDevices; ++tries) {
    const MCIDEVICEID id = g_next_id;
    g_next_id = id + 1 < kAllDevices ? id + 1 : 1;
    if (g_devices.count(id) == 0) return id;
  }
  return 0;
}

HWND callback_window(DWORD_PTR params) {
  if (params == 0) return nullptr;
  return reinterpret_cast<HWND>(reinterpret_cast<const MCI_GENERIC_PARMS*>(params)->dwCallback);
}

HWND notify_window(DWORD_PTR flags, DWORD_PTR params) {
  return (flags & MCI_NOTIFY) ? callback_window(params) : nullptr;
}

MCIDEVICEID id_of(const std::string& name) {
  for (const auto& [id, entry] : g_devices) {
    if (same_word(entry.name, name.c_str())) return id;
  }
  return 0;
}

MCIERROR open_device(DWORD_PTR flags, DWORD_PTR params) {
  if (params == 0) return MCIERR_NULL_PARAMETER_BLOCK;
  auto* open = reinterpret_cast<MCI_OPEN_PARMSA*>(params);
  const std::string type = (flags & MCI_OPEN_TYPE) && open->lpstrDeviceType ? open->lpstrDeviceType : "";
  const std::string element = (flags & MCI_OPEN_ELEMENT) && open->lpstrElementName ? open->lpstrElementName : "";
  const std::string alias = (flags & MCI_OPEN_ALIAS) && open->lpstrAlias ? open->lpstrAlias : "";
  if (type.empty() && element.empty()) return MCIERR_MISSING_DEVICE_NAME;

  const Driver* driver = type.empty() ? driver_for_file(element) : find_driver(type);
  if (driver == nullptr) return type.empty() ? MCIERR_DEVICE_TYPE_REQUIRED : MCIERR_CANNOT_LOAD_DRIVER;
  if (same_word(element, "new") && alias.empty()) return MCIERR_NEW_REQUIRES_ALIAS;
  if (driver->uses_files && element.empty()) return MCIERR_MISSING_PARAMETER;

  const std::string name = !alias.empty() ? alias : !element.empty() ? element : driver->type;
  if (id_of(name) != 0) return alias.empty() ? MCIERR_DEVICE_OPEN : MCIERR_DUPLICATE_ALIAS;
  // A device without files (the CD drive) exists once.
  if (!driver->uses_files) {
    for (const auto& [id, entry] : g_devices) {
      if (entry.type == driver->type) return MCIERR_DEVICE_OPEN;
    }
  }

  OpenRequest request;
  request.id = free_id();
  if (request.id == 0) return MCIERR_OUT_OF_MEMORY;
  request.type = driver->type;
  request.element = element;
  // A refused open (no disc, no drive) leaves the engine alone: the rack asks
  // again four times a second. The first device that opens brings it up;
  // later starts do nothing.
  std::unique_ptr<Device> device;
  if (MCIERROR err = driver->open(request, &device)) return err;
  audio::start();
  open->wDeviceID = request.id;
  g_devices[request.id] = OpenEntry{name, driver->type, std::move(device)};
  return 0;
}

MCIERROR close_device(MCIDEVICEID id) {
  if (id == kAllDevices) {
    // Destroy outside the map so a device's teardown never sees a half-erased map.
    std::map<MCIDEVICEID, OpenEntry> closing;
    closing.swap(g_devices);
    return 0;
  }
  auto it = g_devices.find(id);
  if (it == g_devices.end()) return MCIERR_INVALID_DEVICE_ID;
  OpenEntry closing = std::move(it->second);
  g_devices.erase(it);
  return 0;
}

using Handler = MCIERROR (*)(Device& device, DWORD flags, DWORD_PTR params, HWND notify);

template <typename Parms>
Parms* as(DWORD_PTR params) {
  return reinterpret_cast<Parms*>(params);
}

struct MessageRow {
  UINT message;
  bool notifies_itself;  // the play posts its own end notification
  bool sounds;           // output starts: the user may need to hear it is silent
  Handler handler;
};

constexpr MessageRow kMessages[] = {
    {MCI_PLAY, true, true,
     [](Device& d, DWORD f, DWORD_PTR p, HWND n) { return d.play(f, as<MCI_PLAY_PARMS>(p), n); }},
    {MCI_STOP, false, false, [](Device& d, DWORD, DWORD_PTR, HWND) { return d.stop(); }},
    {MCI_PAUSE, false, false, [](Device& d, DWORD, DWORD_PTR, HWND) { return d.pause(); }},
    {MCI_RESUME, true, true, [](Device& d, DWORD, DWORD_PTR, HWND n) { return d.resume(n); }},
    {MCI_SEEK, false, false,
     [](Device& d, DWORD f, DWORD_PTR p, HWND) { return d.seek(f, as<MCI_SEEK_PARMS>(p)); }},
    {MCI_STATUS, false, false,
     [](Device& d, DWORD f, DWORD_PTR p, HWND) { return d.status(f, as<MCI_STATUS_PARMS>(p)); }},
    {MCI_SET, false, false,
     [](Device& d, DWORD f, DWORD_PTR p, HWND) { return d.set(f, as<MCI_SET_PARMS>(p)); }},
    {MCI_GETDEVCAPS, false, false,
     [](Device& d, DWORD f, DWORD_PTR p, HWND) { return d.getdevcaps(f, as<MCI_GETDEVCAPS_PARMS>(p)); }},
    {MCI_RECORD, true, false,
     [](Device& d, DWORD f, DWORD_PTR p, HWND n) { return d.record(f, as<MCI_RECORD_PARMS>(p), n); }},
    {MCI_SAVE, false, false,
     [](Device& d, DWORD f, DWORD_PTR p, HWND) { return d.save(f, as<MCI_SAVE_PARMSA>(p)); }},
    {MCI_LOAD, false, false,
     [](Device& d, DWORD f, DWORD_PTR p, HWND) { return d.load(f, as<MCI_LOAD_PARMSA>(p)); }},
};

}  // namespace

Device* find_device(MCIDEVICEID id) {
  std::lock_guard lock(g_mutex);
  auto it = g_devices.find(id);
  return it == g_devices.end() ? nullptr : it->second.device.get();
}

}  // namespace mci

using namespace mci;

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params) {
  std::lock_guard lock(g_mutex);
  const HWND notify = notify_window(flags, params);
  if (message == MCI_OPEN || message == MCI_CLOSE) {
    const MCIERROR err = message == MCI_OPEN ? open_device(flags, params) : close_device(device);
    if (err == 0) {
      const MCIDEVICEID id = message == MCI_OPEN ? as<MCI_OPEN_PARMSA>(params)->wDeviceID : device;
      post_notify(notify, MCI_NOTIFY_SUCCESSFUL, id);
    }
    return err;
  }
  auto it = g_devices.find(device);
  if (it == g_devices.end()) return MCIERR_INVALID_DEVICE_ID;
  for (const MessageRow& row : kMessages) {
    if (row.message != message) continue;
    const MCIERROR err = row.handler(*it->second.device, static_cast<DWORD>(flags), params, notify);
    if (err == 0 && !row.notifies_itself) post_notify(notify, MCI_NOTIFY_SUCCESSFUL, device);
    // The window given with the command, notify or not: the one the user plays from.
    if (err == 0 && row.sounds) notice_after_play(callback_window(params), device);
    return err;
  }
  return MCIERR_UNRECOGNIZED_COMMAND;
}

MCIDEVICEID mciGetDeviceIDA(LPCSTR name) {
  if (name == nullptr) return 0;
  std::lock_guard lock(g_mutex);
  return id_of(name);
}
