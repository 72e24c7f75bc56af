#pragma once
// The straightforward profile implementation the service is measured against:
// every call reads and scans the whole file, every write rewrites it durably.
#include <string>

namespace naive {
std::string read(const std::string& path, const std::string& section, const std::string& key, const std::string& def);
int read_int(const std::string& path, const std::string& section, const std::string& key, int def);
bool write(const std::string& path, const std::string& section, const std::string& key, const std::string& value);
// Temporary file, fsync, rename, fsync of the folder: the cost floor of any
// write that is durable when it returns.
bool replace_durably(const std::string& path, const std::string& data);
}  // namespace naive
