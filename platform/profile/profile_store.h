#pragma once
// The parsed profile files of this process, each kept until its file changes.
// Every call first compares the file's stamp on disk with the cached one, so a
// change made by another process is seen at the next call. While a batch is
// open on a file, its cached copy is the truth and the disk is written once,
// when the batch ends.
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
// Deletes the file; false when there was none or it could not be removed.
bool remove_file(const std::string& path);

// Batches nest; only the outermost end writes. begin_batch is false when the
// file cannot be read (writes then fail one by one as usual); end_batch is
// false when the file could not be written, in which case it is left as it was
// before the batch.
bool begin_batch(const std::string& path);
bool end_batch(const std::string& path);

}  // namespace profile
