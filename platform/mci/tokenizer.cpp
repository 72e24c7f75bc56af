#include "platform/mci/tokenizer.h"

#include <cctype>
#include <strings.h>

namespace mci {

namespace {
bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

MCIERROR tokenize(const std::string& command, std::vector<Word>* words) {
  words->clear();
  std::size_t i = 0;
  const std::size_t n = command.size();
  while (i < n) {
    if (is_blank(command[i])) {
      ++i;
      continue;
    }
    Word word;
    if (command[i] == '"') {
      const std::size_t close = command.find('"', i + 1);
      if (close == std::string::npos) return MCIERR_NO_CLOSING_QUOTE;
      word.text = command.substr(i + 1, close - i - 1);
      word.quoted = true;
      i = close + 1;
      if (i < n && !is_blank(command[i])) return MCIERR_EXTRA_CHARACTERS;
    } else {
      const std::size_t start = i;
      while (i < n && !is_blank(command[i])) ++i;
      word.text = command.substr(start, i - start);
    }
    words->push_back(std::move(word));
  }
  return 0;
}

bool same_word(const std::string& a, const char* keyword) { return strcasecmp(a.c_str(), keyword) == 0; }

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace mci
