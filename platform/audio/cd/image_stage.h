#pragma once
// Where libcdio's image readers misread a sheet that is fine, they get a staged
// copy in a private folder that lives as long as the ImageStage:
// - its CUE reader takes the length of the disc from a BIN named like the sheet
//   (x.cue → x.bin) whatever the FILE line says, and reads a lower- or
//   upper-case ".cue" only: such a sheet is staged as "disc.cue" naming
//   "disc.bin", a link to the real BIN;
// - its TOC reader looks for the sheet's files relative to the working folder,
//   not the sheet's: a sheet with relative names is staged with absolute ones.
// Sheets it misreads, leaks on or corrupts memory over are refused with a
// sentence instead: a CUE sheet whose one FILE line follows its tracks, whose
// tracks do not count up from 1, with a track lacking INDEX 01, with a
// statement twice that may stand once (CATALOG, CDTEXTFILE, ISRC, FLAGS,
// PREGAP, POSTGAP), or naming a missing CD-Text file; a TOC sheet with track
// statements before its first TRACK, a TRACK without its mode or of a mode
// libcdio reads no sectors of (MODE2, MODE2_FORM1, MODE2_FORM2), a track of
// several files, or naming a file that is missing, empty or shorter than its
// lines say; and any sheet holding a NUL byte.
#include <string>
#include <vector>

namespace audio {

// "The CD image \"<path>\" is damaged: <why>." — the sentence for an image refused by its structure.
std::string cd_image_damaged(const std::string& path, const std::string& why);

class ImageStage {
 public:
  ImageStage() = default;
  ~ImageStage();
  ImageStage(ImageStage&& other) noexcept;
  ImageStage& operator=(ImageStage&& other) noexcept;
  ImageStage(const ImageStage&) = delete;
  ImageStage& operator=(const ImageStage&) = delete;

  // The path to give libcdio for the sheet `cue`: the sheet itself when libcdio
  // reads it as it stands, else a staged copy. "" with a sentence in *error when
  // the sheet is refused (above), names no file, a missing file or several files
  // (one BIN per track, which libcdio misreads).
  std::string prepare_cue(const std::string& cue, std::string* error);
  // The path to give libcdio for the TOC sheet `toc`; "" with a sentence in
  // *error when the sheet is refused (above).
  std::string prepare_toc(const std::string& toc, std::string* error);

 private:
  void remove();
  bool make_folder(const std::string& sheet, std::string* error);
  bool write(const std::string& name, const std::vector<std::string>& lines, const std::string& sheet,
             std::string* error);
  std::string dir_;
};

}  // namespace audio
