// Accelerator tables: virtual-key rows turn a key press into WM_COMMAND.
#include <unordered_map>
#include <vector>

#include "platform/ui/resource_lookup.h"
#include "platform/ui/ui_internal.h"

using namespace ui_detail;

namespace {

struct AcceleratorTable {
  std::vector<ACCEL> rows;
};

std::unordered_map<AcceleratorTable*, std::unique_ptr<AcceleratorTable>>& tables_loaded() {
  static std::unordered_map<AcceleratorTable*, std::unique_ptr<AcceleratorTable>> t;
  return t;
}

bool modifiers_match(BYTE flags, Qt::KeyboardModifiers mods) {
  return ((flags & FSHIFT) != 0) == mods.testFlag(Qt::ShiftModifier) &&
         ((flags & FCONTROL) != 0) == mods.testFlag(Qt::ControlModifier) &&
         ((flags & FALT) != 0) == mods.testFlag(Qt::AltModifier);
}

}  // namespace

HACCEL LoadAcceleratorsA(HINSTANCE, LPCSTR name) {
  const auto& t = ui_resources::tables();
  for (std::size_t i = 0; i < t.accelerator_count; ++i) {
    const auto& res = t.accelerators[i];
    if (!ui_resources::matches(res.id, name)) continue;
    auto table = std::make_unique<AcceleratorTable>();
    table->rows.assign(res.rows, res.rows + res.count);
    AcceleratorTable* raw = table.get();
    tables_loaded().emplace(raw, std::move(table));
    return reinterpret_cast<HACCEL>(raw);
  }
  return nullptr;
}

// Only virtual-key rows are used by this program; character rows never match.
int TranslateAcceleratorA(HWND hwnd, HACCEL haccel, LPMSG msg) {
  auto it = tables_loaded().find(reinterpret_cast<AcceleratorTable*>(haccel));
  if (it == tables_loaded().end() || !msg || !find_window(hwnd)) return 0;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return 0;
  Qt::KeyboardModifiers mods = current_modifiers();
  for (const ACCEL& row : it->second->rows) {
    if (!(row.fVirt & FVIRTKEY) || row.key != msg->wParam || !modifiers_match(row.fVirt, mods)) continue;
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(row.cmd, 1), 0);
    return 1;
  }
  return 0;
}
