#pragma once
// The structure of an NRG image, checked before libcdio's NRG reader sees it.
//
// That reader trusts the file: it follows the footer's table offset and every
// chunk length without bounds, writes one table entry per track into a fixed
// array of 100 and reads DAO entries for tracks the chunk does not hold. A
// damaged file crashes it or makes it ask for near-2^64-byte allocations; any
// CD-Text chunk, sound or not, makes it free memory twice. An image that passes
// this check stays inside what the reader handles: the footer, every chunk and
// every track's data lie inside the file, one track list of 1 to 99 tracks, at
// most one DAO chunk, no CD-Text, lengths as each chunk kind requires.
//
// Any thread; reads the file only.
#include <string>

namespace audio {

enum class NrgVerdict {
  NotNrg,   // no NRG footer: some other kind of file
  Damaged,      // an NRG footer, but the structure behind it is broken (*why says how)
  Unsupported,  // well formed, but holding what the reader fails on (*why says what)
  Sound,
};

// *why gets a lower-case phrase for a sentence such as "The CD image \"x\" is
// damaged: <why>.", set when the verdict is Damaged or Unsupported.
NrgVerdict cd_check_nrg(const std::string& path, std::string* why);

}  // namespace audio
