#pragma once
// The program's resources as the window layer finds them: constant tables
// (menus, strings, accelerators, cursors, icons) installed by the resources
// library, and bitmaps looked up by name or number as PNG images.
//
// A bitmap "NAME" or number N is searched, first hit wins:
//   1. images registered in memory (register_bitmap),
//   2. each folder added with add_bitmap_folder: NAME.png or N.png,
//   3. the Qt resource folder ":/skin/": NAME.png or N.png.
// Decoded images are kept: a second load only shares the pixels.
#include <QImage>
#include <cstddef>
#include <string>

#include "platform/ui/windows.h"

namespace ui_resources {

// A resource name: a number, or a string (compared without regard to case).
struct ResourceId {
  WORD number = 0;
  const char* name = nullptr;
  constexpr ResourceId(WORD n) : number(n) {}
  constexpr ResourceId(const char* s) : name(s) {}
};

// One menu line. A popup line opens a submenu holding the following lines of
// a deeper level; separators have the flag MF_SEPARATOR.
struct MenuRow {
  int level;
  UINT id;
  const char* text;
  UINT flags;
};

struct MenuResource {
  ResourceId id;
  const MenuRow* rows;
  std::size_t count;
};

struct StringResource {
  UINT id;
  const char* text;
};

struct AcceleratorResource {
  ResourceId id;
  const ACCEL* rows;
  std::size_t count;
};

// A cursor or icon: an image (a resource path such as ":/skin/275.png")
// with its hot spot, or one of the platform's shapes by name ("arrow",
// "pointing-hand", "cross", "ibeam", "wait"); "a|b" takes the first of the
// alternatives that exists.
struct CursorResource {
  ResourceId id;
  const char* source;
  int hot_x;
  int hot_y;
};

// One control of a dialog template: class "BUTTON", "EDIT", "STATIC" or
// "LISTBOX", its text, identifier, style (WS_* | BS_*/ES_*/LBS_*) and pixel
// rectangle inside the dialog.
struct DialogControl {
  const char* cls;
  const char* text;
  int id;
  DWORD style;
  int x;
  int y;
  int cx;
  int cy;
};

struct DialogResource {
  ResourceId id;
  const char* caption;
  int cx;  // client size in pixels
  int cy;
  const DialogControl* controls;
  std::size_t count;
};

struct ResourceTables {
  const MenuResource* menus = nullptr;
  std::size_t menu_count = 0;
  const StringResource* strings = nullptr;
  std::size_t string_count = 0;
  const AcceleratorResource* accelerators = nullptr;
  std::size_t accelerator_count = 0;
  const CursorResource* cursors = nullptr;
  std::size_t cursor_count = 0;
  const CursorResource* icons = nullptr;
  std::size_t icon_count = 0;
  const DialogResource* dialogs = nullptr;
  std::size_t dialog_count = 0;
};

// Makes these tables the program's resources (replacing earlier ones).
void install(const ResourceTables& tables);
const ResourceTables& installed();

void add_bitmap_folder(const std::string& folder);
void register_bitmap(LPCSTR name_or_number, const QImage& image);
void forget_bitmaps();  // registered images, folders and the decoded cache

// The bitmap for a resource name, or a null image.
QImage find_bitmap(LPCSTR name_or_number);

}  // namespace ui_resources
