// PatBlt: the selected brush combined with the pixels of a box by a raster operation that reads
// no source; negative sizes count from the other side. And SetPixelV, SetPixel's BOOL twin.
#include <gtest/gtest.h>

#include <climits>

#include "test_canvas.h"

using namespace gdi_test;

TEST(GdiPatBlt, CombinesTheBrushWithTheBoxOnly) {
  Canvas canvas(8, 5);
  Tools tools(canvas.dc, -1, 0, kRed);
  ASSERT_TRUE(PatBlt(canvas.dc, 5, 4, -3, -2, PATCOPY));
  ASSERT_TRUE(PatBlt(canvas.dc, -2, 0, 3, 1, PATCOPY));
  EXPECT_EQ(canvas.picture(), rows({"R.......", "........", "..RRR...", "..RRR...", "........"}));
  ASSERT_TRUE(PatBlt(canvas.dc, 3, 0, 1, 5, PATINVERT));
  EXPECT_EQ(canvas.at(3, 0), kPaper ^ kRed);
  EXPECT_EQ(canvas.at(3, 2), RGB(0, 0, 0));
  ASSERT_TRUE(PatBlt(canvas.dc, 0, 4, 8, 1, DSTINVERT));
  EXPECT_EQ(canvas.at(5, 4), kPaper ^ RGB(255, 255, 255));
  ASSERT_TRUE(PatBlt(canvas.dc, 7, 0, 1, 1, WHITENESS));
  ASSERT_TRUE(PatBlt(canvas.dc, 6, 0, 1, 1, BLACKNESS));
  EXPECT_EQ(canvas.at(7, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(6, 0), RGB(0, 0, 0));

  const std::string before = canvas.picture();
  EXPECT_FALSE(PatBlt(canvas.dc, 0, 0, 8, 5, SRCCOPY)) << "it reads a source";
  EXPECT_TRUE(PatBlt(canvas.dc, INT_MAX, INT_MIN, INT_MAX, INT_MIN, PATCOPY));
  SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
  EXPECT_TRUE(PatBlt(canvas.dc, 0, 0, 8, 5, PATCOPY));
  EXPECT_EQ(canvas.picture(), before) << "a hollow brush has nothing to give";
  EXPECT_FALSE(PatBlt(nullptr, 0, 0, 1, 1, PATCOPY));
}

TEST(GdiPatBlt, SetPixelVTellsOnlyWhetherItDrew) {
  Canvas canvas(2, 2);
  EXPECT_TRUE(SetPixelV(canvas.dc, 1, 0, kBlue));
  EXPECT_EQ(canvas.picture(), rows({".B", ".."}));
  EXPECT_FALSE(SetPixelV(nullptr, 1, 0, kBlue));
}
