#pragma once
// Time values as they stand in command strings and replies: decimal milliseconds,
// "mm:ss:ff" (MSF) or "tt:mm:ss:ff" (TMSF), packed as the command messages carry them.
#include <string>

#include "platform/mci/mmsystem.h"

namespace mci {

// Fewer fields than the format has are allowed, leftmost first ("3" is track 3 in TMSF).
MCIERROR parse_time(const std::string& text, DWORD format, DWORD* value);
std::string format_time(DWORD value, DWORD format);
const char* time_format_name(DWORD format);
// "milliseconds" / "ms", "msf", "tmsf".
bool time_format_from_name(const std::string& name, DWORD* format);

}  // namespace mci
