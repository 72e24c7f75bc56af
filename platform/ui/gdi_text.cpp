// Fonts and text output. Text is 8-bit ANSI, shown as Latin-1.
#include <QFontMetrics>

#include "platform/ui/gdi_internal.h"

using namespace ui_detail;

namespace {

// Win32 heights: negative = character (em) height, positive = cell height
// (ascent + descent), zero = a default size.
int pixel_size_for(QFont font, int height) {
  if (height < 0) return -height;
  if (height == 0) return 13;
  font.setPixelSize(height);
  QFontMetrics m(font);
  int cell = m.ascent() + m.descent();
  if (cell <= 0) return height;
  return std::max(1, (height * height + cell / 2) / cell);
}

QString ansi(LPCSTR s, int count) {
  if (!s) return {};
  if (count < 0) return QString::fromLatin1(s);
  return QString::fromLatin1(s, count);
}

struct Layout {
  int x;         // left end of the text
  int baseline;
  int width;
  int ascent;
  int descent;
};

Layout layout_text(const DeviceContext* dc, int x, int y, const QString& text, const INT* dx) {
  QFontMetrics m(dc->font->font);
  int width = 0;
  if (dx)
    for (int i = 0; i < text.size(); ++i) width += dx[i];
  else
    width = m.horizontalAdvance(text);
  Layout l{x, y, width, m.ascent(), m.descent()};
  UINT horizontal = dc->text_align & (TA_CENTER | TA_RIGHT);
  if (horizontal == TA_CENTER)
    l.x = x - width / 2;
  else if (horizontal == TA_RIGHT)
    l.x = x - width;
  UINT vertical = dc->text_align & TA_BASELINE;
  if (vertical == TA_TOP)
    l.baseline = y + l.ascent;
  else if (vertical == TA_BOTTOM)
    l.baseline = y - l.descent;
  return l;
}

}  // namespace

HFONT CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD underline, DWORD strike, DWORD,
                  DWORD, DWORD, DWORD, DWORD pitch_family, LPCSTR face) {
  auto f = std::make_unique<Font>();
  QFont font(face && *face ? QString::fromLatin1(face) : QString());
  if (!face || !*face) {
    DWORD family = pitch_family & 0xF0;
    font.setStyleHint(family == FF_ROMAN ? QFont::Serif : family == FF_MODERN ? QFont::Monospace : QFont::SansSerif);
  }
  if (weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
  font.setItalic(italic != 0);
  font.setUnderline(underline != 0);
  font.setStrikeOut(strike != 0);
  font.setPixelSize(pixel_size_for(font, height));
  f->font = font;
  return static_cast<HFONT>(add_object(std::move(f)));
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return 0xFFFFFFFF;
  COLORREF old = dc->text_color;
  dc->text_color = color;
  return old;
}

COLORREF GetTextColor(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  return dc ? dc->text_color : 0xFFFFFFFF;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return 0xFFFFFFFF;
  COLORREF old = dc->bk_color;
  dc->bk_color = color;
  return old;
}

COLORREF GetBkColor(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  return dc ? dc->bk_color : 0xFFFFFFFF;
}

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int old = dc->bk_mode;
  dc->bk_mode = mode;
  return old;
}

UINT SetTextAlign(HDC hdc, UINT align) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc) return GDI_ERROR;
  UINT old = dc->text_align;
  dc->text_align = align;
  return old;
}

UINT GetTextAlign(HDC hdc) {
  DeviceContext* dc = find_dc(hdc);
  return dc ? dc->text_align : GDI_ERROR;
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCSTR str, UINT count, const INT* dx) {
  DeviceContext* dc = find_dc(hdc);
  Target t = target_of(dc);
  if (!t || !dc->font) return FALSE;
  QString text = ansi(str, str ? static_cast<int>(count) : 0);
  QRect box = rc ? QRect(QPoint(rc->left, rc->top), QPoint(rc->right - 1, rc->bottom - 1)) : QRect();
  if (dc->text_align & TA_UPDATECP) x = dc->position.x(), y = dc->position.y();
  Layout l = layout_text(dc, x, y, text, dx);
  if (dc->text_align & TA_UPDATECP) dc->position.rx() += l.width;
  QRect text_box(l.x, l.baseline - l.ascent, l.width, l.ascent + l.descent);

  QPainter p;
  begin_painter(p, t);
  if ((options & ETO_CLIPPED) && rc) p.setClipRect(box, Qt::IntersectClip);
  if ((options & ETO_OPAQUE) && rc) p.fillRect(box, to_qcolor(dc->bk_color));
  if (dc->bk_mode == OPAQUE) p.fillRect(text_box, to_qcolor(dc->bk_color));
  p.setFont(dc->font->font);
  p.setPen(to_qcolor(dc->text_color));
  if (dx) {
    int pen_x = l.x;
    for (int i = 0; i < text.size(); ++i) {
      p.drawText(QPoint(pen_x, l.baseline), QString(text[i]));
      pen_x += dx[i];
    }
  } else {
    p.drawText(QPoint(l.x, l.baseline), text);
  }
  p.end();
  QRect changed = text_box.adjusted(-2, 0, 2, 0);  // glyphs may overhang their advance
  if (rc && (options & (ETO_OPAQUE | ETO_CLIPPED))) changed = (options & ETO_CLIPPED) ? box : changed | box;
  target_changed(dc, changed.translated(t.origin) & t.clip);
  return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR str, int count) {
  return ExtTextOutA(hdc, x, y, 0, nullptr, str, static_cast<UINT>(std::max(count, 0)), nullptr);
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR str, int count, LPSIZE size) {
  DeviceContext* dc = find_dc(hdc);
  if (!dc || !dc->font || !size) return FALSE;
  QFontMetrics m(dc->font->font);
  size->cx = m.horizontalAdvance(ansi(str, std::max(count, 0)));
  size->cy = m.ascent() + m.descent();
  return TRUE;
}
