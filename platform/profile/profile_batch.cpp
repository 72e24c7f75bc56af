#include "platform/profile/profile_batch.h"

#include "platform/profile/profile_path.h"
#include "platform/profile/profile_store.h"

ProfileBatch::ProfileBatch(LPCSTR file) : path_(profile::resolve_path(file)), open_(profile::begin_batch(path_)) {}

ProfileBatch::~ProfileBatch() {
  if (open_) profile::end_batch(path_);
}

BOOL ProfileBatch::commit() {
  if (!open_) return FALSE;
  open_ = false;
  return profile::end_batch(path_) ? TRUE : FALSE;
}
