#pragma once
// GDI objects and device contexts behind the Win32 handles.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QVector>
#include <optional>
#include <vector>

#include "platform/ui/ui_internal.h"

namespace ui_detail {

struct GdiObject {
  enum class Type { Bitmap, Brush, Pen, Font, Palette };
  explicit GdiObject(Type t) : type(t) {}
  virtual ~GdiObject() = default;
  Type type;
  bool stock = false;
  int selections = 0;            // device contexts it is selected into
  bool delete_pending = false;   // DeleteObject while selected: freed on deselection
};

struct Bitmap : GdiObject {
  Bitmap() : GdiObject(Type::Bitmap) {}
  QImage image;                // Format_RGB32; shares pixels with the decoded cache until drawn into
  QVector<QRgb> color_table;  // of an indexed source image, for GetDIBColorTable
};

struct Brush : GdiObject {
  Brush() : GdiObject(Type::Brush) {}
  QColor color;
  bool hollow = false;
};

struct Pen : GdiObject {
  Pen() : GdiObject(Type::Pen) {}
  int style = PS_SOLID;
  int width = 1;
  QColor color;
};

struct Font : GdiObject {
  Font() : GdiObject(Type::Font) {}
  QFont font;
};

struct Palette : GdiObject {
  Palette() : GdiObject(Type::Palette) {}
  std::vector<PALETTEENTRY> entries;
};

struct DeviceContext {
  HWND window = nullptr;  // window DC: draws into the window's top-level back buffer
  bool memory = false;    // memory DC: draws into its selected bitmap
  bool desktop = false;   // the screen: nothing to draw into
  bool paint = false;     // from BeginPaint
  QRect clip;             // window DC: client area of the window (and update rect) in buffer coordinates
  Bitmap* bitmap = nullptr;
  Brush* brush = nullptr;
  Pen* pen = nullptr;
  Font* font = nullptr;
  Palette* palette = nullptr;
  COLORREF text_color = 0x000000;
  COLORREF bk_color = 0xFFFFFF;
  int bk_mode = OPAQUE;
  UINT text_align = TA_LEFT | TA_TOP;
  QPoint position;
};

DeviceContext* find_dc(HDC hdc);
GdiObject* find_object(HGDIOBJ h);
template <typename T>
T* find_object_as(HGDIOBJ h, GdiObject::Type type) {
  GdiObject* o = find_object(h);
  return o && o->type == type ? static_cast<T*>(o) : nullptr;
}
HGDIOBJ add_object(std::unique_ptr<GdiObject> obj);
HDC create_window_dc(Window* w, bool paint, const QRect& paint_rect);
HDC create_desktop_dc();

// Where a DC draws: the image, the offset of DC coordinates inside it and the
// clip rectangle (image coordinates). Empty when the DC cannot draw.
struct Target {
  QImage* image = nullptr;
  QPoint origin;
  QRect clip;
  explicit operator bool() const { return image != nullptr; }
};
Target target_of(DeviceContext* dc);
// Called after drawing into dc's target: shows a window's changed pixels.
void target_changed(DeviceContext* dc, const QRect& image_rect);
// A painter on a DC's target, clipped and translated to DC coordinates.
void begin_painter(QPainter& p, const Target& t);

QColor to_qcolor(COLORREF c);
COLORREF to_colorref(QRgb c);
Font* default_font();

}  // namespace ui_detail
