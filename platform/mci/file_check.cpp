#include "platform/mci/file_check.h"

#include <sys/stat.h>
#include <unistd.h>

namespace mci {

MCIERROR check_media_file(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return MCIERR_FILE_NOT_FOUND;
  if (access(path.c_str(), R_OK) != 0) return MCIERR_FILE_NOT_FOUND;
  return 0;
}

}  // namespace mci
