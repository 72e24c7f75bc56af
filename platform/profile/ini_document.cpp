#include "platform/profile/ini_document.h"

#include <algorithm>

namespace profile {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Lines are held with their own line ending, so that a rewrite gives back every
// line it did not change byte for byte, also in files that mix LF and CRLF.
std::string_view ending_of(std::string_view raw) {
  std::size_t n = 0;
  if (!raw.empty() && raw.back() == '\n') ++n;
  if (raw.size() > n && raw[raw.size() - n - 1] == '\r') ++n;
  return raw.substr(raw.size() - n);
}

std::string_view body_of(std::string_view raw) { return raw.substr(0, raw.size() - ending_of(raw).size()); }

// The name between the brackets of a header line, or nothing when the line is
// not a header (a '[' without its ']' is kept as an ordinary unparsed line).
std::optional<std::string_view> header_name(std::string_view raw) {
  const std::string_view line = trim_blanks(body_of(raw));
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim_blanks(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;  // as stored: without surrounding blanks, still quoted
};

std::optional<KeyLine> key_line(std::string_view raw) {
  const std::string_view t = trim_blanks(body_of(raw));
  if (t.empty() || t.front() == ';') return std::nullopt;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view key = trim_blanks(t.substr(0, eq));
  if (key.empty()) return std::nullopt;
  return KeyLine{key, trim_blanks(t.substr(eq + 1))};
}

bool quoted(std::string_view v) { return v.size() >= 2 && v.front() == '"' && v.back() == '"'; }

// Blanks around a stored value are not part of it (hand-written "key = value"),
// so a value whose own edges are blanks is written in double quotes; one pair of
// surrounding quotes is taken off on reading, so a value that is itself quoted
// is quoted once more.
std::string_view unquote(std::string_view stored) {
  return quoted(stored) ? stored.substr(1, stored.size() - 2) : stored;
}

std::string make_line(std::string_view key, std::string_view value, std::string_view ending) {
  const bool quote = quoted(value) || (!value.empty() && (is_blank(value.front()) || is_blank(value.back())));
  std::string line;
  line.reserve(key.size() + value.size() + ending.size() + 3);
  line.append(key).append("=");
  if (quote) line.append("\"");
  line.append(value);
  if (quote) line.append("\"");
  return line.append(ending);
}

}  // namespace

std::string fold(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

void IniDocument::Section::index_keys() {
  keys.clear();
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (auto kl = key_line(lines[i])) keys.emplace(fold(kl->key), i);
}

void IniDocument::index_sections() {
  index_.clear();
  for (std::size_t i = 1; i < sections_.size(); ++i)
    index_.emplace(fold(*header_name(sections_[i].header)), i);
}

IniDocument IniDocument::parse(std::string_view text) {
  IniDocument doc;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t newline = text.find('\n', start);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    const std::string_view line = text.substr(start, end - start);
    // New lines take the ending of the file's first line.
    if (start == 0 && ending_of(line) == "\r\n") doc.eol_ = "\r\n";
    if (header_name(line)) {
      doc.sections_.emplace_back();
      doc.sections_.back().header = line;
    } else {
      doc.sections_.back().lines.emplace_back(line);
    }
    start = end;
  }
  for (Section& s : doc.sections_) s.index_keys();
  doc.index_sections();
  return doc;
}

IniDocument::Section* IniDocument::find(std::string_view section) {
  auto it = index_.find(fold(section));
  return it == index_.end() ? nullptr : &sections_[it->second];
}

const IniDocument::Section* IniDocument::find(std::string_view section) const {
  auto it = index_.find(fold(section));
  return it == index_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string_view> IniDocument::get(std::string_view section, std::string_view key) const {
  const Section* s = find(section);
  if (!s) return std::nullopt;
  auto it = s->keys.find(fold(key));
  if (it == s->keys.end()) return std::nullopt;
  return unquote(key_line(s->lines[it->second])->value);
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  Section* s = find(section);
  if (!s) {
    sections_.emplace_back();
    s = &sections_.back();
    s->header = "[" + std::string(section) + "]" + eol_;
    index_.emplace(fold(section), sections_.size() - 1);
  }
  std::string folded = fold(key);
  auto it = s->keys.find(folded);
  if (it != s->keys.end()) {
    std::string& line = s->lines[it->second];
    const KeyLine kl = *key_line(line);
    if (unquote(kl.value) == value) return false;
    line = make_line(kl.key, value, ending_of(line));
    return true;
  }
  // New keys go after the section's last non-blank line, so blank lines that
  // separate it from the next section stay at its end.
  std::size_t at = s->lines.size();
  while (at > 0 && trim_blanks(body_of(s->lines[at - 1])).empty()) --at;
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), make_line(key, value, eol_));
  if (at + 1 < s->lines.size())
    for (auto& entry : s->keys)
      if (entry.second >= at) ++entry.second;
  s->keys.emplace(std::move(folded), at);
  return true;
}

bool IniDocument::remove_key(std::string_view section, std::string_view key) {
  Section* s = find(section);
  if (!s) return false;
  const std::string folded = fold(key);
  const auto before = s->lines.size();
  std::erase_if(s->lines, [&](const std::string& line) {
    auto kl = key_line(line);
    return kl && fold(kl->key) == folded;
  });
  if (s->lines.size() == before) return false;
  s->index_keys();
  return true;
}

bool IniDocument::remove_section(std::string_view section) {
  const std::string folded = fold(section);
  const auto before = sections_.size();
  auto doomed = std::remove_if(sections_.begin() + 1, sections_.end(),
                               [&](const Section& s) { return fold(*header_name(s.header)) == folded; });
  sections_.erase(doomed, sections_.end());
  if (sections_.size() == before) return false;
  index_sections();
  return true;
}

bool IniDocument::empty() const { return sections_.size() == 1 && sections_[0].lines.empty(); }

std::string IniDocument::serialize() const {
  std::size_t total = 0;
  for (const Section& s : sections_) {
    total += s.header.size();
    for (const std::string& line : s.lines) total += line.size();
  }
  std::string out;
  out.reserve(total + 2);
  // Only the file's last line may lack its ending; it gets one when a line now follows it.
  auto append = [&](const std::string& line) {
    if (!out.empty() && out.back() != '\n') out.append(out.back() == '\r' ? "\n" : eol_);
    out.append(line);
  };
  for (const Section& s : sections_) {
    if (!s.header.empty()) append(s.header);
    for (const std::string& line : s.lines) append(line);
  }
  return out;
}

}  // namespace profile
