// Device contexts and GDI objects: a new DC's defaults, SelectObject's previous objects, stock
// objects, deferred deletion, bad handles failing as Win32 fails them, and a reset that leaves
// nothing of a drawing behind.
#include <gtest/gtest.h>

#include "base/handles.h"
#include "gdi/for_user.h"
#include "gdi/kept.h"
#include "test_canvas.h"

using namespace gdi_test;
using platform::handle_live_count;
using platform::HandleKind;

namespace {

// A drawing that leaves something in each of GDI's kept things: objects made and deleted, a wide
// oval (its quadrant, the pen's shapes, the kept outline), a polygon of five corners (the scan
// buffers), and text (a font asked for, its face and glyphs).
std::string drawing_that_keeps() {
  Canvas canvas(40, 30);
  {
    Tools tools(canvas.dc, 3, kRed, kBlue);
    Ellipse(canvas.dc, 2, 2, 30, 20);
    const POINT star[] = {{20, 2}, {25, 28}, {2, 10}, {38, 10}, {15, 28}};
    Polygon(canvas.dc, star, 5);
  }
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "VORLA-font");
  HGDIOBJ old_font = SelectObject(canvas.dc, font);
  SetTextColor(canvas.dc, kGreen);
  SetBkMode(canvas.dc, TRANSPARENT);
  TextOutA(canvas.dc, 4, 8, "Cone", 4);
  SelectObject(canvas.dc, old_font);
  DeleteObject(font);
  return canvas.picture();
}

int live_objects() {
  return handle_live_count(HandleKind::pen) + handle_live_count(HandleKind::brush) +
         handle_live_count(HandleKind::font) + handle_live_count(HandleKind::bitmap) +
         handle_live_count(HandleKind::dc);
}

}  // namespace

TEST(GdiDc, NewMemoryDcHasWin32Defaults) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  // The default bitmap is 1 x 1.
  EXPECT_NE(GetPixel(dc, 0, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, 1, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, 0, 1), CLR_INVALID);

  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HBRUSH brush = CreateSolidBrush(kRed);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "VORLA-font");
  EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(dc, font), GetStockObject(SYSTEM_FONT));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_TRUE(DeleteDC(dc));
}

TEST(GdiDc, DefaultPenAndBrushDrawBlackFrameOnWhite) {
  Canvas canvas(5, 4);
  Rectangle(canvas.dc, 0, 0, 5, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) {
      const bool edge = x == 0 || y == 0 || x == 4 || y == 3;
      EXPECT_EQ(canvas.at(x, y), edge ? RGB(0, 0, 0) : RGB(255, 255, 255)) << x << "," << y;
    }
  }
}

TEST(GdiDc, SetterReturnsPreviousValueAndRejectsBadMode) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SetTextColor(dc, kRed), RGB(0, 0, 0));
  EXPECT_EQ(SetTextColor(dc, kBlue), kRed);
  EXPECT_EQ(SetBkColor(dc, kGreen), RGB(255, 255, 255));
  EXPECT_EQ(GetBkColor(dc), kGreen);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(dc, 7), 0);
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  POINT previous{-1, -1};
  EXPECT_TRUE(MoveToEx(dc, 3, 4, &previous));
  EXPECT_EQ(previous.x, 0);
  EXPECT_EQ(previous.y, 0);
  EXPECT_TRUE(MoveToEx(dc, 5, 6, &previous));
  EXPECT_EQ(previous.x, 3);
  EXPECT_EQ(previous.y, 4);
  DeleteDC(dc);
}

TEST(GdiObjects, SelectObjectReturnsThePreviousObjectOfThatKind) {
  Canvas canvas(4, 4);
  HPEN first = CreatePen(PS_SOLID, 1, kRed);
  HPEN second = CreatePen(PS_SOLID, 3, kBlue);
  HBRUSH brush = CreateSolidBrush(kGreen);
  HGDIOBJ original_pen = SelectObject(canvas.dc, first);
  EXPECT_EQ(original_pen, GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(canvas.dc, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(canvas.dc, second), first);
  EXPECT_EQ(SelectObject(canvas.dc, second), second);
  EXPECT_EQ(SelectObject(canvas.dc, original_pen), second);
  EXPECT_EQ(SelectObject(canvas.dc, GetStockObject(NULL_BRUSH)), brush);
  EXPECT_TRUE(DeleteObject(first));
  EXPECT_TRUE(DeleteObject(second));
  EXPECT_TRUE(DeleteObject(brush));
}

TEST(GdiObjects, BadHandlesFailWithoutTouchingAnything) {
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HDC dc = CreateCompatibleDC(nullptr);
  HDC stale_dc = CreateCompatibleDC(nullptr);
  DeleteDC(stale_dc);
  HPEN stale_pen = CreatePen(PS_SOLID, 1, kRed);
  DeleteObject(stale_pen);
  HGDIOBJ made_up = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(0x7654321));

  EXPECT_EQ(SelectObject(nullptr, pen), nullptr);
  EXPECT_EQ(SelectObject(stale_dc, pen), nullptr);
  EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
  EXPECT_EQ(SelectObject(dc, stale_pen), nullptr);
  EXPECT_EQ(SelectObject(dc, made_up), nullptr);
  EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(dc)), nullptr);
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_FALSE(DeleteObject(stale_pen));
  EXPECT_FALSE(DeleteObject(made_up));
  EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(dc)));
  EXPECT_FALSE(DeleteDC(stale_dc));
  EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(pen)));
  EXPECT_EQ(ReleaseDC(nullptr, dc), 0);  // a memory DC is not released, it is deleted
  EXPECT_EQ(CreateCompatibleDC(stale_dc), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(stale_dc, 4, 4), nullptr);
  EXPECT_EQ(GetDC(nullptr), nullptr);

  EXPECT_FALSE(Rectangle(stale_dc, 0, 0, 1, 1));
  EXPECT_FALSE(Ellipse(stale_dc, 0, 0, 4, 4));
  EXPECT_FALSE(LineTo(stale_dc, 1, 1));
  EXPECT_FALSE(MoveToEx(stale_dc, 1, 1, nullptr));
  EXPECT_EQ(SetPixel(stale_dc, 0, 0, kRed), CLR_INVALID);
  EXPECT_EQ(GetPixel(stale_dc, 0, 0), CLR_INVALID);
  EXPECT_EQ(SetTextColor(stale_dc, kRed), CLR_INVALID);
  EXPECT_EQ(GetBkColor(stale_dc), CLR_INVALID);
  EXPECT_EQ(SetBkMode(stale_dc, OPAQUE), 0);
  EXPECT_EQ(GetBkMode(stale_dc), 0);
  EXPECT_FALSE(TextOutA(stale_dc, 0, 0, "a", 1));
  EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, stale_dc, 0, 0, SRCCOPY));

  DeleteDC(dc);
  DeleteObject(pen);
}

TEST(GdiObjects, StockObjectsAreSharedAndSurviveDeleteObject) {
  for (int index : {WHITE_BRUSH, 1, 2, 3, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN, NULL_PEN,
                    ANSI_FIXED_FONT, SYSTEM_FONT, DEFAULT_GUI_FONT}) {
    HGDIOBJ object = GetStockObject(index);
    ASSERT_NE(object, nullptr) << index;
    EXPECT_EQ(GetStockObject(index), object) << index;
    EXPECT_TRUE(DeleteObject(object)) << index;
    EXPECT_EQ(GetStockObject(index), object) << index;
  }
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GetStockObject(9), nullptr);  // no stock object has this index
  EXPECT_EQ(GetStockObject(1000), nullptr);

  // A "deleted" stock brush still paints.
  Canvas canvas(3, 3);
  DeleteObject(GetStockObject(BLACK_BRUSH));
  SelectObject(canvas.dc, GetStockObject(NULL_PEN));
  SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
  Rectangle(canvas.dc, 0, 0, 3, 3);
  EXPECT_EQ(canvas.at(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(2, 2), kPaper);
}

TEST(GdiObjects, DeletingASelectedObjectWaitsUntilItIsDeselected) {
  Canvas canvas(4, 4);
  const int pens = handle_live_count(HandleKind::pen);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HGDIOBJ previous = SelectObject(canvas.dc, pen);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_EQ(handle_live_count(HandleKind::pen), pens + 1);
  // Still the DC's pen: it draws in its colour.
  SetPixel(canvas.dc, 1, 0, kPaper);
  MoveToEx(canvas.dc, 0, 0, nullptr);
  LineTo(canvas.dc, 3, 0);
  EXPECT_EQ(canvas.at(1, 0), kRed);
  EXPECT_EQ(SelectObject(canvas.dc, previous), pen);
  EXPECT_EQ(handle_live_count(HandleKind::pen), pens);
  EXPECT_EQ(SelectObject(canvas.dc, pen), nullptr);  // the handle is stale now
  EXPECT_FALSE(DeleteObject(pen));
}

TEST(GdiObjects, DeletingADcReleasesObjectsWaitingForIt) {
  const int before = live_objects();
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 8);
  HBRUSH brush = CreateSolidBrush(kBlue);
  SelectObject(dc, bitmap);
  SelectObject(dc, brush);
  DeleteObject(bitmap);
  DeleteObject(brush);
  EXPECT_EQ(live_objects(), before + 3);
  DeleteDC(dc);
  EXPECT_EQ(live_objects(), before);
}

TEST(GdiObjects, ABitmapIsSelectedIntoOneDcAtATime) {
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(first, 6, 5);
  HGDIOBJ default_first = SelectObject(first, bitmap);
  ASSERT_NE(default_first, nullptr);
  EXPECT_EQ(SelectObject(second, bitmap), nullptr);
  EXPECT_NE(GetPixel(first, 5, 4), CLR_INVALID);
  EXPECT_EQ(GetPixel(second, 5, 4), CLR_INVALID);
  DeleteDC(first);
  EXPECT_NE(SelectObject(second, bitmap), nullptr);
  EXPECT_NE(GetPixel(second, 5, 4), CLR_INVALID);
  // The shared default bitmap goes into any number of DCs.
  HDC third = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(third, default_first), default_first);
  EXPECT_EQ(SelectObject(second, default_first), bitmap);
  DeleteObject(bitmap);
  DeleteDC(second);
  DeleteDC(third);
}

TEST(GdiObjects, CompatibleBitmapSizes) {
  HDC dc = CreateCompatibleDC(nullptr);
  const int bitmaps = handle_live_count(HandleKind::bitmap);
  HBITMAP empty = CreateCompatibleBitmap(dc, 0, 7);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(dc, 5, 0), empty);  // the shared 1 x 1 bitmap
  EXPECT_EQ(handle_live_count(HandleKind::bitmap), bitmaps);
  EXPECT_EQ(CreateCompatibleBitmap(dc, -1, 4), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(dc, 4, -1), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(dc, 1 << 30, 1 << 30), nullptr);
  HBITMAP big = CreateCompatibleBitmap(dc, 601, 540);
  SelectObject(dc, big);
  EXPECT_NE(GetPixel(dc, 600, 539), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, 601, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, 0, 540), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
  DeleteDC(dc);
  DeleteObject(big);
}

TEST(GdiObjects, CountsReturnToWhereTheyWere) {
  const int pens = handle_live_count(HandleKind::pen);
  const int brushes = handle_live_count(HandleKind::brush);
  const int fonts = handle_live_count(HandleKind::font);
  const int bitmaps = handle_live_count(HandleKind::bitmap);
  const int dcs = handle_live_count(HandleKind::dc);
  {
    Canvas canvas(10, 10);
    for (int i = 0; i < 50; ++i) {
      Tools tools(canvas.dc, i % 4, kRed, i % 3 ? kBlue : CLR_INVALID);
      HFONT font =
          CreateFontA(-10 - i % 5, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "VORLA-font");
      HGDIOBJ old_font = SelectObject(canvas.dc, font);
      Ellipse(canvas.dc, 0, 0, 9, 9);
      TextOutA(canvas.dc, 0, 0, "x", 1);
      SelectObject(canvas.dc, old_font);
      DeleteObject(font);
    }
    EXPECT_EQ(handle_live_count(HandleKind::dc), dcs + 1);
    EXPECT_EQ(handle_live_count(HandleKind::bitmap), bitmaps + 1);
  }
  EXPECT_EQ(handle_live_count(HandleKind::pen), pens);
  EXPECT_EQ(handle_live_count(HandleKind::brush), brushes);
  EXPECT_EQ(handle_live_count(HandleKind::font), fonts);
  EXPECT_EQ(handle_live_count(HandleKind::bitmap), bitmaps);
  EXPECT_EQ(handle_live_count(HandleKind::dc), dcs);
}

TEST(GdiObjects, NullPenStyleIsTheStockNullPen) {
  EXPECT_EQ(CreatePen(PS_NULL, 3, kRed), GetStockObject(NULL_PEN));
  EXPECT_EQ(CreatePen(42, 1, kRed), nullptr);
}

TEST(GdiObjects, BrushColourIsKnownForSolidBrushesOnly) {
  COLORREF colour = 0;
  HBRUSH brush = CreateSolidBrush(kGreen);
  EXPECT_TRUE(platform::brush_colour(brush, &colour));
  EXPECT_EQ(colour, kGreen);
  EXPECT_TRUE(platform::brush_colour(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), &colour));
  EXPECT_EQ(colour, RGB(255, 255, 255));
  EXPECT_TRUE(platform::brush_colour(static_cast<HBRUSH>(GetStockObject(2)), &colour));
  EXPECT_EQ(colour, RGB(128, 128, 128));  // GRAY_BRUSH
  EXPECT_FALSE(platform::brush_colour(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), &colour));
  EXPECT_FALSE(
      platform::brush_colour(reinterpret_cast<HBRUSH>(GetStockObject(BLACK_PEN)), &colour));
  DeleteObject(brush);
  EXPECT_FALSE(platform::brush_colour(brush, &colour));
}

TEST(GdiReset, KeepsNothingAndDrawsAgainAsAtStart) {
  const std::string first = drawing_that_keeps();
  platform::gdi_reset();
  const platform::Kept& kept = platform::kept();
  EXPECT_TRUE(kept.fonts_asked.empty());
  EXPECT_TRUE(kept.faces.faces.empty());
  EXPECT_EQ(kept.stock.objects[BLACK_PEN], nullptr);
  EXPECT_EQ(handle_live_count(HandleKind::pen) + handle_live_count(HandleKind::font), 0);
  EXPECT_EQ(drawing_that_keeps(), first);
}
