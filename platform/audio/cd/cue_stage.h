#pragma once
// libcdio's CUE reader takes the length of the disc from a BIN file named like
// the CUE sheet (x.cue → x.bin), whatever the sheet's FILE line says, and reads
// a lower- or upper-case ".cue" only. A sheet whose BIN has another name is
// handed to it as a staged copy instead: a private folder holding "disc.cue"
// (the sheet with its FILE line naming "disc.bin") and a link "disc.bin" to the
// real BIN. The folder lives as long as the CueStage.
#include <string>

namespace audio {

class CueStage {
 public:
  CueStage() = default;
  ~CueStage();
  CueStage(CueStage&& other) noexcept;
  CueStage& operator=(CueStage&& other) noexcept;
  CueStage(const CueStage&) = delete;
  CueStage& operator=(const CueStage&) = delete;

  // The path to give libcdio for the sheet `cue`: the sheet itself when libcdio
  // reads it as it stands, else a staged copy. "" with a sentence in *error when
  // the sheet names a missing file or several files (one BIN per track, which
  // libcdio misreads).
  std::string prepare(const std::string& cue, std::string* error);

 private:
  void remove();
  std::string dir_;
};

}  // namespace audio
