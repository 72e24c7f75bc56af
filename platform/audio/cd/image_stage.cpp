#include "platform/audio/cd/image_stage.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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
      // An unclosed quote still names a file for libcdio (which leaks it when
      // another FILE line follows): the name runs to the end of the line.
      end = std::min(line.find('"', at + 1), line.size());
      name = line.substr(at + 1, end - at - 1);
      end = std::min(end + 1, line.size());
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

std::string upper_word(const std::string& line, std::size_t* end) {
  const std::size_t at = line.find_first_not_of(" \t");
  if (at == std::string::npos) return "";
  *end = std::min(line.find_first_of(" \t", at), line.size());
  std::string word = line.substr(at, *end - at);
  for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return word;
}

std::vector<std::string> words_after(const std::string& line, std::size_t at) {
  std::vector<std::string> words;
  std::istringstream in(line.substr(std::min(at, line.size())));
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// libcdio reads a sheet's lines as C strings, so from a NUL byte on it sees
// less than the checks here would; and it splits words at a carriage return
// inside a line where these checks do not, so a "FILE\rname" line would escape
// them (and leak in libcdio). No text sheet holds either.
bool holds_nul(const std::vector<std::string>& lines) {
  return std::any_of(lines.begin(), lines.end(),
                     [](const std::string& l) { return l.find_first_of(std::string("\0\r", 2)) != std::string::npos; });
}
constexpr const char* kNulFault = "it holds a NUL byte or a carriage return inside a line, which no text sheet does";

// What is wrong with the track lines of a CUE sheet whose one FILE line is
// `file_line`, or "". libcdio's reader leaks on a FILE line after the tracks and
// on a repeated ISRC or CATALOG line, takes repeated track numbers or tracks
// without INDEX 01 as extra tracks at 00:00:00 (which play whatever lies
// there), and writes past its track table when the tracks do not count up
// from 1.
std::string cue_track_fault(const std::vector<std::string>& lines, std::size_t file_line) {
  if (holds_nul(lines)) return kNulFault;
  // Statements a sheet may hold once (before the first track) or a track once.
  static const char* const kOncePerScope[] = {"CATALOG", "CDTEXTFILE", "ISRC", "FLAGS", "PREGAP", "POSTGAP"};
  int previous = 0;
  bool indexed = true;
  std::vector<std::string> seen;  // once-only statements of the current scope
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::size_t end = 0;
    const std::string word = upper_word(lines[i], &end);
    const std::vector<std::string> rest = words_after(lines[i], end);
    if (word == "TRACK") {
      if (i < file_line) return "its FILE line comes after its tracks";
      if (!indexed) return "track " + std::to_string(previous) + " has no INDEX 01 line";
      const int number = rest.empty() ? 0 : std::atoi(rest[0].c_str());
      if (number < 1 || number > 99) return "it has a track numbered \"" + (rest.empty() ? "" : rest[0]) + "\"";
      if (number != previous + 1) {
        return previous == 0 ? "its first track is numbered " + std::to_string(number) + ", not 1"
                             : "its track " + std::to_string(number) + " follows track " + std::to_string(previous);
      }
      previous = number;
      indexed = false;
      seen.clear();
    } else if (word == "INDEX" && !rest.empty() && std::atoi(rest[0].c_str()) == 1) {
      indexed = true;
    } else if (std::find(std::begin(kOncePerScope), std::end(kOncePerScope), word) != std::end(kOncePerScope)) {
      if (std::find(seen.begin(), seen.end(), word) != seen.end()) {
        return previous == 0 ? "it has two " + word + " lines"
                             : "its track " + std::to_string(previous) + " has two " + word + " lines";
      }
      seen.push_back(word);
    }
  }
  if (previous == 0) return "it holds no tracks";
  if (!indexed) return "track " + std::to_string(previous) + " has no INDEX 01 line";
  return "";
}

// What is wrong with the statements of a TOC sheet, or "". libcdio's TOC reader
// divides by zero on a track statement before the first TRACK, or in a TRACK
// without its mode or of a mode it gives no sector size, and leaks on a track
// with more than one file statement.
std::string toc_track_fault(const std::vector<std::string>& lines) {
  if (holds_nul(lines)) return kNulFault;
  // "NO" opens NO COPY and NO PRE_EMPHASIS.
  static const char* const kTrackStatements[] = {
      "SILENCE", "ZERO", "FILE", "AUDIOFILE",         "DATAFILE",           "FIFO",        "START", "PREGAP", "INDEX",
      "ISRC",    "COPY", "NO",   "TWO_CHANNEL_AUDIO", "FOUR_CHANNEL_AUDIO", "PRE_EMPHASIS"};
  static const char* const kSizelessModes[] = {"MODE2", "MODE2_FORM1", "MODE2_FORM2"};
  int braces = 0;  // inside a CD_TEXT block
  bool in_track = false;
  int tracks = 0;
  int files = 0;  // of the current track
  for (const std::string& line : lines) {
    const std::string code = line.substr(0, line.find("//"));
    std::size_t end = 0;
    const std::string word = upper_word(code, &end);
    if (braces == 0 && word == "TRACK") {
      in_track = true;
      ++tracks;
      files = 0;
      const std::vector<std::string> mode = words_after(code, end);
      if (mode.empty()) return "its track " + std::to_string(tracks) + " has no mode";
      if (std::find(std::begin(kSizelessModes), std::end(kSizelessModes), mode[0]) != std::end(kSizelessModes))
        return "its track " + std::to_string(tracks) + " has the mode " + mode[0] + ", which can not be read";
    }
    if (braces == 0 && (word == "FILE" || word == "AUDIOFILE" || word == "DATAFILE") && ++files > 1) {
      return "its track " + std::to_string(tracks) + " names more than one file";
    }
    if (braces == 0 && !in_track &&
        std::find(std::begin(kTrackStatements), std::end(kTrackStatements), word) != std::end(kTrackStatements)) {
      return "its " + word + " line comes before any TRACK";
    }
    braces += static_cast<int>(std::count(code.begin(), code.end(), '{') - std::count(code.begin(), code.end(), '}'));
    if (braces < 0) return "its braces do not match";
  }
  if (!in_track) return "it holds no tracks";
  return "";
}

// Bytes a TOC sheet's audio file must hold for its FILE or AUDIOFILE line:
// "#offset" in bytes, then the start and the length, each "m:s:f" or samples.
std::uint64_t toc_audio_bytes_needed(const std::vector<std::string>& words) {
  std::uint64_t needed = 0;
  std::size_t i = 0;
  if (!words.empty() && words[0][0] == '#') {
    needed += std::min<std::uint64_t>(std::strtoull(words[i++].c_str() + 1, nullptr, 10), std::uint64_t{1} << 48);
  }
  for (int value = 0; value < 2 && i < words.size(); ++value, ++i) {
    unsigned m = 0, s = 0, f = 0;
    if (std::sscanf(words[i].c_str(), "%u:%u:%u", &m, &s, &f) == 3) {
      needed += (std::uint64_t{m} * 60 * 75 + s * 75 + f) * 2352;
    } else {
      // Samples; a count beyond any disc must not wrap to a small size.
      needed += std::min<std::uint64_t>(std::strtoull(words[i].c_str(), nullptr, 10), std::uint64_t{1} << 48) * 4;
    }
  }
  return needed;
}

}  // namespace

std::string cd_image_damaged(const std::string& path, const std::string& why) {
  return "The CD image \"" + path + "\" is damaged: " + why + ".";
}

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
  if (!small_file(cue)) {
    *error = cd_image_damaged(cue, "it is too large for a CUE sheet");
    return "";
  }
  std::vector<std::string> lines = read_lines(cue);
  const std::vector<FileLine> files = file_lines(lines, {"FILE"});
  if (files.empty()) {
    *error = cd_image_damaged(cue, "it names no BIN file");
    return "";
  }
  if (files.size() > 1) {
    *error = "The CD image \"" + cue + "\" keeps its tracks in " + std::to_string(files.size()) +
             " files; only CUE sheets with a single BIN file can be read.";
    return "";
  }
  if (const std::string fault = cue_track_fault(lines, files[0].line_index); !fault.empty()) {
    *error = cd_image_damaged(cue, fault);
    return "";
  }
  const fs::path named(files[0].name);
  const fs::path bin = named.is_absolute() ? named : fs::path(cue).parent_path() / named;
  std::error_code failure;
  if (!fs::is_regular_file(bin, failure)) {
    *error = "The CD image \"" + cue + "\" names the file \"" + files[0].name + "\", which does not exist.";
    return "";
  }
  // A CD-Text file must be there (libcdio leaks on a missing one) and stay
  // reachable from a staged copy.
  bool text_file_relative = false;
  for (const FileLine& text : file_lines(lines, {"CDTEXTFILE"})) {
    const fs::path path =
        fs::path(text.name).is_absolute() ? fs::path(text.name) : fs::path(cue).parent_path() / text.name;
    if (!fs::is_regular_file(path, failure)) {
      *error = "The CD image \"" + cue + "\" names the file \"" + text.name + "\", which does not exist.";
      return "";
    }
    if (fs::path(text.name).is_absolute()) continue;
    text_file_relative = true;
    lines[text.line_index] = text.head + "\"" + fs::absolute(path, failure).string() + "\"" + text.rest;
  }
  const std::string expected = libcdio_bin_name(cue);
  if (!expected.empty() && same_file(expected, bin) && !text_file_relative) return cue;

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
  if (!small_file(toc)) {
    *error = cd_image_damaged(toc, "it is too large for a TOC sheet");
    return "";
  }
  std::vector<std::string> lines = read_lines(toc);
  if (const std::string fault = toc_track_fault(lines); !fault.empty()) {
    *error = cd_image_damaged(toc, fault);
    return "";
  }
  bool relative = false;
  std::error_code failure;
  const fs::path folder = fs::absolute(fs::path(toc).parent_path(), failure);
  for (const FileLine& file : file_lines(lines, {"FILE", "AUDIOFILE", "DATAFILE"})) {
    // libcdio's TOC reader leaks on a file that is empty or shorter than the sheet says.
    const fs::path path = fs::path(file.name).is_absolute() ? fs::path(file.name) : folder / file.name;
    if (!fs::is_regular_file(path, failure)) {
      *error = "The CD image \"" + toc + "\" names the file \"" + file.name + "\", which does not exist.";
      return "";
    }
    const std::uint64_t size = fs::file_size(path, failure);
    std::size_t keyword_end = 0;
    const bool audio = upper_word(lines[file.line_index], &keyword_end) != "DATAFILE";
    const std::uint64_t needed = audio ? toc_audio_bytes_needed(words_after(file.rest, 0)) : 0;
    if (failure || size == 0 || size < needed) {
      *error = cd_image_damaged(toc, "its file \"" + file.name + "\" is shorter than the sheet says");
      return "";
    }
    if (fs::path(file.name).is_absolute()) continue;
    relative = true;
    lines[file.line_index] = file.head + "\"" + path.string() + "\"" + file.rest;
  }
  if (!relative) return toc;
  if (!make_folder(toc, error) || !write("disc.toc", lines, toc, error)) return "";
  return dir_ + "/disc.toc";
}

}  // namespace audio
