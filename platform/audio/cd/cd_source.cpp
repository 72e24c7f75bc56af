#include "platform/audio/cd/cd_source.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <mutex>

#include "platform/audio/cd/nrg_check.h"

namespace audio {
namespace {

thread_local std::string last_log_message;  // the first warning since the last take

void keep_last_message(cdio_log_level_t level, const char message[]) {
  // The first complaint names the cause; later ones ("init failed") only echo it.
  if (level >= CDIO_LOG_WARN && message != nullptr && last_log_message.empty()) {
    last_log_message = message;
    // libcdio ends some messages with a newline or a colon before a reason on the next line.
    std::replace(last_log_message.begin(), last_log_message.end(), '\n', ' ');
    while (!last_log_message.empty() && last_log_message.back() == ' ') last_log_message.pop_back();
  }
}

std::string lower_extension(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string extension = path.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

bool is_file(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The sheet libcdio pairs with a BIN: the same name ending in "cue" (or "CUE").
std::string sheet_of_bin(const std::string& bin) {
  const std::string stem = bin.substr(0, bin.size() - 3);
  for (const char* tail : {"cue", "CUE"}) {
    if (is_file(stem + tail)) return stem + tail;
  }
  return "";
}

// Each image is checked here, then opened only through the libcdio driver of
// the format the check found: libcdio's own probing runs every reader over the
// file, the NRG one included, which crashes on damaged input. The path for
// libcdio is returned ("" with a sentence in *error when refused).
struct ImageFormat {
  const char* extension;  // "" for any other name
  driver_id_t driver;
  std::string (*check)(const std::string& path, ImageStage* stage, std::string* error);
};

std::string checked_nrg(const std::string& path, ImageStage*, std::string* error) {
  std::string why;
  switch (cd_check_nrg(path, &why)) {
    case NrgVerdict::Sound:
      return path;
    case NrgVerdict::Damaged:
      *error = cd_image_damaged(path, why);
      return "";
    case NrgVerdict::Unsupported:
      *error = "The CD image \"" + path + "\" can not be played: " + why + ".";
      return "";
    case NrgVerdict::NotNrg:
      break;
  }
  *error = lower_extension(path) == ".nrg"
               ? cd_image_damaged(path, "it has no NRG footer")
               : "The file \"" + path + "\" is not a CD image: CUE and TOC sheets and NRG images can be played.";
  return "";
}

constexpr ImageFormat kImageFormats[] = {
    {".cue", DRIVER_BINCUE, [](const std::string& path, ImageStage* stage, std::string* error) {
       return stage->prepare_cue(path, error);
     }},
    {".bin", DRIVER_BINCUE, [](const std::string& path, ImageStage* stage, std::string* error) {
       const std::string sheet = sheet_of_bin(path);
       if (!sheet.empty()) return stage->prepare_cue(sheet, error);
       *error = "The CD image \"" + path + "\" has no CUE sheet of the same name beside it.";
       return std::string();
     }},
    {".toc", DRIVER_CDRDAO, [](const std::string& path, ImageStage* stage, std::string* error) {
       return stage->prepare_toc(path, error);
     }},
    {".nrg", DRIVER_NRG, checked_nrg},
    {"", DRIVER_NRG, checked_nrg},  // any other name: an NRG image or nothing
};

const ImageFormat& format_of(const std::string& path) {
  const std::string extension = lower_extension(path);
  for (const ImageFormat& format : kImageFormats) {
    if (extension == format.extension) return format;
  }
  return kImageFormats[std::size(kImageFormats) - 1];
}

// `sentence` comes without its full stop so libcdio's reason can go before it.
std::string with_reason(std::string sentence) {
  const std::string reason = cd_take_log_message();
  if (!reason.empty()) sentence += " (" + reason + ")";
  return sentence + ".";
}

}  // namespace

void cd_quiet_log() {
  static std::once_flag once;
  std::call_once(once, [] { cdio_log_set_handler(keep_last_message); });
}

std::string cd_take_log_message() {
  std::string message;
  message.swap(last_log_message);
  return message;
}

CdSourceKind cd_source_kind(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return CdSourceKind::Missing;
  if (S_ISBLK(info.st_mode)) return CdSourceKind::Drive;
  if (S_ISREG(info.st_mode)) return CdSourceKind::Image;
  return CdSourceKind::Other;
}

CdIo_t* cd_open_image(const std::string& path, ImageStage* stage, std::string* error) {
  cd_quiet_log();
  cd_take_log_message();
  const ImageFormat& format = format_of(path);
  const std::string source = format.check(path, stage, error);
  if (source.empty()) return nullptr;
  CdIo_t* handle = cdio_open(source.c_str(), format.driver);
  if (handle == nullptr) *error = with_reason("The CD image \"" + path + "\" can not be read");
  return handle;
}

bool cd_drive_accessible(const std::string& path, std::string* error) {
  if (::access(path.c_str(), R_OK) == 0) return true;
  *error = "The CD drive \"" + path + "\" can not be opened (" + std::strerror(errno) + ").";
  return false;
}

CdIo_t* cd_open_drive(const std::string& path, std::string* error) {
  cd_quiet_log();
  cd_take_log_message();
  CdIo_t* handle = cdio_open(path.c_str(), DRIVER_DEVICE);
  if (handle == nullptr) *error = with_reason("The CD drive \"" + path + "\" can not be opened");
  return handle;
}

}  // namespace audio
