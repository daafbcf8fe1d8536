// Rectangle: the box covers left..right-1 and top..bottom-1; a one-pixel pen frames it and the
// brush fills inside; without a pen the fill loses a column and a row; a wide pen paints a band
// centred on the frame with rounded corners.
#include <gtest/gtest.h>

#include "test_canvas.h"

using namespace gdi_test;

TEST(GdiRectangle, PenFramesAndBrushFillsTheBoxWithoutRightColumnAndBottomRow) {
  Canvas canvas(8, 6);
  Tools tools(canvas.dc, 1, kRed, kBlue);
  EXPECT_TRUE(Rectangle(canvas.dc, 1, 1, 7, 5));
  EXPECT_EQ(canvas.picture(),
            rows({"........", ".RRRRRR.", ".RBBBBR.", ".RBBBBR.", ".RRRRRR.", "........"}));
}

TEST(GdiRectangle, FilledWithSameColourCoversExactlyTheBox) {
  // What a filled rectangle of the runtime does: pen of width 0 and brush in one colour.
  Canvas canvas(9, 9);
  Tools tools(canvas.dc, 0, kGreen, kGreen);
  Rectangle(canvas.dc, 3, 3, 6, 6);
  EXPECT_EQ(canvas.count(kGreen), 9);
  for (int y = 3; y < 6; ++y) {
    for (int x = 3; x < 6; ++x) EXPECT_EQ(canvas.at(x, y), kGreen) << x << "," << y;
  }
}

TEST(GdiRectangle, NullPenFillsOneColumnAndRowLess) {
  Canvas canvas(8, 6);
  Tools tools(canvas.dc, -1, kRed, kBlue);
  Rectangle(canvas.dc, 1, 1, 7, 5);
  EXPECT_EQ(canvas.picture(),
            rows({"........", ".BBBBB..", ".BBBBB..", ".BBBBB..", "........", "........"}));
}

TEST(GdiRectangle, NullBrushLeavesTheInside) {
  Canvas canvas(6, 5);
  canvas.clear(kGreen);
  Tools tools(canvas.dc, 1, kRed, CLR_INVALID);
  Rectangle(canvas.dc, 0, 0, 6, 5);
  EXPECT_EQ(canvas.count(kGreen), 4 * 3);
  EXPECT_EQ(canvas.count(kRed), 6 * 5 - 4 * 3);
}

TEST(GdiRectangle, EmptyBoxesPaintNothing) {
  Canvas canvas(8, 8);
  for (int width : {-1, 1, 5}) {
    Tools tools(canvas.dc, width, kRed, kBlue);
    EXPECT_TRUE(Rectangle(canvas.dc, 3, 2, 3, 6));
    EXPECT_TRUE(Rectangle(canvas.dc, 1, 4, 6, 4));
    EXPECT_TRUE(Rectangle(canvas.dc, 4, 4, 4, 4));
  }
  EXPECT_EQ(canvas.count(kPaper), 64);
}

TEST(GdiRectangle, ThinBoxesAreFramedByLinesWithoutEndPoints) {
  Canvas canvas(6, 6);
  Tools tools(canvas.dc, 1, kRed, kBlue);
  Rectangle(canvas.dc, 1, 1, 2, 5);  // one column: down and back up again
  Rectangle(canvas.dc, 3, 1, 6, 2);  // one row
  Rectangle(canvas.dc, 4, 4, 5, 5);  // one pixel: every line starts and ends there, none paints
  EXPECT_EQ(canvas.picture(), rows({"......", ".R.RRR", ".R....", ".R....", ".R....", "......"}));
}

TEST(GdiRectangle, ReversedCornersAreNormalised) {
  for (int width : {-1, 1, 4}) {
    Canvas straight(12, 10);
    Canvas reversed(12, 10);
    Canvas half(12, 10);
    {
      Tools a(straight.dc, width, kRed, kBlue);
      Tools b(reversed.dc, width, kRed, kBlue);
      Tools c(half.dc, width, kRed, kBlue);
      Rectangle(straight.dc, 2, 3, 9, 8);
      Rectangle(reversed.dc, 9, 8, 2, 3);
      Rectangle(half.dc, 9, 3, 2, 8);
    }
    EXPECT_EQ(reversed.picture(), straight.picture()) << "pen width " << width;
    EXPECT_EQ(half.picture(), straight.picture()) << "pen width " << width;
  }
}

TEST(GdiRectangle, WidePenBandIsCentredWithRoundedCorners) {
  Canvas canvas(14, 12);
  Tools tools(canvas.dc, 3, kRed, CLR_INVALID);
  Rectangle(canvas.dc, 3, 3, 11, 9);
  EXPECT_EQ(canvas.picture(),
            rows({"..............", "..............", "...RRRRRRRR...", "..RRRRRRRRRR..",
                  "..RRRRRRRRRR..", "..RRR....RRR..", "..RRR....RRR..", "..RRRRRRRRRR..",
                  "..RRRRRRRRRR..", "...RRRRRRRR...", "..............", ".............."}));
}

TEST(GdiRectangle, EvenWidePenSitsOnePixelUpLeft) {
  Canvas canvas(16, 14);
  Tools tools(canvas.dc, 4, kRed, CLR_INVALID);
  Rectangle(canvas.dc, 4, 4, 12, 10);
  // The frame runs through columns 4 and 11 and rows 4 and 9; a band of 4 reaches two pixels
  // up or left of it and one pixel down or right.
  int left = 99, right = -1, top = 99, bottom = -1;
  for (int y = 0; y < 14; ++y) {
    for (int x = 0; x < 16; ++x) {
      if (canvas.at(x, y) != kRed) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  EXPECT_EQ(left, 2);
  EXPECT_EQ(right, 12);
  EXPECT_EQ(top, 2);
  EXPECT_EQ(bottom, 10);
  EXPECT_EQ(canvas.at(2, 2), kPaper) << canvas.picture();  // rounded corners
  EXPECT_EQ(canvas.at(12, 10), kPaper) << canvas.picture();
  // Inside, the band reaches one pixel past the frame on the top and left, two on the right and
  // bottom; the rest keeps its pixels.
  for (int x = 6; x <= 8; ++x) EXPECT_EQ(canvas.at(x, 6), kPaper) << x << "\n" << canvas.picture();
  EXPECT_EQ(canvas.at(5, 6), kRed);
  EXPECT_EQ(canvas.at(9, 6), kRed);
  EXPECT_EQ(canvas.at(7, 5), kRed);
  EXPECT_EQ(canvas.at(7, 7), kRed);
}

// A filled box may be written only when something else touches the pixels, less what the next
// box covers, and only down to the rows that other shapes touch. Drawn with a read after every
// call (nothing left unwritten) and without, random boxes, partly and wholly covering each
// other, mixed with ellipses, triangles, lines and copies out, must give the same pixels.
TEST(GdiRectangle, FillsWrittenLateGiveThePixelsOfFillsWrittenAtOnce) {
  const COLORREF colours[] = {kRed, kBlue, kGreen};
  Canvas late(24, 20);
  Canvas prompt(24, 20);
  Canvas copy(24, 20);
  unsigned seed = 7;
  const auto next = [&seed](int n) {
    seed = seed * 1103515245 + 12345;
    return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
  };
  for (int i = 0; i < 2000; ++i) {
    const int pen = next(3) - 1;  // null, thin or wide
    const COLORREF fill = colours[next(3)];
    const COLORREF outline = next(2) ? fill : colours[next(3)];
    const int box[4] = {next(30) - 3, next(26) - 3, next(30) - 3, next(26) - 3};
    const int shape = next(12);
    for (Canvas* canvas : {&late, &prompt}) {
      Tools tools(canvas->dc, pen < 0 ? -1 : pen * 5, outline, fill);
      const POINT corners[3] = {{box[0], box[1]}, {box[2], box[3]}, {box[0], box[3]}};
      if (shape == 0) Ellipse(canvas->dc, box[0], box[1], box[2], box[3]);
      if (shape == 1) Polygon(canvas->dc, corners, 3);
      if (shape == 2) MoveToEx(canvas->dc, box[0], box[1], nullptr);
      if (shape == 2) LineTo(canvas->dc, box[2], box[3]);
      if (shape > 2) Rectangle(canvas->dc, box[0], box[1], box[2], box[3]);
    }
    prompt.at(0, 0);
    if (next(16) == 0) {
      ASSERT_TRUE(BitBlt(copy.dc, 0, 0, 24, 20, late.dc, 0, 0, SRCCOPY));
      ASSERT_EQ(copy.picture(), prompt.picture()) << "after call " << i;
    }
  }
  EXPECT_EQ(late.picture(), prompt.picture());
}
