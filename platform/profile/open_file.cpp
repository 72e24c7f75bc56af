#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/profile/profile.h"
#include "platform/profile/profile_path.h"
#include "platform/profile/profile_store.h"

HFILE OpenFile(LPCSTR path, LPOFSTRUCT info, UINT style) {
  if (!path) return HFILE_ERROR;
  const std::string resolved = profile::resolve_path(path);
  if (info) {
    std::memset(info, 0, sizeof *info);
    info->cBytes = sizeof *info;
    if (resolved.size() < OFS_MAXPATHNAME) std::memcpy(info->szPathName, resolved.c_str(), resolved.size() + 1);
  }
  int result = -1;
  if (style & OF_DELETE) {
    errno = ENOENT;
    result = profile::remove_file(resolved) ? 0 : -1;
  } else if (style & OF_EXIST) {
    result = ::access(resolved.c_str(), F_OK);
  } else {
    errno = EINVAL;
  }
  if (result == 0) return 1;
  if (info) info->nErrCode = static_cast<WORD>(errno);
  return HFILE_ERROR;
}
