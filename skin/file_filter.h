#pragma once
// The file dialogs' filters, kept as string resources.
#include <string>

#include "platform/wintypes.h"

// A filter string resource with its separators (its last character) turned into
// NULs: the dialogs' list of description and pattern pairs, each ended by a NUL
// (c_str() adds the closing one). Empty when there is no such resource.
std::string load_file_filter(WORD id);
