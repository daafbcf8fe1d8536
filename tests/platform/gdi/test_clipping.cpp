// Clipping: whatever lies outside the bitmap is cut off, the visible part is exactly what a
// larger bitmap shows there, and coordinates anywhere in the int range never write outside.
// (The sanitizer build catches a write out of bounds.)
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <iterator>
#include <random>
#include <string>

#include "test_canvas.h"

using namespace gdi_test;

namespace {

using Draw = std::function<void(HDC dc, int dx, int dy)>;

// The shape drawn on a small bitmap, and on a large one shifted by (dx, dy) and cut back.
void expect_same_as_window_of_larger(const Draw& draw, int pen_width, const std::string& what) {
  const int w = 23, h = 17, dx = 30, dy = 25;
  Canvas small(w, h);
  Canvas large(w + 2 * dx, h + 2 * dy);
  {
    Tools a(small.dc, pen_width, kRed, kBlue);
    Tools b(large.dc, pen_width, kRed, kBlue);
    draw(small.dc, 0, 0);
    draw(large.dc, dx, dy);
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      ASSERT_EQ(small.at(x, y), large.at(x + dx, y + dy))
          << what << " pen " << pen_width << " at " << x << "," << y << "\n"
          << small.picture();
    }
  }
}

}  // namespace

TEST(GdiClipping, VisiblePartEqualsTheSameWindowOfALargerBitmap) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> c(-25, 48);
  for (int round = 0; round < 60; ++round) {
    const int x0 = c(random), y0 = c(random), x1 = c(random), y1 = c(random);
    const int x2 = c(random), y2 = c(random);
    for (int pen : {-1, 1, 3, 4}) {
      expect_same_as_window_of_larger(
          [&](HDC dc, int dx, int dy) { Rectangle(dc, x0 + dx, y0 + dy, x1 + dx, y1 + dy); }, pen,
          "rectangle");
      expect_same_as_window_of_larger(
          [&](HDC dc, int dx, int dy) { Ellipse(dc, x0 + dx, y0 + dy, x1 + dx, y1 + dy); }, pen,
          "ellipse");
      expect_same_as_window_of_larger(
          [&](HDC dc, int dx, int dy) {
            const POINT points[] = {{x0 + dx, y0 + dy}, {x1 + dx, y1 + dy}, {x2 + dx, y2 + dy}};
            Polygon(dc, points, 3);
          },
          pen, "triangle");
      expect_same_as_window_of_larger(
          [&](HDC dc, int dx, int dy) {
            MoveToEx(dc, x0 + dx, y0 + dy, nullptr);
            LineTo(dc, x1 + dx, y1 + dy);
          },
          pen, "line");
    }
  }
}

TEST(GdiClipping, ShapesFarOutsideTheDrawingSurface) {
  Canvas canvas(601, 540);
  Tools tools(canvas.dc, 0, kRed, kRed);
  // A rectangle reaching far above and below: its columns, every row.
  Rectangle(canvas.dc, 100, -280, 110, 280);
  EXPECT_EQ(canvas.at(100, 0), kRed);
  EXPECT_EQ(canvas.at(109, 279), kRed);
  EXPECT_EQ(canvas.at(109, 280), kPaper);
  // A triangle starting far to the left.
  const POINT triangle[] = {{-450, 270}, {300, 100}, {300, 440}};
  Polygon(canvas.dc, triangle, 3);
  EXPECT_EQ(canvas.at(0, 270), kRed);
  EXPECT_EQ(canvas.at(299, 270), kRed);
  EXPECT_EQ(canvas.at(0, 100), kPaper);
  EXPECT_EQ(canvas.at(301, 270), kPaper);
}

// Coordinates from one end of the int range to the other, with pens of every width: a small
// bitmap shows exactly the middle of a larger one given the same calls moved by kMove, so no
// arithmetic overflows into a different shape and nothing written past an edge lands in the
// next row. The small bitmap takes INT_MIN, the larger one INT_MAX. Sizes beyond the int range
// stay the same when moved, so shapes of such sizes are checked against known pictures too.
TEST(GdiClipping, ExtremeCoordinatesStayInBounds) {
  constexpr int kMove = 30;
  const int extremes[] = {INT_MIN,    INT_MIN + 1,         -1000000000,    -1, 0, 5,
                          1000000000, INT_MAX - kMove - 1, INT_MAX - kMove};
  const int w = 11, h = 9;
  Canvas small(w, h);
  Canvas large(w + 2 * kMove, h + 2 * kMove);
  int painting = 0;  // calls that reach the small bitmap
  for (int pen : {-1, 0, 1, 2, 5, 1000000, INT_MIN}) {
    for (int a : extremes) {
      for (int b : extremes) {
        const std::function<void(HDC, int)> calls[] = {
            [&](HDC dc, int m) { Rectangle(dc, a + m, b + m, b + m, a + m); },
            [&](HDC dc, int m) { Rectangle(dc, a + m, 3 + m, b + m, 6 + m); },
            [&](HDC dc, int m) { Ellipse(dc, a + m, b + m, 5 + m, 4 + m); },
            [&](HDC dc, int m) { Ellipse(dc, a + m, a + m, b + m, b + m); },
            [&](HDC dc, int m) {
              const POINT triangle[] = {{a + m, b + m}, {b + m, a + m}, {5 + m, 4 + m}};
              Polygon(dc, triangle, 3);
            },
            [&](HDC dc, int m) {
              const POINT wide[] = {{a + m, a + m}, {b + m, a + m}, {b + m, b + m}, {a + m, b + m}};
              Polygon(dc, wide, 4);
            },
            [&](HDC dc, int m) {
              MoveToEx(dc, a + m, b + m, nullptr);
              LineTo(dc, b + m, a + m);
              LineTo(dc, 4 + m, 4 + m);
              LineTo(dc, a + m, a + m);
            },
            [&](HDC dc, int m) { SetPixel(dc, a + m, b + m, kGreen); },
        };
        for (size_t call = 0; call < std::size(calls); ++call) {
          for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
              SetPixel(small.dc, x, y, kPaper);
              SetPixel(large.dc, x + kMove, y + kMove, kPaper);
            }
          }
          {
            Tools on_small(small.dc, pen, kRed, kBlue);
            Tools on_large(large.dc, pen, kRed, kBlue);
            calls[call](small.dc, 0);
            calls[call](large.dc, kMove);
          }
          for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
              ASSERT_EQ(small.at(x, y), large.at(x + kMove, y + kMove))
                  << "call " << call << ", pen " << pen << ", a " << a << ", b " << b << ", at "
                  << x << "," << y << "\n"
                  << small.picture();
            }
          }
          painting += small.count(kPaper) < w * h ? 1 : 0;
        }
      }
    }
  }
  // More than half of the 4536 calls reach the small bitmap: the pictures compared are not blank.
  EXPECT_GT(painting, 2000);

  // An ellipse leaves the corner of its box empty, a band runs along its rows, a line down its
  // column, and a wide line covers its width in rows.
  small.clear(kPaper);
  {
    Tools tools(small.dc, 1, kRed, kBlue);
    Ellipse(small.dc, -5, -5, INT_MAX, INT_MAX);
    Rectangle(small.dc, INT_MIN, 3, INT_MAX, 6);
    MoveToEx(small.dc, 7, INT_MAX, nullptr);
    LineTo(small.dc, 7, INT_MIN);
  }
  {
    Tools tools(small.dc, 3, kGreen, kBlue);
    MoveToEx(small.dc, INT_MAX, 8, nullptr);
    LineTo(small.dc, INT_MIN, 8);
  }
  EXPECT_EQ(small.picture(), rows({".......R...",  //
                                   ".......R...",  //
                                   ".......R...",  //
                                   "RRRRRRRRRRR",  //
                                   "BBBBBBBRBBB",  //
                                   "RRRRRRRRRRR",  //
                                   ".......R...",  //
                                   "GGGGGGGGGGG",  //
                                   "GGGGGGGGGGG"}));
}

TEST(GdiClipping, WholeRangeShapesGiveTheirInsides) {
  Canvas canvas(11, 9);
  Tools tools(canvas.dc, 1, kRed, kBlue);
  Rectangle(canvas.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(canvas.count(kBlue), 11 * 9);
  // The middle of an ellipse a billion pixels across is all fill.
  canvas.clear(kPaper);
  Ellipse(canvas.dc, -1000000000, -1000000000, 1000000000, 1000000000);
  EXPECT_EQ(canvas.count(kBlue), 11 * 9);
  // Its left end, from the middle row: outline at column 0, fill to the right.
  canvas.clear(kPaper);
  Ellipse(canvas.dc, 0, -999999996, 2000000000, 1000000005);
  EXPECT_EQ(canvas.at(0, 4), kRed) << canvas.picture();
  EXPECT_EQ(canvas.at(5, 4), kBlue) << canvas.picture();
  // The diagonal through the origin from one corner of the range to the other.
  canvas.clear(kPaper);
  MoveToEx(canvas.dc, INT_MIN + 1, INT_MIN + 1, nullptr);
  LineTo(canvas.dc, INT_MAX, INT_MAX);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(canvas.at(i, i), kRed) << i;
  EXPECT_EQ(canvas.count(kRed), 9);
  // A huge triangle's edge crossing the bitmap.
  canvas.clear(kPaper);
  SelectObject(canvas.dc, GetStockObject(NULL_PEN));
  const POINT triangle[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
  Polygon(canvas.dc, triangle, 3);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 11; ++x) {
      EXPECT_EQ(canvas.at(x, y), x < y ? kBlue : kPaper) << x << "," << y;
    }
  }
}
