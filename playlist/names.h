#pragma once
// What the playlist store can hold whole and read back unchanged: playlist
// names (used as section names, so the INI syntax's own characters and the
// store's section names are refused) and entry paths (at most 127 characters,
// one line). Each check returns why a text is refused, or an empty string.
#include <string>
#include <string_view>

std::string why_name_refused(std::string_view name);
std::string why_path_refused(std::string_view path);
// Whole-name comparison without regard to ASCII letter case, as the profile
// functions compare section names.
bool same_name(std::string_view a, std::string_view b);
