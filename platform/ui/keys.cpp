// Virtual-key codes for Qt keys, and the modifier state of the last key event.
#include <Qt>

#include "platform/ui/ui_internal.h"

namespace ui_detail {
namespace {

struct KeyRow {
  int qt;
  WPARAM vk;
};

constexpr KeyRow kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Shift, VK_SHIFT},   {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},       {Qt::Key_Pause, VK_PAUSE},   {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},    {Qt::Key_PageUp, VK_PRIOR},  {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},        {Qt::Key_Home, VK_HOME},     {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},          {Qt::Key_Right, VK_RIGHT},   {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},  {Qt::Key_Delete, VK_DELETE},
};

Qt::KeyboardModifiers& modifiers() {
  static Qt::KeyboardModifiers m;
  return m;
}

}  // namespace

WPARAM virtual_key_from_qt(int key) {
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + static_cast<WPARAM>(key - Qt::Key_F1);
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
    return static_cast<WPARAM>(key);  // digits and letters share their codes
  for (const auto& row : kKeys)
    if (row.qt == key) return row.vk;
  return 0;
}

int qt_key_from_virtual(WPARAM vk) {
  if (vk >= VK_F1 && vk <= VK_F1 + 23) return Qt::Key_F1 + static_cast<int>(vk - VK_F1);
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return static_cast<int>(vk);
  for (const auto& row : kKeys)
    if (row.vk == vk) return row.qt;
  return 0;
}

void note_modifiers(Qt::KeyboardModifiers mods) { modifiers() = mods; }
Qt::KeyboardModifiers current_modifiers() { return modifiers(); }

}  // namespace ui_detail
