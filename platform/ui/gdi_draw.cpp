// Pixel operations: blits, fills, shapes, lines, pixels and DIB access.
#include <cstring>

#include "platform/ui/gdi_internal.h"

using namespace ui_detail;

namespace {

struct RasterOp {
  DWORD rop;
  QPainter::CompositionMode mode;
};
constexpr RasterOp kRasterOps[] = {
    {SRCCOPY, QPainter::CompositionMode_Source},
    {SRCPAINT, QPainter::RasterOp_SourceOrDestination},
    {SRCAND, QPainter::RasterOp_SourceAndDestination},
    {SRCINVERT, QPainter::RasterOp_SourceXorDestination},
    {NOTSRCCOPY, QPainter::RasterOp_NotSource},
};

// Image rectangle a DC-space rectangle covers, cut to the target's clip.
QRect image_rect(const Target& t, const QRect& dc_rect) { return dc_rect.translated(t.origin) & t.clip; }

bool fill(DeviceContext* dc, const QRect& r, const QColor& color) {
  Target t = target_of(dc);
  if (!t) return false;
  QRect changed = image_rect(t, r);
  if (changed.isEmpty()) return true;
  QPainter p;
  begin_painter(p, t);
  p.fillRect(r, color);
  p.end();
  target_changed(dc, changed);
  return true;
}

bool blit(HDC hdc, const QRect& dst, HDC hsrc, const QRect& src, DWORD rop) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return false;
  if (rop == BLACKNESS) return fill(dc, dst, Qt::black);
  if (rop == WHITENESS) return fill(dc, dst, Qt::white);
  if (rop == PATCOPY) return dc->brush && !dc->brush->hollow ? fill(dc, dst, dc->brush->color) : true;
  const RasterOp* op = nullptr;
  for (const auto& row : kRasterOps)
    if (row.rop == rop) op = &row;
  DeviceContext* sdc = find_dc(hsrc);
  Target t = target_of(dc);
  Target s = target_of(sdc);
  if (!op || !t || !s) return false;
  QRect changed = image_rect(t, dst);
  if (changed.isEmpty()) return true;
  QRect src_in_image = src.translated(s.origin);
  // A source that is also the destination is copied first.
  QImage source = s.image == t.image ? s.image->copy(src_in_image) : QImage();
  // On a window, a blit that changes no pixel (a tick drawing the same digits
  // again) asks the screen for no repaint: an idle rack then costs nothing.
  const QImage before = dc->window ? t.image->copy(changed) : QImage();
  QPainter p;
  begin_painter(p, t);
  p.setCompositionMode(op->mode);
  if (source.isNull())
    p.drawImage(dst, *s.image, src_in_image);
  else
    p.drawImage(dst, source);
  p.end();
  if (!before.isNull() && before == t.image->copy(changed)) return true;
  target_changed(dc, changed);
  return true;
}

Bitmap* selected_bitmap(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  return dc && dc->memory ? dc->bitmap : nullptr;
}

}  // namespace

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  return blit(hdc, QRect(x, y, cx, cy), hdcSrc, QRect(x1, y1, cx, cy), rop) ? TRUE : FALSE;
}

BOOL StretchBlt(HDC hdc, int x, int y, int w, int h, HDC hdcSrc, int xs, int ys, int ws, int hs, DWORD rop) {
  return blit(hdc, QRect(x, y, w, h), hdcSrc, QRect(xs, ys, ws, hs), rop) ? TRUE : FALSE;
}

int FillRect(HDC hdc, const RECT* rc, HBRUSH hbr) {
  auto* brush = find_object_as<Brush>(hbr, GdiObject::Type::Brush);
  if (!rc || !brush) return 0;
  if (brush->hollow) return 1;
  return fill(find_dc(hdc), QRect(QPoint(rc->left, rc->top), QPoint(rc->right - 1, rc->bottom - 1)), brush->color);
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = find_dc(hdc);
  Target t = target_of(dc);
  if (!t) return FALSE;
  bool outline = dc->pen && dc->pen->style != PS_NULL;
  // Without a pen the filled area is one pixel smaller, as Win32 draws it.
  QRect area(QPoint(left, top), QPoint(right - (outline ? 1 : 2), bottom - (outline ? 1 : 2)));
  QPainter p;
  begin_painter(p, t);
  if (dc->brush && !dc->brush->hollow) p.fillRect(area, dc->brush->color);
  if (outline) {
    QPen pen(dc->pen->color);
    pen.setWidth(0);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(area.adjusted(0, 0, -1, -1));
  }
  p.end();
  target_changed(dc, image_rect(t, area));
  return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return FALSE;
  if (old) *old = POINT{dc->position.x(), dc->position.y()};
  dc->position = QPoint(x, y);
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  DeviceContext* dc = find_dc(hdc);
  Target t = target_of(dc);
  if (!t) return FALSE;
  QPoint from = dc->position, to(x, y);
  dc->position = to;
  if (!dc->pen || dc->pen->style == PS_NULL || from == to) return TRUE;
  QPainter p;
  begin_painter(p, t);
  if (dc->pen->width <= 1) {
    // Bresenham without the end point, as Win32 draws a line.
    int dx = std::abs(to.x() - from.x()), sx = from.x() < to.x() ? 1 : -1;
    int dy = -std::abs(to.y() - from.y()), sy = from.y() < to.y() ? 1 : -1;
    int err = dx + dy;
    QPoint pt = from;
    p.setPen(dc->pen->color);
    while (pt != to) {
      p.drawPoint(pt);
      int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        pt.rx() += sx;
      }
      if (e2 <= dx) {
        err += dx;
        pt.ry() += sy;
      }
    }
  } else {
    QPen pen(dc->pen->color);
    pen.setWidth(dc->pen->width);
    p.setPen(pen);
    p.drawLine(from, to);
  }
  p.end();
  int pad = dc->pen->width;
  target_changed(dc, image_rect(t, QRect(from, to).normalized().adjusted(-pad, -pad, pad, pad)));
  return TRUE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  Target t = target_of(find_dc(hdc));
  QPoint pt = QPoint(x, y) + t.origin;
  if (!t || !t.clip.contains(pt)) return 0xFFFFFFFF;  // CLR_INVALID
  return to_colorref(t.image->pixel(pt));
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DeviceContext* dc = find_dc(hdc);
  Target t = target_of(dc);
  QPoint pt = QPoint(x, y) + t.origin;
  if (!t || !t.clip.contains(pt)) return 0xFFFFFFFF;
  t.image->setPixel(pt, to_qcolor(color).rgb());
  target_changed(dc, QRect(pt, QSize(1, 1)));
  return color;
}

HBITMAP CreateCompatibleBitmap(HDC, int cx, int cy) {
  if (cx <= 0 || cy <= 0) return nullptr;
  auto b = std::make_unique<Bitmap>();
  b->image = QImage(cx, cy, QImage::Format_RGB32);
  if (b->image.isNull()) return nullptr;
  b->image.fill(Qt::black);
  return static_cast<HBITMAP>(add_object(std::move(b)));
}

UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* out) {
  Bitmap* b = selected_bitmap(hdc);
  if (!b || !out) return 0;
  UINT copied = 0;
  for (UINT i = start; i < static_cast<UINT>(b->color_table.size()) && copied < count; ++i, ++copied) {
    QRgb c = b->color_table[static_cast<int>(i)];
    out[copied] = RGBQUAD{static_cast<BYTE>(qBlue(c)), static_cast<BYTE>(qGreen(c)), static_cast<BYTE>(qRed(c)), 0};
  }
  return copied;
}

// Only 32-bit rows are exchanged; a query (no bits) fills in the header.
int GetDIBits(HDC, HBITMAP hbm, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO bmi, UINT) {
  auto* b = find_object_as<Bitmap>(hbm, GdiObject::Type::Bitmap);
  if (!b || !bmi) return 0;
  const QImage& img = b->image;
  BITMAPINFOHEADER& h = bmi->bmiHeader;
  if (!bits) {
    h.biWidth = img.width();
    h.biHeight = img.height();
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(img.width() * img.height() * 4);
    return img.height();
  }
  if (h.biBitCount != 32 || h.biWidth != img.width()) return 0;
  bool bottom_up = h.biHeight > 0;
  int height = img.height();
  UINT done = 0;
  for (UINT i = 0; i < lines && static_cast<int>(start + i) < height; ++i, ++done) {
    int scan = static_cast<int>(start + i);  // scan lines count from the bottom in a bottom-up DIB
    int row = bottom_up ? height - 1 - scan : scan;
    std::memcpy(static_cast<BYTE*>(bits) + static_cast<size_t>(i) * img.width() * 4, img.constScanLine(row),
                static_cast<size_t>(img.width()) * 4);
  }
  return static_cast<int>(done);
}

int SetDIBits(HDC, HBITMAP hbm, UINT start, UINT lines, LPCVOID bits, const BITMAPINFO* bmi, UINT) {
  auto* b = find_object_as<Bitmap>(hbm, GdiObject::Type::Bitmap);
  if (!b || !bmi || !bits) return 0;
  const BITMAPINFOHEADER& h = bmi->bmiHeader;
  QImage& img = b->image;
  if (h.biBitCount != 32 || h.biWidth != img.width()) return 0;
  bool bottom_up = h.biHeight > 0;
  int height = img.height();
  UINT done = 0;
  for (UINT i = 0; i < lines && static_cast<int>(start + i) < height; ++i, ++done) {
    int scan = static_cast<int>(start + i);
    int row = bottom_up ? height - 1 - scan : scan;
    auto* dst = reinterpret_cast<QRgb*>(img.scanLine(row));
    const auto* src = static_cast<const BYTE*>(bits) + static_cast<size_t>(i) * img.width() * 4;
    for (int x = 0; x < img.width(); ++x) dst[x] = qRgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]);
  }
  return static_cast<int>(done);
}
