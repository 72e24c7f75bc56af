#pragma once
// One INI file held in memory line by line, so that a rewrite keeps every line
// it does not change (comments, blank lines, junk) byte for byte, line ending
// included. Values round-trip exactly: set() quotes a value that needs it and
// get() gives back what set() was given.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace profile {

class IniDocument {
 public:
  IniDocument() : sections_(1) {}
  static IniDocument parse(std::string_view text);

  // The value of the first matching key in the first matching section, without
  // the blanks around it and then without one pair of double quotes around it;
  // names match without regard to ASCII case.
  std::optional<std::string_view> get(std::string_view section, std::string_view key) const;
  // Each returns whether the document changed.
  bool set(std::string_view section, std::string_view key, std::string_view value);
  bool remove_key(std::string_view section, std::string_view key);
  bool remove_section(std::string_view section);

  std::string serialize() const;
  // True when the document holds no line at all.
  bool empty() const;

 private:
  struct Section {
    std::string header;               // the raw "[name]" line with its ending; empty for lines before the first header
    std::vector<std::string> lines;   // raw lines up to the next header, each with its ending
    std::unordered_map<std::string, std::size_t> keys;  // folded key -> first line holding it
    void index_keys();
  };

  Section* find(std::string_view section);
  const Section* find(std::string_view section) const;
  void index_sections();

  std::vector<Section> sections_;  // sections_[0] always exists and holds the lines before the first header
  std::unordered_map<std::string, std::size_t> index_;  // folded name -> first section
  const char* eol_ = "\n";  // the ending of new lines: that of the file's first line
};

// ASCII lower case, for comparing names.
std::string fold(std::string_view s);
std::string_view trim_blanks(std::string_view s);

}  // namespace profile
