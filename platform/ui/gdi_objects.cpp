// Handles of GDI objects and device contexts; selection and deletion.
#include <QGuiApplication>
#include <QScreen>
#include <unordered_map>
#include <unordered_set>

#include "platform/ui/gdi_internal.h"

namespace ui_detail {
namespace {

std::unordered_map<GdiObject*, std::unique_ptr<GdiObject>>& objects() {
  static std::unordered_map<GdiObject*, std::unique_ptr<GdiObject>> o;
  return o;
}

std::unordered_map<DeviceContext*, std::unique_ptr<DeviceContext>>& dcs() {
  static std::unordered_map<DeviceContext*, std::unique_ptr<DeviceContext>> d;
  return d;
}

template <typename T>
T* make_stock(std::unique_ptr<T> obj) {
  obj->stock = true;
  T* raw = obj.get();
  objects().emplace(raw, std::move(obj));
  return raw;
}

Brush* stock_brush(QColor c, bool hollow = false) {
  auto b = std::make_unique<Brush>();
  b->color = c;
  b->hollow = hollow;
  return make_stock(std::move(b));
}

Pen* stock_pen(QColor c, int style = PS_SOLID) {
  auto p = std::make_unique<Pen>();
  p->color = c;
  p->style = style;
  return make_stock(std::move(p));
}

struct StockObjects {
  GdiObject* table[DEFAULT_GUI_FONT + 1] = {};
  Bitmap* one_pixel = nullptr;  // what a fresh memory DC holds
  StockObjects() {
    table[WHITE_BRUSH] = stock_brush(Qt::white);
    table[LTGRAY_BRUSH] = stock_brush(QColor(192, 192, 192));
    table[GRAY_BRUSH] = stock_brush(QColor(128, 128, 128));
    table[DKGRAY_BRUSH] = stock_brush(QColor(64, 64, 64));
    table[BLACK_BRUSH] = stock_brush(Qt::black);
    table[NULL_BRUSH] = stock_brush(Qt::black, true);
    table[WHITE_PEN] = stock_pen(Qt::white);
    table[BLACK_PEN] = stock_pen(Qt::black);
    table[NULL_PEN] = stock_pen(Qt::black, PS_NULL);
    auto system = std::make_unique<Font>();
    system->font.setPixelSize(13);
    Font* sys = make_stock(std::move(system));
    auto fixed = std::make_unique<Font>();
    fixed->font = QFont("Monospace");
    fixed->font.setStyleHint(QFont::Monospace);
    fixed->font.setPixelSize(13);
    Font* mono = make_stock(std::move(fixed));
    table[OEM_FIXED_FONT] = mono;
    table[ANSI_FIXED_FONT] = mono;
    table[ANSI_VAR_FONT] = sys;
    table[SYSTEM_FONT] = sys;
    table[DEFAULT_GUI_FONT] = sys;
    table[DEFAULT_PALETTE] = make_stock(std::make_unique<Palette>());
    auto bmp = std::make_unique<Bitmap>();
    bmp->image = QImage(1, 1, QImage::Format_RGB32);
    bmp->image.fill(Qt::black);
    one_pixel = make_stock(std::move(bmp));
  }
};

StockObjects& stock() {
  static StockObjects s;
  return s;
}

void free_if_pending(GdiObject* o) {
  if (o && o->delete_pending && o->selections == 0) objects().erase(o);
}

template <typename T>
void reselect(T*& slot, T* obj) {
  T* old = slot;
  slot = obj;
  ++obj->selections;
  if (old) {
    --old->selections;
    free_if_pending(old);
  }
}

DeviceContext* new_dc() {
  auto dc = std::make_unique<DeviceContext>();
  auto& s = stock();
  DeviceContext* raw = dc.get();
  dcs().emplace(raw, std::move(dc));
  reselect(raw->brush, static_cast<Brush*>(s.table[WHITE_BRUSH]));
  reselect(raw->pen, static_cast<Pen*>(s.table[BLACK_PEN]));
  reselect(raw->font, static_cast<Font*>(s.table[SYSTEM_FONT]));
  reselect(raw->palette, static_cast<Palette*>(s.table[DEFAULT_PALETTE]));
  return raw;
}

}  // namespace

DeviceContext* find_dc(HDC hdc) {
  auto* dc = reinterpret_cast<DeviceContext*>(hdc);
  return dcs().count(dc) ? dc : nullptr;
}

GdiObject* find_object(HGDIOBJ h) {
  stock();
  auto* o = static_cast<GdiObject*>(h);
  auto it = objects().find(o);
  return it == objects().end() || o->delete_pending ? nullptr : o;
}

HGDIOBJ add_object(std::unique_ptr<GdiObject> obj) {
  stock();
  GdiObject* raw = obj.get();
  objects().emplace(raw, std::move(obj));
  return raw;
}

Font* default_font() { return static_cast<Font*>(stock().table[SYSTEM_FONT]); }

HDC create_window_dc(Window* w, bool paint, const QRect& paint_rect) {
  Window* top = top_level_of(w);
  if (!top) return nullptr;
  DeviceContext* dc = new_dc();
  dc->window = w->handle;
  dc->paint = paint;
  QPoint origin = offset_in_top(w);
  dc->clip = QRect(origin, w->client.size());
  if (paint) dc->clip &= paint_rect.translated(origin);
  return reinterpret_cast<HDC>(dc);
}

HDC create_desktop_dc() {
  DeviceContext* dc = new_dc();
  dc->desktop = true;
  return reinterpret_cast<HDC>(dc);
}

Target target_of(DeviceContext* dc) {
  Target t;
  if (!dc) return t;
  if (dc->memory) {
    if (!dc->bitmap) return t;
    t.image = &dc->bitmap->image;
    t.clip = dc->bitmap->image.rect();
    return t;
  }
  if (dc->window) {
    Window* w = find_window(dc->window);
    Window* top = top_level_of(w);
    if (!w || !top || top->buffer.isNull()) return t;
    t.image = &top->buffer;
    t.origin = offset_in_top(w);
    t.clip = dc->clip & top->buffer.rect();
  }
  return t;
}

void target_changed(DeviceContext* dc, const QRect& image_rect) {
  if (!dc || !dc->window) return;
  Window* top = top_level_of(find_window(dc->window));
  if (top) mark_dirty(top, image_rect);
}

void begin_painter(QPainter& p, const Target& t) {
  p.begin(t.image);
  p.setClipRect(t.clip);
  p.translate(t.origin);
}

QColor to_qcolor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
COLORREF to_colorref(QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); }

}  // namespace ui_detail

using namespace ui_detail;

HDC CreateCompatibleDC(HDC) {
  DeviceContext* dc = new_dc();
  dc->memory = true;
  reselect(dc->bitmap, stock().one_pixel);
  return reinterpret_cast<HDC>(dc);
}

BOOL DeleteDC(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return FALSE;
  GdiObject* held[] = {dc->bitmap, dc->brush, dc->pen, dc->font, dc->palette};
  dcs().erase(dc);
  for (GdiObject* o : held) {
    if (!o) continue;
    --o->selections;
    free_if_pending(o);
  }
  return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  DeviceContext* dc = find_dc(hdc);
  GdiObject* o = find_object(h);
  if (!dc || !o) return nullptr;
  HGDIOBJ previous = nullptr;
  switch (o->type) {
    case GdiObject::Type::Bitmap:
      if (!dc->memory) return nullptr;  // only memory DCs take bitmaps
      previous = dc->bitmap;
      reselect(dc->bitmap, static_cast<Bitmap*>(o));
      break;
    case GdiObject::Type::Brush:
      previous = dc->brush;
      reselect(dc->brush, static_cast<Brush*>(o));
      break;
    case GdiObject::Type::Pen:
      previous = dc->pen;
      reselect(dc->pen, static_cast<Pen*>(o));
      break;
    case GdiObject::Type::Font:
      previous = dc->font;
      reselect(dc->font, static_cast<Font*>(o));
      break;
    case GdiObject::Type::Palette:
      return nullptr;  // palettes go through SelectPalette
  }
  return previous;
}

BOOL DeleteObject(HGDIOBJ h) {
  GdiObject* o = find_object(h);
  if (!o) return FALSE;
  if (o->stock) return TRUE;
  if (o->selections > 0) {
    o->delete_pending = true;
    return TRUE;
  }
  objects().erase(o);
  return TRUE;
}

HGDIOBJ GetStockObject(int i) {
  if (i < 0 || i > DEFAULT_GUI_FONT) return nullptr;
  return stock().table[i];
}

int GetObjectA(HANDLE h, int c, LPVOID pv) {
  GdiObject* o = find_object(h);
  if (!o) return 0;
  if (o->type != GdiObject::Type::Bitmap) return 0;
  if (!pv) return sizeof(BITMAP);
  if (c < static_cast<int>(sizeof(BITMAP))) return 0;
  const QImage& img = static_cast<Bitmap*>(o)->image;
  BITMAP bm{0, img.width(), img.height(), img.width() * 4, 1, 32, nullptr};
  *static_cast<BITMAP*>(pv) = bm;
  return sizeof(BITMAP);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto b = std::make_unique<Brush>();
  b->color = to_qcolor(color);
  return static_cast<HBRUSH>(add_object(std::move(b)));
}

HPEN CreatePen(int style, int width, COLORREF color) {
  auto p = std::make_unique<Pen>();
  p->style = style;
  p->width = std::max(1, width);
  p->color = to_qcolor(color);
  return static_cast<HPEN>(add_object(std::move(p)));
}

int GetDeviceCaps(HDC, int index) {
  QScreen* screen = QGuiApplication::primaryScreen();
  switch (index) {
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    case HORZRES:
      return screen ? screen->geometry().width() : 800;
    case VERTRES:
      return screen ? screen->geometry().height() : 600;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case NUMCOLORS:
      return -1;
    case RASTERCAPS:
      return RC_BITBLT | RC_STRETCHBLT;
    case SIZEPALETTE:
    case NUMRESERVED:
      return 0;
    case COLORRES:
      return 24;
    default:
      return 0;
  }
}

HPALETTE CreatePalette(const LOGPALETTE* lp) {
  if (!lp) return nullptr;
  auto p = std::make_unique<Palette>();
  p->entries.assign(lp->palPalEntry, lp->palPalEntry + lp->palNumEntries);
  return static_cast<HPALETTE>(add_object(std::move(p)));
}

HPALETTE SelectPalette(HDC hdc, HPALETTE hpal, BOOL) {
  DeviceContext* dc = find_dc(hdc);
  auto* p = find_object_as<Palette>(hpal, GdiObject::Type::Palette);
  if (!dc || !p) return nullptr;
  HPALETTE previous = static_cast<HPALETTE>(static_cast<HGDIOBJ>(dc->palette));
  reselect(dc->palette, p);
  return previous;
}

UINT RealizePalette(HDC hdc) { return find_dc(hdc) ? 0 : GDI_ERROR; }

BOOL UpdateColors(HDC hdc) { return find_dc(hdc) ? TRUE : FALSE; }
