// DCs on windows: GetDC draws on the client area that the window system shows, BitBlt brings a
// memory bitmap there, ScrollDC moves its content, and a DC outlives nothing it points to.
#include <gtest/gtest.h>

#include <vector>

#include "base/handles.h"
#include "display/headless/headless.h"
#include "platform/gdi/test_canvas.h"
#include "window_test_util.h"

using namespace gdi_test;
using platform::handle_live_count;
using platform::HandleKind;

namespace {

uint32_t client_pixel(HWND window, int x, int y) {
  int width = 0, height = 0;
  const std::vector<uint32_t> pixels = headless::client_pixels(window, &width, &height);
  if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
  return pixels[static_cast<size_t>(y) * width + x];
}

uint32_t pixel(COLORREF colour) {
  return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

HWND shown_window(int width = 120, int height = 90) {
  window_test::register_class();
  HWND window = window_test::make_window(WS_CAPTION | WS_SYSMENU, 0, 0, width, height);
  ShowWindow(window, SW_SHOW);
  window_test::drain();
  return window;
}

}  // namespace

TEST(GdiWindowDc, DrawsOnTheClientArea) {
  HWND window = shown_window();
  const int dcs = handle_live_count(HandleKind::dc);
  HDC dc = GetDC(window);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  {
    Tools tools(dc, -1, kRed, kBlue);
    EXPECT_TRUE(Rectangle(dc, 10, 10, 20, 15));
  }
  EXPECT_EQ(client_pixel(window, 10, 10), pixel(kBlue));
  EXPECT_EQ(client_pixel(window, 18, 13), pixel(kBlue));
  EXPECT_NE(client_pixel(window, 19, 13), pixel(kBlue));
  EXPECT_EQ(GetPixel(dc, 12, 12), kBlue);
  EXPECT_EQ(SetPixel(dc, 30, 31, kGreen), kGreen);
  EXPECT_EQ(client_pixel(window, 30, 31), pixel(kGreen));
  EXPECT_FALSE(DeleteDC(dc));  // a window's DC goes back through ReleaseDC
  EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
  EXPECT_EQ(ReleaseDC(window, dc), 1);
  EXPECT_EQ(ReleaseDC(window, dc), 0);
  EXPECT_EQ(handle_live_count(HandleKind::dc), dcs);
}

TEST(GdiWindowDc, TakesNoBitmap) {
  HWND window = shown_window();
  HDC dc = GetDC(window);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
  ReleaseDC(window, dc);
  DeleteObject(bitmap);
}

TEST(GdiWindowDc, BitBltFromAMemoryBitmapShowsIt) {
  HWND window = shown_window();
  Canvas surface(60, 40);
  {
    Tools tools(surface.dc, 0, kRed, kRed);
    Rectangle(surface.dc, 5, 6, 9, 8);
  }
  HDC dc = GetDC(window);
  EXPECT_TRUE(BitBlt(dc, 0, 0, 60, 40, surface.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(client_pixel(window, 5, 6), pixel(kRed));
  EXPECT_EQ(client_pixel(window, 8, 7), pixel(kRed));
  EXPECT_EQ(client_pixel(window, 9, 7), pixel(kPaper));
  // And back: a window DC is a source too.
  Canvas copy(60, 40);
  EXPECT_TRUE(BitBlt(copy.dc, 0, 0, 60, 40, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(copy.at(8, 7), kRed);
  EXPECT_EQ(copy.at(9, 7), kPaper);
  ReleaseDC(window, dc);
}

TEST(GdiWindowDc, ScrollingTheLogUpByOneLine) {
  // What the log window does for a new line: scroll up by h, blank the bottom strip with a
  // NULL_PEN rectangle one larger than the client area, draw the text.
  HWND window = shown_window(200, 100);
  RECT client{};
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  SetPixel(dc, 7, 20, kRed);
  SetPixel(dc, 7, client.bottom - 1, kBlue);
  const int h = 13;
  EXPECT_TRUE(ScrollDC(dc, 0, -h, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(client_pixel(window, 7, 20 - h), pixel(kRed));
  EXPECT_EQ(client_pixel(window, 7, client.bottom - 1 - h), pixel(kBlue));
  EXPECT_EQ(client_pixel(window, 7, client.bottom - 1), pixel(kBlue));  // left as it was
  // Without a pen the rectangle leaves out its last row and column: one row past the client
  // area fills the strip down to its last row.
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, client.left, client.bottom - h, client.right, client.bottom + 1);
  for (int y = client.bottom - h; y < client.bottom; ++y) {
    EXPECT_EQ(client_pixel(window, 7, y), 0xFFFFFFu) << y;
    EXPECT_EQ(client_pixel(window, client.right - 1, y), 0xFFFFFFu) << y;
  }
  EXPECT_EQ(client_pixel(window, 7, client.bottom - 1 - h), pixel(kBlue));
  SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
  EXPECT_TRUE(TextOutA(dc, 5, client.bottom - h, "Illegal color 24; using RED.", 28));
  ReleaseDC(window, dc);
}

TEST(GdiWindowDc, DestroyedWindowsHaveNoDc) {
  HWND window = shown_window();
  HDC dc = GetDC(window);
  DestroyWindow(window);
  EXPECT_EQ(GetDC(window), nullptr);
  EXPECT_FALSE(Rectangle(dc, 0, 0, 5, 5));
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  EXPECT_FALSE(TextOutA(dc, 0, 0, "x", 1));
  Canvas canvas(4, 4);
  EXPECT_FALSE(BitBlt(dc, 0, 0, 4, 4, canvas.dc, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(canvas.dc, 0, 0, 4, 4, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(ReleaseDC(window, dc), 1);
}
