#pragma once
// The parsed profile files of this process, each kept until its file changes.
// Every call first compares the file's stamp on disk with the cached one, so a
// change made by another process is seen at the next call.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile/ini_document.h"

namespace profile {

std::optional<std::string> lookup(const std::string& path, std::string_view section, std::string_view key);
// Applies `edit` to the file's document and, when it reports a change, writes
// the file. False when the file cannot be read or written; the cached copy is
// then dropped, so it never differs from the disk.
bool update(const std::string& path, const std::function<bool(IniDocument&)>& edit);
// Forgets the cached copy of a file (after it is deleted).
void forget(const std::string& path);

}  // namespace profile
