#pragma once
// Splits an MCI command string into words: blanks separate, double quotes keep
// blanks inside one word (a path) and are removed.
#include <string>
#include <vector>

#include "platform/mci/mmsystem.h"

namespace mci {

struct Word {
  std::string text;
  bool quoted = false;  // a quoted word is never a keyword
};

// 0, or MCIERR_NO_CLOSING_QUOTE / MCIERR_EXTRA_CHARACTERS.
MCIERROR tokenize(const std::string& command, std::vector<Word>* words);

// Keywords compare without case.
bool same_word(const std::string& a, const char* keyword);
std::string lower(std::string text);

}  // namespace mci
