// The Win32 mixer functions: argument checks, record filling, and the one lock
// around the device state. Notifications are posted after the lock is released.
#include "platform/mixer/mixer_api.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>

#include "platform/mixer/mixer_device.h"

namespace {

using mixer::ControlRow;
using mixer::ControlValues;
using mixer::LineRow;

constexpr UINT kDeviceCount = 1;
constexpr DWORD kObjectMask = 0xF0000000;
constexpr MMVERSION kDriverVersion = 0x0100;

std::mutex g_lock;
mixer::MixerDevice& device() {
  static mixer::MixerDevice d;
  return d;
}
std::atomic<MixerNotifyPoster> g_poster{nullptr};

void post(const std::vector<mixer::Notification>& owed) {
  const MixerNotifyPoster poster = g_poster.load();
  if (!poster) return;
  for (const mixer::Notification& n : owed)
    poster(n.window, MM_MIXM_CONTROL_CHANGE, reinterpret_cast<WPARAM>(n.handle), static_cast<LPARAM>(n.control_id));
}

// Checks the object a call names and the flag bits outside it. Caller holds g_lock.
MMRESULT check_object(HMIXEROBJ object, DWORD flags, DWORD query_mask) {
  if (flags & ~(kObjectMask | query_mask)) return MMSYSERR_INVALFLAG;
  switch (flags & kObjectMask) {
    case MIXER_OBJECTF_MIXER:
      return reinterpret_cast<std::uintptr_t>(object) < kDeviceCount ? MMSYSERR_NOERROR : MMSYSERR_BADDEVICEID;
    case MIXER_OBJECTF_HMIXER:
      return device().is_open(reinterpret_cast<HMIXER>(object)) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
    case MIXER_OBJECTF_WAVEOUT:
    case MIXER_OBJECTF_HWAVEOUT:
    case MIXER_OBJECTF_WAVEIN:
    case MIXER_OBJECTF_HWAVEIN:
    case MIXER_OBJECTF_MIDIOUT:
    case MIXER_OBJECTF_HMIDIOUT:
    case MIXER_OBJECTF_MIDIIN:
    case MIXER_OBJECTF_HMIDIIN:
    case MIXER_OBJECTF_AUX:
      return MMSYSERR_NODRIVER;  // no such device to find a mixer for
    default:
      return MMSYSERR_INVALFLAG;
  }
}

template <std::size_t N>
void copy_name(CHAR (&to)[N], const char* from) {
  std::memset(to, 0, N);
  std::strncpy(to, from, N - 1);
}

void fill_line(const LineRow& row, MIXERLINEA& line) {
  const DWORD cb = line.cbStruct;
  std::memset(&line, 0, sizeof line);
  line.cbStruct = cb;
  const std::size_t index = mixer::index_of(row);
  line.dwDestination = row.destination;
  line.dwSource = row.is_source ? row.source : 0;
  line.dwLineID = row.line_id;
  line.fdwLine = MIXERLINE_LINEF_ACTIVE | (row.is_source ? MIXERLINE_LINEF_SOURCE : 0);
  line.dwComponentType = row.component_type;
  line.cChannels = row.channels;
  line.cConnections = mixer::connections_of(index);
  line.cControls = static_cast<DWORD>(mixer::controls_of_line(index).size());
  copy_name(line.szShortName, row.short_name);
  copy_name(line.szName, row.name);
  line.Target.dwType = row.target_type;
  line.Target.vDriverVersion = kDriverVersion;
  copy_name(line.Target.szPname, mixer::kDeviceName);
}

MIXERCONTROLA describe(const ControlRow& row) {
  MIXERCONTROLA c;
  std::memset(&c, 0, sizeof c);
  c.cbStruct = sizeof c;
  c.dwControlID = row.control_id;
  c.dwControlType = row.control_type;
  c.fdwControl = row.kind == mixer::ControlKind::Volume ? 0 : MIXERCONTROL_CONTROLF_UNIFORM;
  copy_name(c.szShortName, row.short_name);
  copy_name(c.szName, row.name);
  c.Bounds.dwMinimum = 0;
  c.Bounds.dwMaximum = mixer::maximum_of(row);
  c.Metrics.cSteps = row.kind == mixer::ControlKind::Volume ? mixer::kVolumeMaximum + 1 : 0;
  return c;
}

// Writes control records at the caller's stride.
void store_control(const MIXERLINECONTROLSA& request, DWORD i, const ControlRow& row) {
  const MIXERCONTROLA c = describe(row);
  std::memcpy(reinterpret_cast<BYTE*>(request.pamxctrl) + std::size_t{i} * request.cbmxctrl, &c, sizeof c);
}

// The checks shared by get and set; on success `control` is the addressed row.
MMRESULT check_details(HMIXEROBJ object, const MIXERCONTROLDETAILS* details, DWORD flags, DWORD query_mask,
                       const ControlRow** control) {
  if (!details || details->cbStruct < sizeof(MIXERCONTROLDETAILS)) return MMSYSERR_INVALPARAM;
  if (const MMRESULT r = check_object(object, flags, query_mask)) return r;
  *control = mixer::find_control(details->dwControlID);
  if (!*control) return MIXERR_INVALCONTROL;
  if (details->cMultipleItems != 0) return MMSYSERR_INVALPARAM;
  if (details->cChannels != 1 && details->cChannels != mixer::value_count(**control)) return MMSYSERR_INVALPARAM;
  if (details->cbDetails < sizeof(MIXERCONTROLDETAILS_UNSIGNED) || !details->paDetails) return MMSYSERR_INVALPARAM;
  return MMSYSERR_NOERROR;
}

// Elements sit at the caller's stride, which need not keep them aligned.
BYTE* detail_at(const MIXERCONTROLDETAILS& details, DWORD i) {
  return static_cast<BYTE*>(details.paDetails) + std::size_t{i} * details.cbDetails;
}

}  // namespace

UINT mixerGetNumDevs() { return kDeviceCount; }

MMRESULT mixerGetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId) {
  if (!puMxId) return MMSYSERR_INVALPARAM;
  std::lock_guard lock(g_lock);
  if (const MMRESULT r = check_object(hmxobj, fdwId, 0)) return r;
  *puMxId = 0;
  return MMSYSERR_NOERROR;
}

MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR /*dwInstance*/, DWORD fdwOpen) {
  if (!phmx) return MMSYSERR_INVALPARAM;
  *phmx = nullptr;
  if (fdwOpen & ~(kObjectMask | CALLBACK_TYPEMASK)) return MMSYSERR_INVALFLAG;
  const DWORD callback = fdwOpen & CALLBACK_TYPEMASK;
  if (callback != CALLBACK_NULL && callback != CALLBACK_WINDOW) return MMSYSERR_INVALFLAG;
  if ((fdwOpen & kObjectMask) != MIXER_OBJECTF_MIXER) return MMSYSERR_NODRIVER;
  if (uMxId >= kDeviceCount) return MMSYSERR_BADDEVICEID;
  const HWND window = callback == CALLBACK_WINDOW ? reinterpret_cast<HWND>(dwCallback) : nullptr;
  std::lock_guard lock(g_lock);
  *phmx = device().open(window);
  return MMSYSERR_NOERROR;
}

MMRESULT mixerClose(HMIXER hmx) {
  std::lock_guard lock(g_lock);
  return device().close(hmx) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo) {
  if (!pmxl || pmxl->cbStruct < sizeof(MIXERLINEA)) return MMSYSERR_INVALPARAM;
  std::lock_guard lock(g_lock);
  if (const MMRESULT r = check_object(hmxobj, fdwInfo, MIXER_GETLINEINFOF_QUERYMASK)) return r;
  const LineRow* row = nullptr;
  switch (fdwInfo & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_DESTINATION:
      row = mixer::find_destination(pmxl->dwDestination);
      break;
    case MIXER_GETLINEINFOF_SOURCE:
      row = mixer::find_source(pmxl->dwDestination, pmxl->dwSource);
      break;
    case MIXER_GETLINEINFOF_LINEID:
      row = mixer::find_line_by_id(pmxl->dwLineID);
      break;
    case MIXER_GETLINEINFOF_COMPONENTTYPE:
      row = mixer::find_line_by_component(pmxl->dwComponentType);
      break;
    case MIXER_GETLINEINFOF_TARGETTYPE:
      row = mixer::find_line_by_target(pmxl->Target.dwType);
      break;
    default:
      return MMSYSERR_INVALFLAG;
  }
  if (!row) return MIXERR_INVALLINE;
  fill_line(*row, *pmxl);
  return MMSYSERR_NOERROR;
}

MMRESULT mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls) {
  if (!pmxlc || pmxlc->cbStruct < sizeof(MIXERLINECONTROLSA)) return MMSYSERR_INVALPARAM;
  std::lock_guard lock(g_lock);
  if (const MMRESULT r = check_object(hmxobj, fdwControls, MIXER_GETLINECONTROLSF_QUERYMASK)) return r;
  const DWORD query = fdwControls & MIXER_GETLINECONTROLSF_QUERYMASK;
  if (query > MIXER_GETLINECONTROLSF_ONEBYTYPE) return MMSYSERR_INVALFLAG;

  const bool wants_records = query != MIXER_GETLINECONTROLSF_ALL || pmxlc->cControls > 0;
  if (wants_records && (!pmxlc->pamxctrl || pmxlc->cbmxctrl < sizeof(MIXERCONTROLA))) return MMSYSERR_INVALPARAM;

  if (query == MIXER_GETLINECONTROLSF_ONEBYID) {
    const ControlRow* row = mixer::find_control(pmxlc->dwControlID);
    if (!row) return MIXERR_INVALCONTROL;
    pmxlc->dwLineID = mixer::lines()[row->line].line_id;
    store_control(*pmxlc, 0, *row);
    return MMSYSERR_NOERROR;
  }

  const LineRow* line = mixer::find_line_by_id(pmxlc->dwLineID);
  if (!line) return MIXERR_INVALLINE;
  const auto rows = mixer::controls_of_line(mixer::index_of(*line));
  if (query == MIXER_GETLINECONTROLSF_ONEBYTYPE) {
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const ControlRow& r) { return r.control_type == pmxlc->dwControlType; });
    if (it == rows.end()) return MIXERR_INVALCONTROL;
    store_control(*pmxlc, 0, *it);
    return MMSYSERR_NOERROR;
  }
  if (pmxlc->cControls != rows.size()) return MMSYSERR_INVALPARAM;
  for (DWORD i = 0; i < rows.size(); ++i) store_control(*pmxlc, i, rows[i]);
  return MMSYSERR_NOERROR;
}

MMRESULT mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  std::lock_guard lock(g_lock);
  const ControlRow* row = nullptr;
  if (const MMRESULT r = check_details(hmxobj, pmxcd, fdwDetails, MIXER_GETCONTROLDETAILSF_QUERYMASK, &row))
    return r;
  // No control here is a list, so there is no item text to give.
  if ((fdwDetails & MIXER_GETCONTROLDETAILSF_QUERYMASK) != MIXER_GETCONTROLDETAILSF_VALUE)
    return MMSYSERR_NOTSUPPORTED;
  const ControlValues values = device().get(*row);
  if (pmxcd->cChannels == 1) {
    // One value for several channels: the loudest side.
    const DWORD v = mixer::value_count(*row) > 1 ? std::max(values.v[0], values.v[1]) : values.v[0];
    std::memcpy(detail_at(*pmxcd, 0), &v, sizeof v);
  } else {
    for (DWORD i = 0; i < pmxcd->cChannels; ++i) std::memcpy(detail_at(*pmxcd, i), &values.v[i], sizeof(DWORD));
  }
  return MMSYSERR_NOERROR;
}

MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  std::vector<mixer::Notification> owed;
  {
    std::lock_guard lock(g_lock);
    const ControlRow* row = nullptr;
    if (const MMRESULT r = check_details(hmxobj, pmxcd, fdwDetails, MIXER_SETCONTROLDETAILSF_QUERYMASK, &row))
      return r;
    if ((fdwDetails & MIXER_SETCONTROLDETAILSF_QUERYMASK) != MIXER_SETCONTROLDETAILSF_VALUE)
      return MMSYSERR_NOTSUPPORTED;
    ControlValues values{{0, 0}};
    for (DWORD i = 0; i < pmxcd->cChannels; ++i) std::memcpy(&values.v[i], detail_at(*pmxcd, i), sizeof(DWORD));
    if (pmxcd->cChannels == 1) values.v[1] = values.v[0];
    if (row->kind == mixer::ControlKind::Volume) {
      if (values.v[0] > mixer::kVolumeMaximum || values.v[1] > mixer::kVolumeMaximum) return MIXERR_INVALVALUE;
    } else {
      // A boolean is true when non-zero.
      values.v[0] = values.v[1] = values.v[0] != 0 ? 1 : 0;
    }
    owed = device().set(*row, values);
  }
  post(owed);
  return MMSYSERR_NOERROR;
}

void mixer_set_notify_poster(MixerNotifyPoster poster) { g_poster.store(poster); }
