// BitBlt and ScrollDC: clipped copies that come out right when source and destination overlap;
// ScrollDC leaves the pixels it uncovers as they were and reports them.
#include <gtest/gtest.h>

#include "test_canvas.h"

using namespace gdi_test;

namespace {

// A distinct colour for every pixel position.
COLORREF colour_of(int x, int y) {
  return RGB(x * 7 + 1, y * 5 + 2, (x + y) & 0xFF);
}

void paint_pattern(Canvas& canvas) {
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) SetPixel(canvas.dc, x, y, colour_of(x, y));
  }
}

// After a copy by (dx, dy) of the block (x, y, w, h) within one bitmap, each pixel holds the
// pattern from where it was copied, or its own pattern where nothing was copied.
void expect_moved(const Canvas& canvas, int x, int y, int w, int h, int dx, int dy) {
  for (int py = 0; py < canvas.height; ++py) {
    for (int px = 0; px < canvas.width; ++px) {
      const int sx = px - dx, sy = py - dy;
      const bool copied = px >= x + dx && px < x + dx + w && py >= y + dy && py < y + dy + h &&
                          sx >= 0 && sy >= 0 && sx < canvas.width && sy < canvas.height;
      const COLORREF expected = copied ? colour_of(sx, sy) : colour_of(px, py);
      ASSERT_EQ(canvas.at(px, py), expected) << px << "," << py << " moved by " << dx << "," << dy;
    }
  }
}

}  // namespace

TEST(GdiBitBlt, CopiesBetweenMemoryDcs) {
  Canvas from(10, 8);
  Canvas to(12, 12);
  paint_pattern(from);
  EXPECT_TRUE(BitBlt(to.dc, 3, 4, 5, 3, from.dc, 2, 1, SRCCOPY));
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 3 && x < 8 && y >= 4 && y < 7;
      EXPECT_EQ(to.at(x, y), inside ? colour_of(x - 1, y - 3) : kPaper) << x << "," << y;
    }
  }
}

TEST(GdiBitBlt, ClipsToBothBitmaps) {
  Canvas from(6, 6);
  Canvas to(8, 8);
  paint_pattern(from);
  // Reaches past the source's right edge and the destination's top edge.
  EXPECT_TRUE(BitBlt(to.dc, 4, -2, 10, 5, from.dc, 3, 0, SRCCOPY));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const int sx = x - 1, sy = y + 2;
      const bool inside = x >= 4 && x < 7 && y < 3;
      EXPECT_EQ(to.at(x, y), inside ? colour_of(sx, sy) : kPaper) << x << "," << y;
    }
  }
  EXPECT_TRUE(BitBlt(to.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX, from.dc, INT_MAX, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(to.dc, 0, 0, 8, 8, from.dc, -100, -100, SRCCOPY));
  EXPECT_EQ(to.count(kPaper), 64 - 9);
}

TEST(GdiBitBlt, OverlappingCopiesWithinOneBitmap) {
  const int moves[][2] = {{2, 1}, {-2, -1}, {3, -2}, {-1, 3}, {0, 2}, {0, -2}, {4, 0}, {-4, 0}};
  for (const auto& move : moves) {
    Canvas canvas(16, 12);
    paint_pattern(canvas);
    BitBlt(canvas.dc, 3 + move[0], 2 + move[1], 9, 7, canvas.dc, 3, 2, SRCCOPY);
    expect_moved(canvas, 3, 2, 9, 7, move[0], move[1]);
  }
}

TEST(GdiBitBlt, NegativeSizesAndUnsupportedCallsFail) {
  Canvas from(6, 6);
  Canvas to(6, 6);
  paint_pattern(from);
  EXPECT_FALSE(BitBlt(to.dc, 0, 0, 3, 3, nullptr, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(to.dc, 0, 0, 3, 3, from.dc, 0, 0, 0x00EE0086));
  EXPECT_EQ(to.count(kPaper), 36);
  // Negative sizes measure back from the given corner in both bitmaps alike.
  EXPECT_TRUE(BitBlt(to.dc, 4, 4, -2, -2, from.dc, 3, 3, SRCCOPY));
  EXPECT_EQ(to.at(2, 2), colour_of(1, 1));
  EXPECT_EQ(to.at(3, 3), colour_of(2, 2));
  EXPECT_EQ(to.count(kPaper), 32);
}

TEST(GdiScrollDc, ScrollsTheWholeSurfaceAndKeepsTheUncoveredRows) {
  Canvas canvas(10, 9);
  paint_pattern(canvas);
  RECT update{};
  EXPECT_TRUE(ScrollDC(canvas.dc, 0, -3, nullptr, nullptr, nullptr, &update));
  expect_moved(canvas, 0, 0, 10, 9, 0, -3);
  EXPECT_EQ(update.left, 0);
  EXPECT_EQ(update.top, 6);
  EXPECT_EQ(update.right, 10);
  EXPECT_EQ(update.bottom, 9);
}

TEST(GdiScrollDc, ScrollAndClipRectanglesLimitTheCopy) {
  Canvas canvas(12, 10);
  paint_pattern(canvas);
  const RECT scroll{2, 2, 8, 8};
  RECT update{};
  ScrollDC(canvas.dc, 2, 0, &scroll, nullptr, nullptr, &update);
  // Only what was inside the scroll rectangle moves, and only inside it.
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool moved = x >= 4 && x < 8 && y >= 2 && y < 8;
      EXPECT_EQ(canvas.at(x, y), moved ? colour_of(x - 2, y) : colour_of(x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(update.left, 2);
  EXPECT_EQ(update.right, 4);
  EXPECT_EQ(update.top, 2);
  EXPECT_EQ(update.bottom, 8);

  paint_pattern(canvas);
  const RECT clip{0, 0, 12, 5};
  ScrollDC(canvas.dc, 0, 3, nullptr, &clip, nullptr, nullptr);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool moved = y >= 3 && y < 5;
      EXPECT_EQ(canvas.at(x, y), moved ? colour_of(x, y - 3) : colour_of(x, y)) << x << "," << y;
    }
  }
}
