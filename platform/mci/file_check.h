#pragma once
#include <string>

#include "platform/mci/mmsystem.h"

namespace mci {

// 0 when `path` names a readable regular file, else MCIERR_FILE_NOT_FOUND.
MCIERROR check_media_file(const std::string& path);

}  // namespace mci
