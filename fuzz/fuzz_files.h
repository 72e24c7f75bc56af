#pragma once
// Files for the fuzz targets: one private scratch folder per process (the
// fuzzers run as root, so nothing they write may land outside it), and plain
// whole-file reads and writes. Single-threaded, like libFuzzer's main loop.
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzzfiles {

// A fresh folder under $TMPDIR (or /tmp), made on first use and removed with
// all it holds at exit.
const std::string& scratch_folder();
// Removes every entry of `folder` (not the folder itself, not recursively:
// the targets make no subfolders).
void empty_folder(const std::string& folder);
void write_file(const std::string& path, std::string_view bytes);
// Reads the whole file; false when it can not be opened.
bool read_file(const std::string& path, std::string* bytes);

}  // namespace fuzzfiles
