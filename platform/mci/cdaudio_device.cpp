// The cdaudio driver: one CD drive or disc image through CdDrive. Positions are
// absolute frames, sector × 588 (a disc's first track starts at sector 150), so
// MSF times are absolute disc times and TMSF times count within a track.
// Sectors that cannot be read (an image cut short or deleted while it plays)
// sound as silence to the end of the range, as a scratched disc's do.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/audio/cd/cd_drive.h"
#include "platform/mci/cd_refusal.h"
#include "platform/mci/cd_text.h"
#include "platform/mci/drivers.h"
#include "platform/mci/exact_producer.h"
#include "platform/mci/registry.h"

namespace mci {

namespace {

constexpr std::uint64_t kSectorFrames = audio::kCdFramesPerSector;
constexpr std::uint64_t kSectorsPerMinute = 60 * audio::kCdSectorsPerSecond;

// Past 255 minutes MSF has no room: the largest time, never a wrapped one.
DWORD msf_of_sectors(std::uint64_t sectors) {
  if (sectors / kSectorsPerMinute > 255) return MCI_MAKE_MSF(255, 59, audio::kCdSectorsPerSecond - 1);
  return MCI_MAKE_MSF(static_cast<BYTE>(sectors / kSectorsPerMinute),
                      static_cast<BYTE>((sectors / audio::kCdSectorsPerSecond) % 60),
                      static_cast<BYTE>(sectors % audio::kCdSectorsPerSecond));
}

std::uint64_t sectors_of_msf(BYTE m, BYTE s, BYTE f) {
  return m * kSectorsPerMinute + s * static_cast<std::uint64_t>(audio::kCdSectorsPerSecond) + f;
}

// Reads the disc ahead in runs of whole sectors, however small the blocks the
// engine asks for: each libcdio read has a fixed cost.
class DiscStream {
 public:
  DiscStream(std::shared_ptr<audio::CdDrive> drive, std::uint64_t from) : drive_(std::move(drive)), next_(from) {}

  std::size_t read(float* stereo, std::size_t frames) {
    std::size_t done = 0;
    while (done < frames) {
      if (used_ == filled_ && !refill()) break;
      const std::size_t n = std::min(frames - done, filled_ - used_);
      const std::int16_t* in = buffer_.data() + 2 * used_;
      float* out = stereo + 2 * done;
      for (std::size_t i = 0; i < 2 * n; ++i) out[i] = static_cast<float>(in[i]) * (1.0f / 32768.0f);
      used_ += n;
      done += n;
    }
    return done;
  }

 private:
  static constexpr std::size_t kFrames = 32 * kSectorFrames;

  bool refill() {
    filled_ = drive_->read_frames(next_, buffer_.data(), kFrames);
    used_ = 0;
    next_ += filled_;
    return filled_ > 0;
  }

  std::shared_ptr<audio::CdDrive> drive_;
  std::uint64_t next_;
  std::vector<std::int16_t> buffer_ = std::vector<std::int16_t>(2 * kFrames);
  std::size_t filled_ = 0;
  std::size_t used_ = 0;
};

class CdAudioDevice : public Device {
 public:
  CdAudioDevice(MCIDEVICEID id, std::shared_ptr<audio::CdDrive> drive)
      : Device(id, audio::Line::CD), drive_(std::move(drive)) {
    // A CD device starts in MSF, as on the platform this interface comes from.
    time_format_ = MCI_FORMAT_MSF;
    transport_.seek(media_start());
  }

  audio::CdDrive& drive() { return *drive_; }

 protected:
  const std::vector<audio::CdTrack>& tracks() const { return drive_->tracks(); }

  MCIERROR check_ready() override {
    return drive_->door_open() || tracks().empty() ? MCIERR_DEVICE_NOT_READY : 0;
  }

  std::uint64_t media_start() override { return tracks().empty() ? 0 : tracks().front().lba * kSectorFrames; }
  std::uint64_t media_end() override {
    if (tracks().empty()) return 0;
    const audio::CdTrack& last = tracks().back();
    return (static_cast<std::uint64_t>(last.lba) + last.sectors) * kSectorFrames;
  }

  const audio::CdTrack* track_at(std::uint64_t frame) const {
    const audio::CdTrack* found = nullptr;
    for (const audio::CdTrack& track : tracks()) {
      if (track.lba * kSectorFrames <= frame) found = &track;
    }
    return found != nullptr ? found : (tracks().empty() ? nullptr : &tracks().front());
  }

  const audio::CdTrack* track_number(DWORD number) const {
    for (const audio::CdTrack& track : tracks()) {
      if (static_cast<DWORD>(track.number) == number) return &track;
    }
    return nullptr;
  }

  MCIERROR producer(std::uint64_t from, std::uint64_t to, audio::Producer* out) override {
    for (const audio::CdTrack& track : tracks()) {
      const std::uint64_t start = track.lba * kSectorFrames;
      const std::uint64_t end = (static_cast<std::uint64_t>(track.lba) + track.sectors) * kSectorFrames;
      if (!track.audio && start < to && from < end) return MCIERR_CDA_DATA_TRACK;
    }
    auto stream = std::make_shared<DiscStream>(drive_, from);
    audio::Producer reader = [stream](float* stereo, std::size_t frames) { return stream->read(stereo, frames); };
    *out = exact_producer(to - from, std::move(reader));
    return 0;
  }

  bool supports_time_format(DWORD format) const override {
    return format == MCI_FORMAT_MILLISECONDS || format == MCI_FORMAT_MSF || format == MCI_FORMAT_TMSF;
  }

  MCIERROR to_frames(DWORD value, std::uint64_t* frame) override {
    switch (time_format_) {
      case MCI_FORMAT_MSF:
        *frame = sectors_of_msf(MCI_MSF_MINUTE(value), MCI_MSF_SECOND(value), MCI_MSF_FRAME(value)) * kSectorFrames;
        return 0;
      case MCI_FORMAT_TMSF: {
        const audio::CdTrack* track = track_number(MCI_TMSF_TRACK(value));
        if (track == nullptr) return MCIERR_OUTOFRANGE;
        const std::uint64_t offset =
            sectors_of_msf(MCI_TMSF_MINUTE(value), MCI_TMSF_SECOND(value), MCI_TMSF_FRAME(value));
        *frame = (track->lba + offset) * kSectorFrames;
        return 0;
      }
      default:
        return Device::to_frames(value, frame);
    }
  }

  DWORD from_frames(std::uint64_t frame) override {
    const std::uint64_t sector = frame / kSectorFrames;
    switch (time_format_) {
      case MCI_FORMAT_MSF:
        return msf_of_sectors(sector);
      case MCI_FORMAT_TMSF: {
        const audio::CdTrack* track = track_at(frame);
        if (track == nullptr) return 0;
        const DWORD msf = msf_of_sectors(sector - std::min<std::uint64_t>(sector, track->lba));
        return MCI_MAKE_TMSF(static_cast<BYTE>(track->number), MCI_MSF_MINUTE(msf), MCI_MSF_SECOND(msf),
                             MCI_MSF_FRAME(msf));
      }
      default:
        return Device::from_frames(frame);
    }
  }

  // Lengths read as MSF in both CD formats.
  DWORD length_value(std::uint64_t frames) override {
    if (time_format_ == MCI_FORMAT_MILLISECONDS) return Device::from_frames(frames);
    return msf_of_sectors(frames / kSectorFrames);
  }

  DWORD mode() override {
    if (drive_->door_open()) return MCI_MODE_OPEN;
    if (tracks().empty()) return MCI_MODE_NOT_READY;
    return Device::mode();
  }

  MCIERROR status_item(DWORD flags, MCI_STATUS_PARMS* parms) override {
    const bool per_track = flags & MCI_TRACK;
    const audio::CdTrack* track = per_track ? track_number(parms->dwTrack) : nullptr;
    switch (parms->dwItem) {
      case MCI_STATUS_MEDIA_PRESENT:
        parms->dwReturn = drive_->media_present() ? TRUE : FALSE;
        note_image_load();
        return 0;
      case MCI_STATUS_READY:
        parms->dwReturn = check_ready() == 0 ? TRUE : FALSE;
        return 0;
      case MCI_STATUS_NUMBER_OF_TRACKS:
        if (MCIERROR err = check_ready()) return err;
        parms->dwReturn = tracks().size();
        return 0;
      case MCI_STATUS_CURRENT_TRACK: {
        if (MCIERROR err = check_ready()) return err;
        parms->dwReturn = track_at(transport_.position())->number;
        return 0;
      }
      case MCI_STATUS_LENGTH:
        if (MCIERROR err = check_ready()) return err;
        if (per_track) {
          if (track == nullptr) return MCIERR_OUTOFRANGE;
          parms->dwReturn = length_value(track->sectors * kSectorFrames);
          return 0;
        }
        parms->dwReturn = length_value(media_end() - media_start());
        return 0;
      case MCI_STATUS_POSITION:
        if (MCIERROR err = check_ready()) return err;
        if (per_track) {
          if (track == nullptr) return MCIERR_OUTOFRANGE;
          parms->dwReturn = from_frames(track->lba * kSectorFrames);
          return 0;
        }
        parms->dwReturn = from_frames((flags & MCI_STATUS_START) ? media_start() : transport_.position());
        return 0;
      default:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
  }

  MCIERROR capability(DWORD item, DWORD* value) override {
    switch (item) {
      case MCI_GETDEVCAPS_CAN_EJECT:
        *value = TRUE;
        return 0;
      case MCI_GETDEVCAPS_USES_FILES:
        *value = FALSE;
        return 0;
      default:
        return Device::capability(item, value);
    }
  }

  MCIERROR set_other(DWORD flags, const MCI_SET_PARMS* parms) override {
    const DWORD door = flags & (MCI_SET_DOOR_OPEN | MCI_SET_DOOR_CLOSED);
    if (door == 0 || door != flags) return Device::set_other(flags, parms);
    if (door == (MCI_SET_DOOR_OPEN | MCI_SET_DOOR_CLOSED)) return MCIERR_FLAGS_NOT_COMPATIBLE;
    transport_.stop();
    std::string error;
    const bool moved = door == MCI_SET_DOOR_OPEN ? drive_->eject(&error) : drive_->close_tray(&error);
    if (door == MCI_SET_DOOR_CLOSED) {
      drive_->media_present();
      note_image_load();
    }
    transport_.seek(media_start());
    return moved ? 0 : MCIERR_HARDWARE;
  }

 private:
  // An image read afresh (its tray closed, or it came back after going
  // missing) may now be refused, or work again.
  void note_image_load() {
    if (!drive_->is_image()) return;
    if (drive_->refusal().empty()) {
      if (!drive_->door_open()) forget_cd_refusal();
    } else {
      record_cd_refusal(drive_->refusal());
    }
  }

  std::shared_ptr<audio::CdDrive> drive_;
};

}  // namespace

MCIERROR open_cdaudio(const OpenRequest& request, std::unique_ptr<Device>* device) {
  // "open <drive or image> type cdaudio" names its own; "open cdaudio" takes the configured one.
  const std::string name = request.element.empty() ? audio::cd_default_device() : request.element;
  if (name.empty()) return MCIERR_NO_CD_DEVICE;
  auto drive = std::make_shared<audio::CdDrive>();
  std::string error;
  if (!drive->open(name, &error)) {
    record_cd_refusal(error);
    return MCIERR_CD_SOURCE_REFUSED;
  }
  forget_cd_refusal();
  *device = std::make_unique<CdAudioDevice>(request.id, std::move(drive));
  return 0;
}

}  // namespace mci

BOOL mci_cd_text(MCIDEVICEID device, int track, std::string* title, std::string* performer) {
  auto* cd = dynamic_cast<mci::CdAudioDevice*>(mci::find_device(device));
  if (cd == nullptr) return FALSE;
  if (title) *title = cd->drive().cdtext_title(track);
  if (performer) *performer = cd->drive().cdtext_performer(track);
  return TRUE;
}
