// Lines: one-pixel lines are Bresenham lines without their end point, ties broken by octant as
// Windows breaks them; wide lines are a band of the pen's width with round caps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <utility>

#include "test_canvas.h"

using namespace gdi_test;

namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels line_pixels(int pen_width, int x0, int y0, int x1, int y1, int size = 20) {
  Canvas canvas(size, size);
  Tools tools(canvas.dc, pen_width, kRed, CLR_INVALID);
  MoveToEx(canvas.dc, x0, y0, nullptr);
  LineTo(canvas.dc, x1, y1);
  Pixels pixels;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (canvas.at(x, y) == kRed) pixels.insert({x, y});
    }
  }
  return pixels;
}

}  // namespace

TEST(GdiLine, EndPointIsNotPaintedInAnyDirection) {
  const int cx = 10, cy = 10;
  for (int dx = -8; dx <= 8; ++dx) {
    for (int dy = -8; dy <= 8; ++dy) {
      if (dx == 0 && dy == 0) continue;
      const Pixels pixels = line_pixels(1, cx, cy, cx + dx, cy + dy);
      const int major = std::max(std::abs(dx), std::abs(dy));
      EXPECT_EQ(static_cast<int>(pixels.size()), major) << dx << "," << dy;
      EXPECT_TRUE(pixels.count({cx, cy})) << dx << "," << dy;
      EXPECT_FALSE(pixels.count({cx + dx, cy + dy})) << dx << "," << dy;
      // One pixel per step along the major axis, each within half a pixel of the true line.
      for (auto [x, y] : pixels) {
        const double t = std::abs(dx) >= std::abs(dy) ? double(x - cx) / dx : double(y - cy) / dy;
        EXPECT_GE(t, 0.0);
        EXPECT_LT(t, 1.0);
        const double ideal = std::abs(dx) >= std::abs(dy) ? cy + t * dy : cx + t * dx;
        const int minor = std::abs(dx) >= std::abs(dy) ? y : x;
        EXPECT_LE(std::abs(minor - ideal), 0.5) << dx << "," << dy << " at " << x << "," << y;
      }
    }
  }
}

TEST(GdiLine, TiesAreBrokenByOctant) {
  // Going right or down the minor coordinate stays on a tie; going left up it steps.
  EXPECT_EQ(line_pixels(1, 1, 1, 5, 3), (Pixels{{1, 1}, {2, 1}, {3, 2}, {4, 2}}));
  EXPECT_EQ(line_pixels(1, 5, 3, 1, 1), (Pixels{{5, 3}, {4, 2}, {3, 2}, {2, 1}}));
  EXPECT_EQ(line_pixels(1, 1, 1, 3, 5), (Pixels{{1, 1}, {1, 2}, {2, 3}, {2, 4}}));
  EXPECT_EQ(line_pixels(1, 3, 1, 1, 5), (Pixels{{3, 1}, {2, 2}, {2, 3}, {1, 4}}));
}

TEST(GdiLine, PointToItselfPaintsNothingButAWidePensDab) {
  EXPECT_TRUE(line_pixels(0, 7, 7, 7, 7).empty());
  EXPECT_TRUE(line_pixels(1, 7, 7, 7, 7).empty());
  EXPECT_EQ(line_pixels(2, 7, 7, 7, 7), (Pixels{{6, 6}, {7, 6}, {6, 7}, {7, 7}}));
  const Pixels dab = line_pixels(5, 7, 7, 7, 7);
  EXPECT_EQ(dab.size(), 21u);  // 5 x 5 without its corners
  EXPECT_FALSE(dab.count({5, 5}));
  EXPECT_TRUE(dab.count({6, 5}));
  EXPECT_TRUE(dab.count({5, 6}));
  EXPECT_TRUE(dab.count({9, 7}));
  EXPECT_FALSE(dab.count({9, 9}));
}

TEST(GdiLine, LineToMovesTheCurrentPosition) {
  Canvas canvas(10, 10);
  Tools tools(canvas.dc, 1, kRed, CLR_INVALID);
  MoveToEx(canvas.dc, 1, 1, nullptr);
  LineTo(canvas.dc, 5, 1);
  LineTo(canvas.dc, 5, 5);
  POINT at{};
  MoveToEx(canvas.dc, 0, 0, &at);
  EXPECT_EQ(at.x, 5);
  EXPECT_EQ(at.y, 5);
  EXPECT_EQ(canvas.at(5, 1), kRed);  // the first line's end, painted by the second
  EXPECT_EQ(canvas.at(5, 5), kPaper);
  SelectObject(canvas.dc, GetStockObject(NULL_PEN));
  EXPECT_TRUE(LineTo(canvas.dc, 8, 0));
  MoveToEx(canvas.dc, 0, 0, &at);
  EXPECT_EQ(at.x, 8);
  EXPECT_EQ(canvas.count(kRed), 8);
}

TEST(GdiLine, WideHorizontalLineHasBodyAndRoundCaps) {
  Canvas canvas(14, 11);
  Tools tools(canvas.dc, 5, kRed, CLR_INVALID);
  MoveToEx(canvas.dc, 3, 5, nullptr);
  LineTo(canvas.dc, 10, 5);
  EXPECT_EQ(canvas.picture(),
            rows({"..............", "..............", "..............", "..RRRRRRRRRR..",
                  ".RRRRRRRRRRRR.", ".RRRRRRRRRRRR.", ".RRRRRRRRRRRR.", "..RRRRRRRRRR..",
                  "..............", "..............", ".............."}));
}

TEST(GdiLine, EvenWideVerticalLineSitsOnePixelLeft) {
  const Pixels pixels = line_pixels(4, 8, 4, 8, 14);
  int left = 99, right = -1, top = 99, bottom = -1;
  for (auto [x, y] : pixels) {
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
  EXPECT_EQ(left, 6);
  EXPECT_EQ(right, 9);
  EXPECT_EQ(top, 2);
  EXPECT_EQ(bottom, 15);
  EXPECT_TRUE(pixels.count({8, 14}));  // the cap covers the end point
}

TEST(GdiLine, WideDiagonalLineIsABandAroundTheLine) {
  for (int width : {2, 3, 4, 7}) {
    const Pixels pixels = line_pixels(width, 4, 5, 26, 17, 32);
    const double dx = 22, dy = 12, length = std::hypot(dx, dy);
    for (int x = 0; x < 32; ++x) {
      for (int y = 0; y < 32; ++y) {
        // Distance from the segment (ends included).
        double t = ((x - 4) * dx + (y - 5) * dy) / (length * length);
        t = std::clamp(t, 0.0, 1.0);
        const double distance = std::hypot(x - (4 + t * dx), y - (5 + t * dy));
        if (distance <= width / 2.0 - 1.0) {
          EXPECT_TRUE(pixels.count({x, y})) << width << ": " << x << "," << y;
        }
        if (distance >= width / 2.0 + 1.0) {
          EXPECT_FALSE(pixels.count({x, y})) << width << ": " << x << "," << y;
        }
      }
    }
  }
}
