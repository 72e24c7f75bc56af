#pragma once
// Many writes to one profile file as one durable replacement. Every write made
// through the profile functions while a batch is open on the file (and a
// deletion with OpenFile) changes only the in-memory copy, which reads see at
// once; the file is written when the batch commits, all or nothing. A crash
// inside the batch leaves the file as it was before it.
//
// Worth it where a caller issues thousands of writes in a row (a playlist
// store is rewritten as a whole): one sync instead of one per key.
#include <string>

#include "platform/wintypes.h"

class ProfileBatch {
 public:
  explicit ProfileBatch(LPCSTR file);
  ~ProfileBatch();  // commits when commit() was not called
  ProfileBatch(const ProfileBatch&) = delete;
  ProfileBatch& operator=(const ProfileBatch&) = delete;

  // Writes the file; TRUE when it is on disk (or nothing had changed). FALSE
  // when it could not be written or read at the start: the file is then as it
  // was before the batch.
  BOOL commit();

 private:
  std::string path_;
  bool open_;
};
