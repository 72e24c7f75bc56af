#include "platform/audio/cd/cd_source.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <mutex>

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

// The image formats libcdio reads, by the extension that names each. libcdio
// itself requires it: its CUE reader looks for the BIN under the CUE's name.
struct ImageFormat {
  const char* extension;
  driver_id_t driver;
};
constexpr ImageFormat kImageFormats[] = {
    {".cue", DRIVER_BINCUE},
    {".bin", DRIVER_BINCUE},
    {".toc", DRIVER_CDRDAO},
    {".nrg", DRIVER_NRG},
};

std::string lower_extension(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string extension = path.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

// Other names are left to libcdio, which tries each image driver in turn.
driver_id_t driver_for(const std::string& path) {
  const std::string extension = lower_extension(path);
  for (const ImageFormat& format : kImageFormats) {
    if (extension == format.extension) return format.driver;
  }
  return DRIVER_UNKNOWN;
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
  std::string source = path;
  const std::string extension = lower_extension(path);
  if (extension == ".cue") source = stage->prepare_cue(path, error);
  if (extension == ".toc") source = stage->prepare_toc(path, error);
  if (source.empty()) return nullptr;
  CdIo_t* handle = cdio_open(source.c_str(), driver_for(source));
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
