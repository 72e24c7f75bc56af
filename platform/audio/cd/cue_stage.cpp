#include "platform/audio/cd/cue_stage.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace audio {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kLargestSheet = 1 << 20;  // anything bigger is not a CUE sheet

struct FileLine {
  std::size_t line_index;
  std::string name;  // as written, without quotes
  std::string rest;  // the file type after the name, e.g. " BINARY"
};

// The FILE lines of a sheet: FILE "name with spaces" BINARY, or FILE name BINARY.
std::vector<FileLine> file_lines(const std::vector<std::string>& lines) {
  std::vector<FileLine> found;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.size() < at + 5) continue;
    std::string word = line.substr(at, 4);
    for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (word != "FILE" || (line[at + 4] != ' ' && line[at + 4] != '\t')) continue;
    at = line.find_first_not_of(" \t", at + 4);
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
    found.push_back({i, name, line.substr(end)});
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

CueStage::~CueStage() { remove(); }

CueStage::CueStage(CueStage&& other) noexcept : dir_(std::move(other.dir_)) { other.dir_.clear(); }

CueStage& CueStage::operator=(CueStage&& other) noexcept {
  if (this != &other) {
    remove();
    dir_ = std::move(other.dir_);
    other.dir_.clear();
  }
  return *this;
}

void CueStage::remove() {
  if (dir_.empty()) return;
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
  dir_.clear();
}

std::string CueStage::prepare(const std::string& cue, std::string* error) {
  remove();
  std::error_code failure;
  const auto size = fs::file_size(cue, failure);
  if (failure || size > kLargestSheet) return cue;  // libcdio gives the verdict
  std::ifstream in(cue, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  const std::vector<FileLine> files = file_lines(lines);
  if (files.empty()) return cue;
  if (files.size() > 1) {
    *error = "The CD image \"" + cue + "\" keeps its tracks in " + std::to_string(files.size()) +
             " files; only CUE sheets with a single BIN file can be read.";
    return "";
  }
  const fs::path named(files[0].name);
  const fs::path bin = named.is_absolute() ? named : fs::path(cue).parent_path() / named;
  if (!fs::is_regular_file(bin, failure)) {
    *error = "The CD image \"" + cue + "\" names the file \"" + files[0].name + "\", which does not exist.";
    return "";
  }
  const std::string expected = libcdio_bin_name(cue);
  if (!expected.empty() && same_file(expected, bin)) return cue;

  std::string dir = (fs::temp_directory_path(failure) / "quorvin-cue-XXXXXX").string();
  if (failure || mkdtemp(dir.data()) == nullptr) {
    *error = "The CD image \"" + cue + "\" can not be staged in the temporary folder.";
    return "";
  }
  dir_ = dir;
  lines[files[0].line_index] = "FILE \"disc.bin\"" + files[0].rest;
  std::ofstream staged(dir_ + "/disc.cue", std::ios::binary);
  for (const std::string& line : lines) staged << line << '\n';
  fs::create_symlink(fs::absolute(bin, failure), dir_ + "/disc.bin", failure);
  if (!staged.flush() || failure) {
    remove();
    *error = "The CD image \"" + cue + "\" can not be staged in the temporary folder.";
    return "";
  }
  return dir_ + "/disc.cue";
}

}  // namespace audio
