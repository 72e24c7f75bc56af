#pragma once
// The old-style Open dialog with a hook procedure and/or a custom template
// (see the common file dialogs in windows.h). GUI thread only.
#include <optional>
#include <string>

#include "platform/ui/file_choice.h"

namespace ui_detail {
// The chosen path (checked), empty when cancelled or ended by the hook, or
// nullopt when the template named does not exist.
std::optional<std::string> run_old_style_open(FileRequest& request);
}  // namespace ui_detail
