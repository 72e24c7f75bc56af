#pragma once
// A recording from the chosen source into a temporary wave file in the
// recordings folder next to the settings. Records as a tape does: from a given
// frame over what was there, the length growing only where a take runs past it.
// The file is kept valid on disk while it grows (its header is rewritten and
// flushed about every second) and locked (flock) while this process holds it,
// so after a crash it is found again, losing at most about the last second.
// Saving copies it to its final name atomically.
//
// Threads: a Recorder is used from one thread (the UI's); its frames arrive on
// the capture thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/engine.h"

namespace audio {

struct RecordFormat {
  int samples_per_sec = 44100;
  int channels = 2;          // 1 or 2
  int bits_per_sample = 16;  // 8, 16, 24 or 32 (PCM)
};

// "recordings" in the settings folder: where recordings in progress live.
std::string recordings_folder();
// A fresh temporary file name there (the folder is created when missing).
std::string default_recording_path();

// A recording that no running process holds: left by a crash or a power loss.
struct OrphanedRecording {
  std::string path;
  RecordFormat format;
  std::uint64_t frames = 0;
};
// The recoverable recordings in recordings_folder(), oldest first. Empty ones
// hold nothing to offer and are deleted on the way.
std::vector<OrphanedRecording> orphaned_recordings();
// Deletes one (declined by the user); refuses a file of another folder or one a
// running process holds.
bool delete_orphaned_recording(const std::string& path, std::string* error);

class Recorder {
 public:
  Recorder();
  ~Recorder();  // stops and deletes the temporary file
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  // Creates an empty recording at `temp_path` ("" = default_recording_path())
  // without capturing yet. Replaces a previous recording of this object.
  bool create(const RecordFormat& format, const std::string& temp_path, std::string* error);
  // A recording holding the sound of `source` (any file wave_file reads) as PCM
  // at its rate and channels, at its width (16 bits for lossy formats). The
  // source is only read.
  bool create_from_file(const std::string& source, std::string* error);
  // Takes over an orphaned recording: it becomes this object's temporary file.
  bool adopt(const std::string& orphan_path, std::string* error);

  // Captures from the chosen source over the recording from `start_frame`
  // (clamped to its length).
  bool record(std::uint64_t start_frame, std::string* error);
  // Stops capturing; the file on disk is complete and valid.
  void stop();
  // False once stopped, once the disk refused frames (the rest is dropped), or
  // once the recording device stopped delivering.
  bool recording() const;
  bool created() const;
  // The length: the furthest any take reached.
  std::uint64_t frames() const;
  // Where the next captured frame goes.
  std::uint64_t head() const;
  // True when the disk refused frames during the last take (full): the
  // recording holds what fitted.
  bool write_failed() const;
  // True when the recording device stopped working during the last take (a
  // microphone unplugged): the recording holds what came before.
  bool source_failed() const;
  const RecordFormat& format() const;
  const std::string& temp_path() const;

  // Plays recorded frames [start_frame, end_frame) at the engine rate.
  Producer make_producer(std::uint64_t start_frame, std::uint64_t end_frame, std::string* error);
  // Writes what has been recorded so far as a wave file at `path`: written to a
  // temporary name in the same folder, flushed, then renamed, so `path` is either
  // the old file or the complete new one, and the recording stays as it was.
  // Works while recording too.
  bool save(const std::string& path, std::string* error);
  // Forgets the recording and deletes the temporary file.
  void discard();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Test seam: called before each step of a save; returning false makes that
// step fail as an unwritable folder, a full disk or a failing rename would.
enum class SaveStep { Create, Write, Rename };
void set_save_fault_for_testing(std::function<bool(SaveStep)> fault);

}  // namespace audio
