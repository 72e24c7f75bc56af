#include "platform/profile/profile.h"

#include <climits>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/profile/ini_document.h"
#include "platform/profile/profile_path.h"
#include "platform/profile/profile_store.h"

namespace {

bool has_line_break(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Names and values that would read back as something else, or split the line,
// are refused rather than written.
bool valid_section(std::string_view s) { return !has_line_break(s) && s.find(']') == std::string_view::npos; }
bool valid_key(std::string_view k) {
  return !k.empty() && !has_line_break(k) && k.find('=') == std::string_view::npos && k.front() != '[' &&
         k.front() != ';';
}

DWORD copy_out(std::string_view text, LPSTR buf, DWORD size) {
  if (!buf || size == 0) return 0;
  const DWORD n = static_cast<DWORD>(std::min<std::size_t>(text.size(), size - 1));
  std::memcpy(buf, text.data(), n);
  buf[n] = '\0';
  return n;
}

// Optional sign and leading decimal digits; saturates instead of overflowing.
INT leading_integer(std::string_view s) {
  s = profile::trim_blanks(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  long long n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    n = std::min<long long>(n * 10 + (c - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  if (negative) return static_cast<INT>(-n);
  return static_cast<INT>(std::min<long long>(n, INT_MAX));
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buf, DWORD size, LPCSTR file) {
  std::optional<std::string> value;
  if (section && key && file)
    value = profile::lookup(profile::resolve_path(file), profile::trim_blanks(section), profile::trim_blanks(key));
  return copy_out(value ? std::string_view(*value) : std::string_view(def ? def : ""), buf, size);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT def, LPCSTR file) {
  if (!section || !key || !file) return static_cast<UINT>(def);
  auto value = profile::lookup(profile::resolve_path(file), profile::trim_blanks(section), profile::trim_blanks(key));
  return static_cast<UINT>(value ? leading_integer(*value) : def);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  if (!section || !file) return FALSE;
  const std::string_view s = profile::trim_blanks(section);
  if (!valid_section(s)) return FALSE;
  const std::string path = profile::resolve_path(file);
  if (!key) return profile::update(path, [&](profile::IniDocument& doc) { return doc.remove_section(s); });
  const std::string_view k = profile::trim_blanks(key);
  if (!valid_key(k)) return FALSE;
  if (!value) return profile::update(path, [&](profile::IniDocument& doc) { return doc.remove_key(s, k); });
  // The value is stored as given, edge blanks included (a list of numbers may
  // start with one); the document quotes it where it must.
  const std::string_view v = value;
  if (has_line_break(v)) return FALSE;
  return profile::update(path, [&](profile::IniDocument& doc) { return doc.set(s, k, v); });
}
