// GDI onto the back buffer: fills, blits, bitmaps, text, lines and paints.
#include <QImage>

#include "platform/ui/resources.h"
#include "ui_fixture.h"

namespace {

QImage solid(int w, int h, QRgb color) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(color);
  return img;
}

int count_colour(HWND hwnd, const RECT& r, COLORREF c) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += ui_test::pixel(hwnd, x, y) == c;
  return n;
}

}  // namespace

class GdiTest : public UiTest {
 protected:
  HWND hwnd = nullptr;
  void SetUp() override {
    UiTest::SetUp();
    ui_resources::forget_bitmaps();
    hwnd = make_window(200, 100);  // client area 198 x 98 inside the border
  }
  void TearDown() override {
    ui_resources::forget_bitmaps();
    UiTest::TearDown();
  }
};

TEST_F(GdiTest, FillRectDrawsIntoTheClientAreaAtOnce) {
  HDC dc = GetDC(hwnd);
  RECT r{10, 10, 20, 15};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  EXPECT_TRUE(FillRect(dc, &r, red));
  ReleaseDC(hwnd, dc);
  EXPECT_EQ(ui_test::pixel(hwnd, 10, 10), RGB(255, 0, 0));
  EXPECT_EQ(ui_test::pixel(hwnd, 19, 14), RGB(255, 0, 0));
  EXPECT_EQ(ui_test::pixel(hwnd, 20, 14), RGB(0, 0, 0));  // right and bottom are exclusive
  EXPECT_EQ(ui_test::pixel(hwnd, 19, 15), RGB(0, 0, 0));
  EXPECT_TRUE(DeleteObject(red));
  EXPECT_FALSE(DeleteObject(red));
}

TEST_F(GdiTest, BitBltCopiesABitmapThroughAMemoryDc) {
  ui_resources::register_bitmap("MIXERBMP", solid(30, 20, qRgb(10, 20, 30)));
  HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(nullptr, "MIXERBMP", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(bmp, nullptr);
  BITMAP info;
  ASSERT_EQ(GetObjectA(bmp, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 30);
  EXPECT_EQ(info.bmHeight, 20);

  HDC screen = GetDC(GetDesktopWindow());
  HDC mem = CreateCompatibleDC(screen);
  ReleaseDC(GetDesktopWindow(), screen);
  HGDIOBJ old = SelectObject(mem, bmp);
  ASSERT_NE(old, nullptr);
  HDC dc = GetDC(hwnd);
  EXPECT_TRUE(BitBlt(dc, 50, 40, 30, 19, mem, 0, 0, SRCCOPY));
  ReleaseDC(hwnd, dc);
  EXPECT_EQ(SelectObject(mem, old), bmp);
  DeleteObject(bmp);
  DeleteDC(mem);
  EXPECT_EQ(ui_test::pixel(hwnd, 50, 40), RGB(10, 20, 30));
  EXPECT_EQ(ui_test::pixel(hwnd, 79, 58), RGB(10, 20, 30));
  EXPECT_EQ(ui_test::pixel(hwnd, 79, 59), RGB(0, 0, 0));  // the extra row is not copied
}

TEST_F(GdiTest, BitmapsByNumberShareTheDecodedImageButNotTheirDrawing) {
  ui_resources::register_bitmap(MAKEINTRESOURCEA(102), solid(4, 4, qRgb(0, 255, 0)));
  HBITMAP a = LoadBitmapA(nullptr, MAKEINTRESOURCEA(102));
  ASSERT_NE(a, nullptr);
  HDC mem = CreateCompatibleDC(nullptr);
  SelectObject(mem, a);
  RECT r{0, 0, 4, 4};
  FillRect(mem, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(GetPixel(mem, 1, 1), RGB(255, 255, 255));
  HBITMAP b = LoadBitmapA(nullptr, "#102");
  HDC mem2 = CreateCompatibleDC(nullptr);
  SelectObject(mem2, b);
  EXPECT_EQ(GetPixel(mem2, 1, 1), RGB(0, 255, 0));
  DeleteDC(mem);
  DeleteDC(mem2);
  DeleteObject(a);
  DeleteObject(b);
  EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(9999)), nullptr);
}

TEST_F(GdiTest, AnObjectDeletedWhileSelectedLivesUntilDeselected) {
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(mem, 8, 8);
  HGDIOBJ old = SelectObject(mem, bmp);
  EXPECT_TRUE(DeleteObject(bmp));
  RECT r{0, 0, 8, 8};
  EXPECT_TRUE(FillRect(mem, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
  EXPECT_EQ(GetPixel(mem, 7, 7), RGB(255, 255, 255));
  SelectObject(mem, old);
  EXPECT_EQ(SelectObject(mem, bmp), nullptr);  // gone now
  DeleteDC(mem);
}

TEST_F(GdiTest, OpaqueClippedTextBlanksItsRectangleAndStaysInside) {
  HDC dc = GetDC(hwnd);
  RECT fill{0, 0, 198, 98};
  FillRect(dc, &fill, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HFONT font = CreateFontA(14, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x22, "Times New Roman");
  HGDIOBJ old_font = SelectObject(dc, font);
  SetTextColor(dc, RGB(255, 255, 0));
  SetBkColor(dc, RGB(0, 0, 0));
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  RECT box{20, 30, 60, 43};
  const char* text = "WWWWWWWWWWWWWWWW";
  EXPECT_TRUE(ExtTextOutA(dc, 20, 30, ETO_OPAQUE | ETO_CLIPPED, &box, text, 16, nullptr));
  SelectObject(dc, old_font);
  DeleteObject(font);
  ReleaseDC(hwnd, dc);
  RECT right_of_box{60, 30, 198, 43};
  EXPECT_EQ(count_colour(hwnd, right_of_box, RGB(255, 255, 255)), 138 * 13);
  int black = count_colour(hwnd, box, RGB(0, 0, 0));
  EXPECT_GT(black, 0);
  EXPECT_LT(black, 40 * 13);  // some glyph pixels
  EXPECT_EQ(ui_test::pixel(hwnd, 20, 29), RGB(255, 255, 255));
}

TEST_F(GdiTest, CentredTextIsCentredOnItsPoint) {
  HDC dc = GetDC(hwnd);
  SetTextAlign(dc, TA_CENTER | TA_TOP);
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  EXPECT_TRUE(TextOutA(dc, 100, 10, "88", 2));
  SIZE size;
  EXPECT_TRUE(GetTextExtentPoint32A(dc, "88", 2, &size));
  ReleaseDC(hwnd, dc);
  int left = 200, right = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 198; ++x)
      if (GetRValue(ui_test::pixel(hwnd, x, y)) > 128) left = std::min(left, x), right = std::max(right, x);
  ASSERT_GE(right, left);
  EXPECT_NEAR((left + right) / 2.0, 100.0, 2.0);
  EXPECT_GT(size.cx, right - left - 2);
}

TEST_F(GdiTest, FontHeightsFollowWin32Signs) {
  HDC dc = GetDC(hwnd);
  SIZE cell{}, character{};
  HFONT by_cell = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0x22, "Times New Roman");
  HFONT by_char = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0x22, "Times New Roman");
  HGDIOBJ old = SelectObject(dc, by_cell);
  GetTextExtentPoint32A(dc, "Ag", 2, &cell);
  SelectObject(dc, by_char);
  GetTextExtentPoint32A(dc, "Ag", 2, &character);
  SelectObject(dc, old);
  DeleteObject(by_cell);
  DeleteObject(by_char);
  ReleaseDC(hwnd, dc);
  EXPECT_NEAR(cell.cy, 20, 1);
  EXPECT_GT(character.cy, cell.cy);
}

TEST_F(GdiTest, RectanglesAndLinesCoverWin32sPixels) {
  HDC dc = GetDC(hwnd);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, brush);
  Rectangle(dc, 10, 10, 20, 20);
  MoveToEx(dc, 30, 5, nullptr);
  LineTo(dc, 40, 5);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  DeleteObject(brush);
  ReleaseDC(hwnd, dc);
  EXPECT_EQ(ui_test::pixel(hwnd, 10, 10), RGB(255, 0, 0));
  EXPECT_EQ(ui_test::pixel(hwnd, 19, 19), RGB(255, 0, 0));
  EXPECT_EQ(ui_test::pixel(hwnd, 20, 20), RGB(0, 0, 0));
  EXPECT_EQ(ui_test::pixel(hwnd, 15, 15), RGB(0, 0, 255));
  EXPECT_EQ(ui_test::pixel(hwnd, 30, 5), RGB(255, 0, 0));
  EXPECT_EQ(ui_test::pixel(hwnd, 39, 5), RGB(255, 0, 0));
  EXPECT_EQ(ui_test::pixel(hwnd, 40, 5), RGB(0, 0, 0));  // the end point is not drawn
}

TEST_F(GdiTest, PaintingIsClippedToTheInvalidRectangle) {
  int paints = 0;
  handler = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m != WM_PAINT) return false;
    ++paints;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT all{0, 0, 198, 98};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(h, &ps);
    return true;
  };
  UpdateWindow(hwnd);
  EXPECT_EQ(paints, 0);  // nothing owed before it is shown
  RECT small{5, 5, 10, 10};
  InvalidateRect(hwnd, &small, FALSE);
  UpdateWindow(hwnd);
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(ui_test::pixel(hwnd, 5, 5), RGB(255, 255, 255));
  EXPECT_EQ(ui_test::pixel(hwnd, 10, 10), RGB(0, 0, 0));
  UpdateWindow(hwnd);
  EXPECT_EQ(paints, 1);  // validated
  // Drawing through GetDC needs no paint and survives being shown.
  ShowWindow(hwnd, SW_SHOW);
  EXPECT_TRUE(ui_test::pump_until([&] { return paints == 2; }, 2000));
  HDC dc = GetDC(hwnd);
  SetPixel(dc, 50, 50, RGB(1, 2, 3));
  ReleaseDC(hwnd, dc);
  ui_test::pump(30);
  EXPECT_EQ(paints, 2);
  EXPECT_EQ(ui_test::pixel(hwnd, 50, 50), RGB(1, 2, 3));
}

TEST_F(GdiTest, DeviceCapsAndPalettesDescribeATrueColourDisplay) {
  HDC dc = GetDC(hwnd);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_FALSE(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE);
  struct {
    LOGPALETTE head;
    PALETTEENTRY more[1];
  } pal{{0x300, 2, {{1, 2, 3, 0}}}, {{4, 5, 6, 0}}};
  HPALETTE hpal = CreatePalette(&pal.head);
  ASSERT_NE(hpal, nullptr);
  HPALETTE old = SelectPalette(dc, hpal, FALSE);
  EXPECT_NE(old, nullptr);
  EXPECT_NE(RealizePalette(dc), GDI_ERROR);
  EXPECT_TRUE(UpdateColors(dc));
  SelectPalette(dc, old, FALSE);
  ReleaseDC(hwnd, dc);
  EXPECT_TRUE(DeleteObject(hpal));
}

TEST_F(GdiTest, AnIndexedBitmapKeepsItsColourTable) {
  QImage indexed(4, 4, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(1, 2, 3), qRgb(250, 251, 252)});
  indexed.fill(1);
  ui_resources::register_bitmap("MIXERBMP", indexed);
  HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(nullptr, "mixerbmp", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(bmp, nullptr);
  HDC mem = CreateCompatibleDC(nullptr);
  SelectObject(mem, bmp);
  RGBQUAD table[256];
  ASSERT_EQ(GetDIBColorTable(mem, 0, 256, table), 2u);
  EXPECT_EQ(table[1].rgbRed, 250);
  EXPECT_EQ(table[1].rgbBlue, 252);
  EXPECT_EQ(GetPixel(mem, 0, 0), RGB(250, 251, 252));
  DeleteDC(mem);
  DeleteObject(bmp);
}

TEST_F(GdiTest, StretchBltScalesWithoutSmoothing) {
  QImage checker(2, 1, QImage::Format_RGB32);
  checker.setPixel(0, 0, qRgb(255, 0, 0));
  checker.setPixel(1, 0, qRgb(0, 0, 255));
  ui_resources::register_bitmap("CHECKER", checker);
  HBITMAP bmp = LoadBitmapA(nullptr, "CHECKER");
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bmp);
  HDC dc = GetDC(hwnd);
  EXPECT_TRUE(StretchBlt(dc, 0, 0, 8, 4, mem, 0, 0, 2, 1, SRCCOPY));
  ReleaseDC(hwnd, dc);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
  EXPECT_EQ(ui_test::pixel(hwnd, 3, 3), RGB(255, 0, 0));
  EXPECT_EQ(ui_test::pixel(hwnd, 4, 0), RGB(0, 0, 255));
  EXPECT_EQ(ui_test::pixel(hwnd, 8, 0), RGB(0, 0, 0));
}

TEST_F(GdiTest, DibRowsRoundTripBottomUp) {
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(mem, 3, 2);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  ASSERT_EQ(GetDIBits(mem, bmp, 0, 0, nullptr, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(info.bmiHeader.biWidth, 3);
  EXPECT_EQ(info.bmiHeader.biBitCount, 32);
  BYTE rows[2 * 3 * 4] = {};
  rows[0] = 255;       // bottom row, first pixel: blue
  rows[12 + 2] = 255;  // top row, first pixel: red
  EXPECT_EQ(SetDIBits(mem, bmp, 0, 2, rows, &info, DIB_RGB_COLORS), 2);
  SelectObject(mem, bmp);
  EXPECT_EQ(GetPixel(mem, 0, 1), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(mem, 0, 0), RGB(255, 0, 0));
  BYTE back[2 * 3 * 4] = {};
  EXPECT_EQ(GetDIBits(mem, bmp, 0, 2, back, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(back[0], 255);
  EXPECT_EQ(back[14], 255);
  DeleteDC(mem);
  DeleteObject(bmp);
}
