#include "platform/audio/cd/cd_drive.h"

#include <cdio/cdio.h>

#include <mutex>

#include "platform/audio/cd/cd_sector_reader.h"
#include "platform/audio/cd/cd_source.h"
#include "platform/audio/cd/cd_toc.h"
#include "platform/audio/cd/cd_tray.h"

namespace audio {

// `mutex` guards handle, toc and reader: everything read_frames touches.
// `tracks` is the controlling thread's copy of toc.tracks, so tracks() can hand
// out a reference without holding the lock.
struct CdDrive::Impl {
  std::mutex mutex;
  CdIo_t* handle = nullptr;
  ImageStage stage;  // the staged copy of a sheet that `handle` reads, if any
  CdToc toc;
  CdSectorReader reader;

  std::string path;
  std::string refusal;  // why the last open or image load failed
  bool image = false;
  bool door_open = false;
  std::vector<CdTrack> tracks;

  ~Impl() { release(); }

  // Never cdio_eject_media on an image: it frees the image's insides and the
  // later cdio_destroy frees them again. Images are only ever destroyed.
  void release() {
    std::lock_guard lock(mutex);
    if (handle != nullptr) cdio_destroy(handle);
    handle = nullptr;
    stage = ImageStage{};
    toc = CdToc{};
    reader.reset();
    tracks.clear();
  }

  // Takes over `fresh` (may be nullptr) with its table; false when it has none.
  // The caller then replaces `stage` (an image) or leaves it empty (a drive).
  bool install(CdIo_t* fresh) {
    CdToc fresh_toc;
    const bool readable = fresh != nullptr && cd_read_toc(fresh, &fresh_toc);
    if (!readable && fresh != nullptr) {
      cdio_destroy(fresh);
      fresh = nullptr;
    }
    {
      std::lock_guard lock(mutex);
      if (handle != nullptr) cdio_destroy(handle);
      handle = fresh;
      toc = std::move(fresh_toc);
      reader.reset();
    }
    tracks = toc.tracks;
    return readable;
  }

  bool load_image(std::string* error) {
    ImageStage fresh_stage;
    CdIo_t* fresh = cd_open_image(path, &fresh_stage, error);
    const bool readable = install(fresh);
    stage = std::move(fresh_stage);  // after install: the old handle is gone, its stage may go too
    if (!readable && fresh != nullptr) *error = "The CD image \"" + path + "\" holds no tracks.";
    refusal = readable ? "" : *error;
    return readable;
  }

  // A drive's table is re-read whenever the drive says a disc is (back) in;
  // while it keeps the same disc the open handle and its table stay.
  bool refresh_drive() {
    const CdDriveStatus status = cd_drive_status(path);
    door_open = status == CdDriveStatus::TrayOpen;
    if (status != CdDriveStatus::DiscOk && status != CdDriveStatus::Unknown) {
      if (handle != nullptr) release();
      return false;
    }
    if (handle != nullptr) {
      std::lock_guard lock(mutex);  // the reader thread may be reading through it
      if (cdio_get_media_changed(handle) == 0) return true;
    }
    std::string ignored;
    return install(cd_open_drive(path, &ignored));
  }
};

CdDrive::CdDrive() : impl_(std::make_unique<Impl>()) {}
CdDrive::~CdDrive() = default;

bool CdDrive::open(const std::string& device_or_image, std::string* error) {
  std::string sentence;
  const bool opened = open_source(device_or_image, &sentence);
  impl_->refusal = opened ? "" : sentence;
  if (error != nullptr) *error = sentence;
  return opened;
}

bool CdDrive::open_source(const std::string& device_or_image, std::string* error) {
  impl_->release();
  impl_->path = device_or_image;
  impl_->door_open = false;
  impl_->image = false;
  switch (cd_source_kind(device_or_image)) {
    case CdSourceKind::Missing:
      impl_->path.clear();
      *error = device_or_image.empty() ? "No CD drive or CD image is set."
                                       : "The CD drive or CD image \"" + device_or_image + "\" does not exist.";
      return false;
    case CdSourceKind::Other:
      impl_->path.clear();
      *error = "\"" + device_or_image + "\" is neither a CD drive nor a CD image.";
      return false;
    case CdSourceKind::Image:
      impl_->image = true;
      if (impl_->load_image(error)) return true;
      impl_->path.clear();  // nothing is open: eject, close and media_present have nothing to act on
      return false;
    case CdSourceKind::Drive:
      if (!cd_drive_accessible(device_or_image, error)) {
        impl_->path.clear();
        return false;
      }
      // An empty drive or an open tray is still an open device: media_present() tells.
      impl_->refresh_drive();
      return true;
  }
  return false;
}

bool CdDrive::is_image() const { return impl_->image; }

bool CdDrive::media_present() {
  if (impl_->path.empty()) return false;
  if (!impl_->image) return impl_->refresh_drive();
  if (impl_->door_open) return false;
  if (impl_->handle != nullptr) return true;
  std::string ignored;  // the image went missing after a close: look again
  return impl_->load_image(&ignored);
}

bool CdDrive::door_open() const {
  // A tray opened with the drive's own button must show at the next poll.
  if (!impl_->image && !impl_->path.empty()) {
    const CdDriveStatus status = cd_drive_status(impl_->path);
    if (status != CdDriveStatus::Unknown) return status == CdDriveStatus::TrayOpen;
  }
  return impl_->door_open;
}

bool CdDrive::eject(std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  if (impl_->path.empty()) {
    *error = "No CD drive or CD image is open.";
    return false;
  }
  impl_->release();
  if (impl_->image) {
    impl_->door_open = true;
    return true;
  }
  if (!cd_drive_eject(impl_->path, error)) return false;
  impl_->door_open = true;
  return true;
}

bool CdDrive::close_tray(std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  if (impl_->path.empty()) {
    *error = "No CD drive or CD image is open.";
    return false;
  }
  if (impl_->image) {
    if (!impl_->door_open) return true;
    impl_->door_open = false;
    return impl_->load_image(error);
  }
  if (!cd_drive_close_tray(impl_->path, error)) return false;
  impl_->door_open = false;
  return true;
}

const std::vector<CdTrack>& CdDrive::tracks() const { return impl_->tracks; }

const std::string& CdDrive::refusal() const { return impl_->refusal; }

std::size_t CdDrive::read_frames(std::uint64_t first_frame, std::int16_t* stereo, std::size_t frames) {
  std::lock_guard lock(impl_->mutex);
  return impl_->reader.read(impl_->handle, impl_->toc, first_frame, stereo, frames);
}

namespace {
std::string text_at(const std::vector<std::string>& texts, int track) {
  return track >= 0 && static_cast<std::size_t>(track) < texts.size() ? texts[track] : std::string();
}
}  // namespace

std::string CdDrive::cdtext_title(int track) const { return text_at(impl_->toc.titles, track); }
std::string CdDrive::cdtext_performer(int track) const { return text_at(impl_->toc.performers, track); }

}  // namespace audio
