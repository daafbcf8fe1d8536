// Painting: update regions, background erase, pixels reaching the display, resizing, PNG files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "window_test_util.h"

using namespace window_test;

namespace {

constexpr COLORREF kBackground = RGB(10, 20, 30);
constexpr uint32_t kBackgroundPixel = 0x000A141E;

struct PaintTest : ::testing::Test {
  HBRUSH brush = nullptr;
  HWND window = nullptr;
  void SetUp() override {
    brush = CreateSolidBrush(kBackground);
    register_class(brush);
    window = make_window();
    ShowWindow(window, SW_SHOW);
    drain();
    seen().clear();
  }
  uint32_t client_pixel(int x, int y) {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels = headless::client_pixels(window, &width, &height);
    return pixels.at(static_cast<size_t>(y) * width + x);
  }
  void fill_client(COLORREF colour) {
    HDC dc = GetDC(window);
    HBRUSH fill = CreateSolidBrush(colour);
    HGDIOBJ old_brush = SelectObject(dc, fill);
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
    RECT client;
    GetClientRect(window, &client);
    Rectangle(dc, 0, 0, client.right + 1, client.bottom + 1);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(fill);
    ReleaseDC(window, dc);
  }
};

TEST_F(PaintTest, ShowingPaintsTheClassBackground) {
  HWND other = make_window();
  EXPECT_EQ(drain(), std::vector<UINT>{});  // hidden: nothing to paint
  ShowWindow(other, SW_SHOW);
  EXPECT_EQ(drain(), std::vector<UINT>{WM_PAINT});
  EXPECT_EQ(seen_of({WM_ERASEBKGND}).size(), 1u);
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels = headless::client_pixels(other, &width, &height);
  ASSERT_EQ(width, 595);
  ASSERT_EQ(height, 515);  // 540 - 6 - 19
  EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kBackgroundPixel),
            static_cast<long>(pixels.size()));
}

TEST_F(PaintTest, BeginPaintErasesOnlyTheUpdateRectangle) {
  fill_client(RGB(255, 0, 0));
  RECT first{10, 10, 20, 20};
  RECT second{30, 5, 40, 15};
  InvalidateRect(window, &first, TRUE);
  InvalidateRect(window, &second, FALSE);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(paint.hdc, dc);
  EXPECT_EQ(paint.rcPaint.left, 10);
  EXPECT_EQ(paint.rcPaint.top, 5);
  EXPECT_EQ(paint.rcPaint.right, 40);
  EXPECT_EQ(paint.rcPaint.bottom, 20);
  EXPECT_FALSE(paint.fErase);  // the default handling erased it
  EndPaint(window, &paint);
  EXPECT_EQ(client_pixel(10, 5), kBackgroundPixel);
  EXPECT_EQ(client_pixel(39, 19), kBackgroundPixel);
  EXPECT_EQ(client_pixel(9, 5), 0x00FF0000u);
  EXPECT_EQ(client_pixel(40, 19), 0x00FF0000u);
  EXPECT_EQ(client_pixel(10, 20), 0x00FF0000u);
  // Validated: nothing left to paint, and a second BeginPaint has an empty rectangle.
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  BeginPaint(window, &paint);
  EXPECT_EQ(paint.rcPaint.right - paint.rcPaint.left, 0);
  EndPaint(window, &paint);
}

TEST_F(PaintTest, EraseLeftToTheProgramWithoutABrushOrWhenRefused) {
  on_message() = [](HWND, UINT message, WPARAM, LPARAM) { return message == WM_ERASEBKGND; };
  fill_client(RGB(255, 0, 0));
  InvalidateRect(window, nullptr, TRUE);
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  EXPECT_TRUE(paint.fErase);
  EndPaint(window, &paint);
  EXPECT_EQ(client_pixel(0, 0), 0x00FF0000u);
  InvalidateRect(window, nullptr, FALSE);
  BeginPaint(window, &paint);
  EXPECT_FALSE(paint.fErase);
  EndPaint(window, &paint);
  EXPECT_EQ(seen_of({WM_ERASEBKGND}).size(), 1u);
}

TEST_F(PaintTest, UpdateWindowPaintsAtOnce) {
  EXPECT_TRUE(UpdateWindow(window));
  EXPECT_TRUE(seen_of({WM_PAINT}).empty());
  InvalidateRect(window, nullptr, FALSE);
  EXPECT_TRUE(UpdateWindow(window));
  EXPECT_EQ(seen_of({WM_PAINT}).size(), 1u);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(PaintTest, BlitReachesTheClientAndTheFrameBelowTheMenuBar) {
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 1, "&Animate");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Run");
  SetMenu(window, bar);
  drain();

  HDC window_dc = GetDC(window);
  HDC memory = CreateCompatibleDC(window_dc);
  HBITMAP bitmap = CreateCompatibleBitmap(window_dc, 601, 540);
  HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
  SetPixel(memory, 0, 0, RGB(1, 2, 3));
  SetPixel(memory, 594, 495, RGB(4, 5, 6));
  ASSERT_TRUE(BitBlt(window_dc, 0, 0, 601, 540, memory, 0, 0, SRCCOPY));
  EXPECT_EQ(client_pixel(0, 0), 0x00010203u);
  EXPECT_EQ(client_pixel(594, 495), 0x00040506u);

  int width = 0;
  int height = 0;
  std::vector<uint32_t> frame = headless::frame_pixels(window, &width, &height);
  ASSERT_EQ(width, 595);
  ASSERT_EQ(height, 496 + GetSystemMetrics(SM_CYMENU));
  int bar_height = GetSystemMetrics(SM_CYMENU);
  EXPECT_EQ(frame[static_cast<size_t>(bar_height) * width], 0x00010203u);
  EXPECT_EQ(frame.back(), 0x00040506u);
  // The menu bar is painted above the client area, not left as client pixels.
  EXPECT_NE(frame[5 * width + 300], 0x00010203u);

  SelectObject(memory, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, window_dc);
}

TEST_F(PaintTest, PresentsOncePerPumpAndOnlyAfterChanges) {
  int before = headless::present_count(window);
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  EXPECT_EQ(headless::present_count(window), before);
  HDC dc = GetDC(window);
  for (int i = 0; i < 100; ++i) SetPixel(dc, i, i, RGB(255, 255, 0));
  ReleaseDC(window, dc);
  EXPECT_EQ(headless::present_count(window), before);
  PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  EXPECT_EQ(headless::present_count(window), before + 1);
  PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  EXPECT_EQ(headless::present_count(window), before + 1);
  // A hidden window shows nothing.
  ShowWindow(window, SW_HIDE);
  fill_client(RGB(0, 0, 255));
  PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  EXPECT_EQ(headless::present_count(window), before + 1);
}

TEST_F(PaintTest, ExposeRepaints) {
  headless::expose(window);
  EXPECT_EQ(drain(), std::vector<UINT>{WM_PAINT});
}

TEST_F(PaintTest, ResizableWindowsFollowTheUser) {
  HWND text = make_window(WS_OVERLAPPEDWINDOW, 0, 513, 1024, 256, "Text");
  ShowWindow(text, SW_SHOW);
  drain();
  seen().clear();
  headless::resize(text, 800, 200);
  RECT client;
  GetClientRect(text, &client);
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(client.bottom, 200);
  RECT outer;
  GetWindowRect(text, &outer);
  EXPECT_EQ(outer.right - outer.left, 808);
  EXPECT_EQ(outer.bottom - outer.top, 227);  // 200 + 2 * 4 + 19
  ASSERT_EQ(seen_of({WM_SIZE}).size(), 1u);
  EXPECT_EQ(seen().back().lparam, MAKELPARAM(800, 200));
  EXPECT_EQ(drain(), std::vector<UINT>{WM_PAINT});
  int width = 0;
  int height = 0;
  EXPECT_EQ(headless::client_pixels(text, &width, &height).size(), 800u * 200u);
  // A window without a sizing border keeps its size.
  headless::resize(window, 300, 300);
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 595);
}

}  // namespace
