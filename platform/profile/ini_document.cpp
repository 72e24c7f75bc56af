#include "platform/profile/ini_document.h"

#include <algorithm>

namespace profile {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The name between the brackets of a header line, or nothing when the line is
// not a header (a '[' without its ']' is kept as an ordinary unparsed line).
std::optional<std::string_view> header_name(std::string_view line) {
  line = trim_blanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim_blanks(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> key_line(std::string_view line) {
  const std::string_view t = trim_blanks(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view key = trim_blanks(t.substr(0, eq));
  if (key.empty()) return std::nullopt;
  return KeyLine{key, trim_blanks(t.substr(eq + 1))};
}

std::string make_line(std::string_view key, std::string_view value) {
  std::string line;
  line.reserve(key.size() + value.size() + 1);
  line.append(key).append("=").append(value);
  return line;
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
  bool first_line = true;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool terminated = end != std::string_view::npos;
    if (!terminated) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
      if (first_line && terminated) doc.eol_ = "\r\n";
    }
    first_line = false;
    if (header_name(line)) {
      doc.sections_.emplace_back();
      doc.sections_.back().header = line;
    } else {
      doc.sections_.back().lines.emplace_back(line);
    }
    start = end + 1;
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
  return key_line(s->lines[it->second])->value;
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  Section* s = find(section);
  if (!s) {
    sections_.emplace_back();
    s = &sections_.back();
    s->header = "[" + std::string(section) + "]";
    index_.emplace(fold(section), sections_.size() - 1);
  }
  std::string folded = fold(key);
  auto it = s->keys.find(folded);
  if (it != s->keys.end()) {
    std::string& line = s->lines[it->second];
    const KeyLine kl = *key_line(line);
    if (kl.value == value) return false;
    line = make_line(kl.key, value);
    return true;
  }
  // New keys go after the section's last non-blank line, so blank lines that
  // separate it from the next section stay at its end.
  std::size_t at = s->lines.size();
  while (at > 0 && trim_blanks(s->lines[at - 1]).empty()) --at;
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), make_line(key, value));
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
    total += s.header.size() + 2;
    for (const std::string& line : s.lines) total += line.size() + 2;
  }
  std::string out;
  out.reserve(total);
  for (const Section& s : sections_) {
    if (!s.header.empty()) out.append(s.header).append(eol_);
    for (const std::string& line : s.lines) out.append(line).append(eol_);
  }
  return out;
}

}  // namespace profile
