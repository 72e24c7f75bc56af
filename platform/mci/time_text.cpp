#include "platform/mci/time_text.h"

#include <cstdio>
#include <vector>

#include "platform/mci/tokenizer.h"

namespace mci {

namespace {

bool parse_unsigned(const std::string& text, unsigned long long limit, unsigned long long* value) {
  if (text.empty() || text.size() > 10) return false;
  unsigned long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<unsigned>(c - '0');
  }
  if (v > limit) return false;
  *value = v;
  return true;
}

struct FormatName {
  DWORD format;
  const char* name;
};
constexpr FormatName kFormatNames[] = {
    {MCI_FORMAT_MILLISECONDS, "milliseconds"},
    {MCI_FORMAT_MILLISECONDS, "ms"},
    {MCI_FORMAT_MSF, "msf"},
    {MCI_FORMAT_TMSF, "tmsf"},
};

}  // namespace

MCIERROR parse_time(const std::string& text, DWORD format, DWORD* value) {
  if (format == MCI_FORMAT_MILLISECONDS) {
    unsigned long long v;
    if (!parse_unsigned(text, 0xFFFFFFFFull, &v)) return MCIERR_BAD_INTEGER;
    *value = static_cast<DWORD>(v);
    return 0;
  }
  const std::size_t fields = format == MCI_FORMAT_TMSF ? 4 : 3;
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t colon = text.find(':', start);
    parts.push_back(text.substr(start, colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  if (parts.size() > fields) return MCIERR_BAD_INTEGER;
  DWORD packed = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    unsigned long long v;
    if (!parse_unsigned(parts[i], 255, &v)) return MCIERR_BAD_INTEGER;
    packed |= static_cast<DWORD>(v) << (8 * i);
  }
  *value = packed;
  return 0;
}

std::string format_time(DWORD value, DWORD format) {
  char text[32];
  if (format == MCI_FORMAT_TMSF) {
    std::snprintf(text, sizeof text, "%02u:%02u:%02u:%02u", MCI_TMSF_TRACK(value), MCI_TMSF_MINUTE(value),
                  MCI_TMSF_SECOND(value), MCI_TMSF_FRAME(value));
  } else if (format == MCI_FORMAT_MSF) {
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", MCI_MSF_MINUTE(value), MCI_MSF_SECOND(value),
                  MCI_MSF_FRAME(value));
  } else {
    std::snprintf(text, sizeof text, "%u", value);
  }
  return text;
}

const char* time_format_name(DWORD format) {
  for (const FormatName& row : kFormatNames) {
    if (row.format == format) return row.name;
  }
  return "unknown";
}

bool time_format_from_name(const std::string& name, DWORD* format) {
  for (const FormatName& row : kFormatNames) {
    if (same_word(name, row.name)) {
      *format = row.format;
      return true;
    }
  }
  return false;
}

}  // namespace mci
