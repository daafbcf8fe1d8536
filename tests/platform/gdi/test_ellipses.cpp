// Ellipse: the integer ellipse inscribed in columns left..right-1 and rows top..bottom-1, filled
// first and outlined over; narrow boxes are rectangles; without a pen it is one pixel smaller.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "test_canvas.h"

using namespace gdi_test;

namespace {

std::string mirrored_left_right(const std::string& picture, int width) {
  std::string out = picture;
  for (size_t row = 0; row < picture.size(); row += width + 1) {
    for (int x = 0; x < width; ++x) out[row + x] = picture[row + width - 1 - x];
  }
  return out;
}

std::string mirrored_top_bottom(const std::string& picture, int width, int height) {
  std::string out = picture;
  for (int y = 0; y < height; ++y) {
    out.replace(static_cast<size_t>(y) * (width + 1), width + 1, picture,
                static_cast<size_t>(height - 1 - y) * (width + 1), width + 1);
  }
  return out;
}

// Pixels of `colour` reachable from (x, y) through 4-connected pixels of that colour.
int reachable(const Canvas& canvas, int x, int y, COLORREF colour) {
  std::vector<bool> seen(static_cast<size_t>(canvas.width * canvas.height));
  std::vector<std::pair<int, int>> todo{{x, y}};
  int count = 0;
  while (!todo.empty()) {
    auto [px, py] = todo.back();
    todo.pop_back();
    if (px < 0 || py < 0 || px >= canvas.width || py >= canvas.height) continue;
    const size_t index = static_cast<size_t>(py * canvas.width + px);
    if (seen[index] || canvas.at(px, py) != colour) continue;
    seen[index] = true;
    ++count;
    todo.insert(todo.end(), {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}});
  }
  return count;
}

}  // namespace

TEST(GdiEllipse, SmallCirclesFromTheIntegerEllipse) {
  Canvas three(3, 3);
  {
    Tools tools(three.dc, 1, kRed, kBlue);
    Ellipse(three.dc, 0, 0, 3, 3);
  }
  EXPECT_EQ(three.picture(), rows({".R.", "RBR", ".R."}));
  Canvas four(4, 4);
  {
    Tools tools(four.dc, 1, kRed, kBlue);
    Ellipse(four.dc, 0, 0, 4, 4);
  }
  EXPECT_EQ(four.picture(), rows({".RR.", "RBBR", "RBBR", ".RR."}));
}

TEST(GdiEllipse, BoxesTwoPixelsWideOrHighAreRectangles) {
  const int boxes[][4] = {{1, 1, 3, 8}, {1, 1, 9, 3}, {2, 2, 4, 4}, {1, 1, 2, 7}, {0, 3, 9, 4}};
  for (int width : {-1, 1, 3}) {
    for (const auto& box : boxes) {
      Canvas ellipse(12, 11);
      Canvas rectangle(12, 11);
      {
        Tools a(ellipse.dc, width, kRed, kBlue);
        Tools b(rectangle.dc, width, kRed, kBlue);
        Ellipse(ellipse.dc, box[0], box[1], box[2], box[3]);
        Rectangle(rectangle.dc, box[0], box[1], box[2], box[3]);
      }
      EXPECT_EQ(ellipse.picture(), rectangle.picture())
          << "pen " << width << " box " << box[0] << "," << box[1] << "," << box[2] << ","
          << box[3];
    }
  }
}

TEST(GdiEllipse, ThinOutlineIsSymmetricClosedAndInsideTheBox) {
  for (int w = 3; w <= 14; ++w) {
    for (int h = 3; h <= 11; h += 2) {
      Canvas canvas(w + 4, h + 4);
      Tools tools(canvas.dc, 1, kRed, CLR_INVALID);
      Ellipse(canvas.dc, 2, 2, 2 + w, 2 + h);
      const std::string picture = canvas.picture();
      EXPECT_EQ(mirrored_left_right(picture, w + 4), picture) << w << "x" << h << "\n" << picture;
      EXPECT_EQ(mirrored_top_bottom(picture, w + 4, h + 4), picture) << w << "x" << h;
      // It touches all four sides of the box and nothing outside it.
      bool left = false, right = false, top = false, bottom = false;
      for (int y = 0; y < h + 4; ++y) {
        for (int x = 0; x < w + 4; ++x) {
          if (canvas.at(x, y) != kRed) continue;
          EXPECT_TRUE(x >= 2 && x < 2 + w && y >= 2 && y < 2 + h) << x << "," << y;
          left |= x == 2;
          right |= x == 1 + w;
          top |= y == 2;
          bottom |= y == 1 + h;
        }
      }
      EXPECT_TRUE(left && right) << w << "x" << h << "\n" << picture;
      // Windows' ellipse stops short of the ends of tall boxes of three or four columns.
      if (w >= 5) {
        EXPECT_TRUE(top && bottom) << w << "x" << h << "\n" << picture;
      }
      // Closed: the paper outside does not leak into the middle.
      const int outside = reachable(canvas, 0, 0, kPaper);
      EXPECT_EQ(outside + canvas.count(kRed) + reachable(canvas, 2 + w / 2, 2 + h / 2, kPaper),
                (w + 4) * (h + 4))
          << w << "x" << h << "\n"
          << picture;
      EXPECT_LT(outside, canvas.count(kPaper)) << w << "x" << h << "\n" << picture;
    }
  }
}

TEST(GdiEllipse, FillReachesTheOutlineEverywhere) {
  Canvas canvas(24, 18);
  Tools tools(canvas.dc, 1, kRed, kBlue);
  Ellipse(canvas.dc, 1, 1, 23, 17);
  // On every row the pixels between the outermost outline pixels are outline or fill.
  for (int y = 1; y < 17; ++y) {
    int first = -1, last = -1;
    for (int x = 0; x < 24; ++x) {
      if (canvas.at(x, y) == kPaper) continue;
      if (first < 0) first = x;
      last = x;
    }
    ASSERT_GE(first, 0) << y;
    for (int x = first; x <= last; ++x) EXPECT_NE(canvas.at(x, y), kPaper) << x << "," << y;
    EXPECT_EQ(canvas.at(first, y), kRed);
    EXPECT_EQ(canvas.at(last, y), kRed);
  }
}

TEST(GdiEllipse, WithoutPenTheShapeKeepsItsSize) {
  // Unlike a rectangle: the fill alone covers what fill and outline together cover.
  Canvas pen(16, 12);
  Canvas no_pen(16, 12);
  {
    Tools a(pen.dc, 1, kBlue, kBlue);
    Tools b(no_pen.dc, -1, kRed, kBlue);
    Ellipse(pen.dc, 1, 1, 15, 12);
    Ellipse(no_pen.dc, 1, 1, 15, 12);
  }
  EXPECT_EQ(no_pen.picture(), pen.picture());
}

TEST(GdiEllipse, WidePenCoversTheThinOutlineAndKeepsTheMiddle) {
  for (int width : {2, 3, 5, 6}) {
    Canvas thin(40, 30);
    Canvas wide(40, 30);
    {
      Tools a(thin.dc, 1, kRed, CLR_INVALID);
      Tools b(wide.dc, width, kRed, CLR_INVALID);
      Ellipse(thin.dc, 6, 5, 34, 25);
      Ellipse(wide.dc, 6, 5, 34, 25);
    }
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        if (thin.at(x, y) == kRed) {
          EXPECT_EQ(wide.at(x, y), kRed) << width << ": " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(wide.at(20, 15), kPaper);
    // About the outline's length times the width; diagonal stretches have fewer thin pixels
    // per length than straight ones.
    EXPECT_GT(wide.count(kRed), thin.count(kRed) * (width - 1)) << width;
    EXPECT_LT(wide.count(kRed), thin.count(kRed) * width * 3 / 2) << width;
    // The band reaches about half the width outside the box.
    EXPECT_EQ(wide.at(6 - width / 2 - 1, 15), kPaper) << width << "\n" << wide.picture();
    EXPECT_EQ(wide.at(6 - width / 2, 15), kRed) << width << "\n" << wide.picture();
  }
}

// The same oval and pen drawn again elsewhere, partly off the bitmap, is the same shape moved.
TEST(GdiEllipse, WideOutlineDrawnAgainIsTheSameShapeMoved) {
  for (int pen : {4, 5, 4}) {
    Canvas first(40, 30);
    Canvas again(40, 30);
    {
      Tools tools(first.dc, pen, kRed, kBlue);
      Ellipse(first.dc, 10, 8, 30, 22);
    }
    {
      Tools tools(again.dc, pen, kRed, kBlue);
      Ellipse(again.dc, -2, -5, 18, 9);
    }
    for (int y = 0; y + 13 < 30; ++y) {
      for (int x = 0; x + 12 < 40; ++x) {
        ASSERT_EQ(again.at(x, y), first.at(x + 12, y + 13)) << pen << " at " << x << "," << y;
      }
    }
  }
}
