// Text through a DC: the selected font's metrics and extents, and TextOutA with the cell's
// top-left at the point, painting glyph pixels only or the whole cell first.
#include <gtest/gtest.h>

#include <string>

#include "test_canvas.h"

using namespace gdi_test;

namespace {

struct FontOn {
  HDC dc;
  HFONT font;
  HGDIOBJ previous;
  FontOn(HDC d, int height) : dc(d) {
    font = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "VORLA-font");
    previous = SelectObject(dc, font);
  }
  ~FontOn() {
    SelectObject(dc, previous);
    DeleteObject(font);
  }
};

SIZE extent(HDC dc, const std::string& text) {
  SIZE size{-1, -1};
  EXPECT_TRUE(GetTextExtentPointA(dc, text.data(), static_cast<int>(text.size()), &size));
  return size;
}

}  // namespace

TEST(GdiText, ExtentIsTheSumOfAdvancesAndTheCellHeight) {
  Canvas canvas(4, 4);
  for (int height : {-11, -16, -24, 20}) {
    FontOn font(canvas.dc, height);
    TEXTMETRICA metrics{};
    ASSERT_TRUE(GetTextMetricsA(canvas.dc, &metrics));
    const std::string text = "Scoops: 4, Toppings!";
    long sum = 0;
    for (char c : text) sum += extent(canvas.dc, std::string(1, c)).cx;
    const SIZE whole = extent(canvas.dc, text);
    EXPECT_EQ(whole.cx, sum) << height;
    EXPECT_EQ(whole.cy, metrics.tmHeight) << height;
    EXPECT_EQ(extent(canvas.dc, "").cx, 0);
    EXPECT_EQ(extent(canvas.dc, "").cy, 0);
    if (height < 0) {
      EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, -height) << height;
    }
  }
}

TEST(GdiText, SelectedFontDecidesTheMetrics) {
  Canvas canvas(4, 4);
  TEXTMETRICA small{}, large{};
  {
    FontOn font(canvas.dc, -10);
    GetTextMetricsA(canvas.dc, &small);
  }
  {
    FontOn font(canvas.dc, -30);
    GetTextMetricsA(canvas.dc, &large);
  }
  EXPECT_GT(large.tmHeight, small.tmHeight * 2);
  SelectObject(canvas.dc, GetStockObject(ANSI_FIXED_FONT));
  EXPECT_EQ(extent(canvas.dc, "iiii").cx, extent(canvas.dc, "WWWW").cx);
  TEXTMETRICA fixed{};
  GetTextMetricsA(canvas.dc, &fixed);
  EXPECT_GT(fixed.tmHeight, 8);
}

TEST(GdiText, BadArgumentsFail) {
  Canvas canvas(4, 4);
  SIZE size{};
  EXPECT_FALSE(GetTextExtentPointA(canvas.dc, "abc", -1, &size));
  EXPECT_FALSE(GetTextExtentPointA(canvas.dc, "abc", 3, nullptr));
  EXPECT_FALSE(GetTextExtentPointA(canvas.dc, nullptr, 3, &size));
  EXPECT_FALSE(GetTextMetricsA(canvas.dc, nullptr));
  EXPECT_FALSE(TextOutA(canvas.dc, 0, 0, "abc", -1));
  EXPECT_FALSE(TextOutA(canvas.dc, 0, 0, nullptr, 2));
  EXPECT_TRUE(TextOutA(canvas.dc, 0, 0, "abc", 0));
  EXPECT_EQ(canvas.count(kPaper), 16);
}

TEST(GdiText, TransparentModePaintsGlyphPixelsInsideTheCell) {
  Canvas canvas(120, 40);
  FontOn font(canvas.dc, -16);
  SetTextColor(canvas.dc, kRed);
  SetBkColor(canvas.dc, kBlue);
  SetBkMode(canvas.dc, TRANSPARENT);
  const std::string text = "Agjy[Q]";
  ASSERT_TRUE(TextOutA(canvas.dc, 9, 7, text.data(), static_cast<int>(text.size())));
  const SIZE size = extent(canvas.dc, text);
  EXPECT_EQ(canvas.count(kBlue), 0);
  EXPECT_GT(canvas.count(kRed), 40);
  EXPECT_EQ(canvas.count(kRed) + canvas.count(kPaper), 120 * 40);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      if (canvas.at(x, y) != kRed) continue;
      EXPECT_GE(y, 7);
      EXPECT_LT(y, 7 + size.cy);
      EXPECT_GE(x, 9);
      EXPECT_LT(x, 9 + size.cx + 2);
    }
  }
}

TEST(GdiText, OpaqueModeFillsTheCellWithTheBackgroundColour) {
  Canvas canvas(120, 40);
  FontOn font(canvas.dc, -16);
  SetTextColor(canvas.dc, kRed);
  SetBkColor(canvas.dc, kBlue);
  const std::string text = "Hello";
  TextOutA(canvas.dc, 9, 7, text.data(), static_cast<int>(text.size()));
  const SIZE size = extent(canvas.dc, text);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      const bool cell = x >= 9 && x < 9 + size.cx && y >= 7 && y < 7 + size.cy;
      if (cell) {
        EXPECT_NE(canvas.at(x, y), kPaper) << x << "," << y;
      } else {
        EXPECT_EQ(canvas.at(x, y), kPaper) << x << "," << y;
      }
    }
  }
  EXPECT_GT(canvas.count(kRed), 30);
  EXPECT_GT(canvas.count(kBlue), canvas.count(kRed));
}
