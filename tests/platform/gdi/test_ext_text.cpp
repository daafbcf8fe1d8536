// ExtTextOutA: the rectangle filled with the background colour (ETO_OPAQUE) or cutting the text
// (ETO_CLIPPED), and character origins from a distance array; otherwise what TextOutA draws.
#include <gtest/gtest.h>

#include <string>

#include "test_canvas.h"

using namespace gdi_test;

namespace {

constexpr RECT kBox{5, 4, 17, 10};

bool inside(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// A canvas with DejaVu Sans at 11 pixels, red text on blue in the mode given.
struct TextCanvas : Canvas {
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
  HGDIOBJ previous;
  explicit TextCanvas(int mode) : Canvas(40, 16), previous(SelectObject(dc, font)) {
    SetTextColor(dc, kRed);
    SetBkColor(dc, kBlue);
    SetBkMode(dc, mode);
  }
  ~TextCanvas() {
    SelectObject(dc, previous);
    DeleteObject(font);
  }
};

}  // namespace

TEST(GdiExtText, ClippedIsTextOutCutToTheRectangleInBothModes) {
  for (int mode : {TRANSPARENT, OPAQUE}) {
    TextCanvas whole(mode), cut(mode);
    TextOutA(whole.dc, 2, 1, "Wgy&Q", 5);
    RECT reversed{kBox.right, kBox.bottom, kBox.left, kBox.top};
    ASSERT_TRUE(ExtTextOutA(cut.dc, 2, 1, ETO_CLIPPED, &reversed, "Wgy&Q", 5, nullptr));
    EXPECT_GT(cut.count(kRed), 5);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 40; ++x) {
        EXPECT_EQ(cut.at(x, y), inside(kBox, x, y) ? whole.at(x, y) : kPaper) << x << "," << y;
      }
    }
  }
}

TEST(GdiExtText, OpaqueFillsTheRectangleInAnyModeAndWithoutText) {
  TextCanvas canvas(TRANSPARENT);
  ASSERT_TRUE(ExtTextOutA(canvas.dc, 0, 0, ETO_OPAQUE, &kBox, "", 0, nullptr));
  EXPECT_EQ(canvas.count(kBlue), 12 * 6);
  EXPECT_EQ(canvas.at(kBox.left, kBox.top), kBlue);
  EXPECT_EQ(canvas.at(kBox.right, kBox.bottom - 1), kPaper);
  // Without a rectangle the options mean nothing.
  EXPECT_TRUE(ExtTextOutA(canvas.dc, 20, 0, ETO_OPAQUE | ETO_CLIPPED, nullptr, "", 0, nullptr));
  EXPECT_EQ(canvas.count(kBlue), 12 * 6);
  EXPECT_FALSE(ExtTextOutA(canvas.dc, 0, 0, 0, nullptr, nullptr, 2, nullptr));
  EXPECT_FALSE(ExtTextOutA(nullptr, 0, 0, 0, nullptr, "a", 1, nullptr));
}

TEST(GdiExtText, DistancesPlaceEachCharacterAndSpanTheBackground) {
  TextCanvas spaced(TRANSPARENT), one_by_one(TRANSPARENT);
  const INT dx[] = {9, 12, 9};
  ASSERT_TRUE(ExtTextOutA(spaced.dc, 1, 2, 0, nullptr, "iWi", 3, dx));
  TextOutA(one_by_one.dc, 1, 2, "i", 1);
  TextOutA(one_by_one.dc, 10, 2, "W", 1);
  TextOutA(one_by_one.dc, 22, 2, "i", 1);
  EXPECT_EQ(spaced.picture(), one_by_one.picture());
  SetBkMode(spaced.dc, OPAQUE);
  ExtTextOutA(spaced.dc, 1, 2, 0, nullptr, "iWi", 3, dx);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(spaced.at(x, 2) != kPaper, x >= 1 && x < 31) << x;
}
