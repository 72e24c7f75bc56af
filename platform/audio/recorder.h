#pragma once
// A recording from the input device into a temporary wave file next to the
// settings. The file is kept valid on disk while it grows (its header is
// rewritten and flushed about every second), so a crash loses at most about
// the last second. Saving copies it to its final name atomically.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/engine.h"

namespace audio {

struct RecordFormat {
  int samples_per_sec = 44100;
  int channels = 2;          // 1 or 2
  int bits_per_sample = 16;  // 8, 16 or 24 (PCM)
};

// A temporary file name for a new recording, in the folder the settings live in
// (created when missing).
std::string default_recording_path();

class Recorder {
 public:
  Recorder();
  ~Recorder();  // stops and deletes the temporary file
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  // Creates an empty recording at `temp_path` ("" = default_recording_path())
  // without capturing yet. Replaces a previous recording of this object.
  bool create(const RecordFormat& format, const std::string& temp_path, std::string* error);
  // Captures from the input device, appending to the recording.
  bool record(std::string* error);
  // Stops capturing; the file on disk is complete and valid.
  void stop();
  bool recording() const;
  bool created() const;
  std::uint64_t frames() const;
  // True when the disk refused frames (full): the recording holds what fitted.
  bool write_failed() const;
  const RecordFormat& format() const;
  const std::string& temp_path() const;

  // Plays recorded frames [start_frame, end_frame) at the engine rate.
  Producer make_producer(std::uint64_t start_frame, std::uint64_t end_frame, std::string* error);
  // Writes what has been recorded so far as a wave file at `path`: written to a
  // temporary name in the same folder, flushed, then renamed, so `path` is either
  // the old file or the complete new one. Works while recording too.
  bool save(const std::string& path, std::string* error);
  // Forgets the recording and deletes the temporary file.
  void discard();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace audio
