#include "platform/audio/cd/image_stage.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace audio {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kLargestSheet = 1 << 20;  // anything bigger is no sheet

struct FileLine {
  std::size_t line_index;
  std::string head;  // the line up to the name, e.g. "  FILE "
  std::string name;  // as written, without quotes
  std::string rest;  // what follows the name, e.g. " BINARY"
};

std::vector<std::string> read_lines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool small_file(const std::string& path) {
  std::error_code failure;
  const auto size = fs::file_size(path, failure);
  return !failure && size <= kLargestSheet;
}

// The lines naming a file, by their keyword: FILE "name with spaces" BINARY, or
// FILE name BINARY (CUE); FILE "name" 0 00:02:00 or DATAFILE "name" (TOC).
std::vector<FileLine> file_lines(const std::vector<std::string>& lines, std::initializer_list<std::string> keywords) {
  std::vector<FileLine> found;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos) continue;
    const std::size_t word_end = line.find_first_of(" \t", at);
    if (word_end == std::string::npos) continue;
    std::string word = line.substr(at, word_end - at);
    for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (std::find(keywords.begin(), keywords.end(), word) == keywords.end()) continue;
    at = line.find_first_not_of(" \t", word_end);
    if (at == std::string::npos) continue;
    std::size_t end;
    std::string name;
    if (line[at] == '"') {
      end = line.find('"', at + 1);
      if (end == std::string::npos) continue;
      name = line.substr(at + 1, end - at - 1);
      ++end;
    } else {
      end = line.find_first_of(" \t", at);
      if (end == std::string::npos) end = line.size();
      name = line.substr(at, end - at);
    }
    found.push_back({i, line.substr(0, at), name, line.substr(end)});
  }
  return found;
}

// The BIN that libcdio looks for next to `cue`, or "" when it does not take the name.
std::string libcdio_bin_name(const std::string& cue) {
  if (cue.size() < 4) return "";
  const std::string tail = cue.substr(cue.size() - 3);
  if (tail == "cue") return cue.substr(0, cue.size() - 3) + "bin";
  if (tail == "CUE") return cue.substr(0, cue.size() - 3) + "BIN";
  return "";
}

bool same_file(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

}  // namespace

ImageStage::~ImageStage() { remove(); }

ImageStage::ImageStage(ImageStage&& other) noexcept : dir_(std::move(other.dir_)) { other.dir_.clear(); }

ImageStage& ImageStage::operator=(ImageStage&& other) noexcept {
  if (this != &other) {
    remove();
    dir_ = std::move(other.dir_);
    other.dir_.clear();
  }
  return *this;
}

void ImageStage::remove() {
  if (dir_.empty()) return;
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
  dir_.clear();
}

bool ImageStage::make_folder(const std::string& sheet, std::string* error) {
  std::error_code failure;
  std::string dir = (fs::temp_directory_path(failure) / "quorvin-image-XXXXXX").string();
  if (failure || mkdtemp(dir.data()) == nullptr) {
    *error = "The CD image \"" + sheet + "\" can not be staged in the temporary folder.";
    return false;
  }
  dir_ = dir;
  return true;
}

bool ImageStage::write(const std::string& name, const std::vector<std::string>& lines, const std::string& sheet,
                       std::string* error) {
  std::ofstream staged(dir_ + "/" + name, std::ios::binary);
  for (const std::string& line : lines) staged << line << '\n';
  if (staged.flush()) return true;
  remove();
  *error = "The CD image \"" + sheet + "\" can not be staged in the temporary folder.";
  return false;
}

std::string ImageStage::prepare_cue(const std::string& cue, std::string* error) {
  remove();
  if (!small_file(cue)) return cue;  // not a sheet: libcdio gives the verdict
  std::vector<std::string> lines = read_lines(cue);
  const std::vector<FileLine> files = file_lines(lines, {"FILE"});
  if (files.empty()) return cue;
  if (files.size() > 1) {
    *error = "The CD image \"" + cue + "\" keeps its tracks in " + std::to_string(files.size()) +
             " files; only CUE sheets with a single BIN file can be read.";
    return "";
  }
  const fs::path named(files[0].name);
  const fs::path bin = named.is_absolute() ? named : fs::path(cue).parent_path() / named;
  std::error_code failure;
  if (!fs::is_regular_file(bin, failure)) {
    *error = "The CD image \"" + cue + "\" names the file \"" + files[0].name + "\", which does not exist.";
    return "";
  }
  const std::string expected = libcdio_bin_name(cue);
  if (!expected.empty() && same_file(expected, bin)) return cue;

  if (!make_folder(cue, error)) return "";
  lines[files[0].line_index] = files[0].head + "\"disc.bin\"" + files[0].rest;
  if (!write("disc.cue", lines, cue, error)) return "";
  fs::create_symlink(fs::absolute(bin, failure), dir_ + "/disc.bin", failure);
  if (failure) {
    remove();
    *error = "The CD image \"" + cue + "\" can not be staged in the temporary folder.";
    return "";
  }
  return dir_ + "/disc.cue";
}

std::string ImageStage::prepare_toc(const std::string& toc, std::string* error) {
  remove();
  if (!small_file(toc)) return toc;
  std::vector<std::string> lines = read_lines(toc);
  bool relative = false;
  std::error_code failure;
  const fs::path folder = fs::absolute(fs::path(toc).parent_path(), failure);
  for (const FileLine& file : file_lines(lines, {"FILE", "AUDIOFILE", "DATAFILE"})) {
    if (fs::path(file.name).is_absolute()) continue;
    relative = true;
    lines[file.line_index] = file.head + "\"" + (folder / file.name).string() + "\"" + file.rest;
  }
  if (!relative) return toc;
  if (!make_folder(toc, error) || !write("disc.toc", lines, toc, error)) return "";
  return dir_ + "/disc.toc";
}

}  // namespace audio
