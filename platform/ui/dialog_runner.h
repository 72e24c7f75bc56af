#pragma once
// Runs a modal dialog from a list of controls: DialogBoxParamA runs the
// templates of the resource tables through it, the old-style Open dialog its
// own composed layout. GUI thread only; returns when EndDialog was called.
#include <string>
#include <vector>

#include "platform/ui/resources.h"

namespace ui_detail {

struct DialogLayout {
  std::string caption;
  int cx = 0;  // client size in pixels
  int cy = 0;
  std::vector<ui_resources::DialogControl> controls;
};

const ui_resources::DialogResource* find_dialog_template(LPCSTR name);
DialogLayout layout_of(const ui_resources::DialogResource& tpl);
// The dialog's result from EndDialog, or -1 when it could not be made.
INT_PTR run_dialog(const DialogLayout& layout, HWND owner, DLGPROC proc, LPARAM param);

}  // namespace ui_detail
