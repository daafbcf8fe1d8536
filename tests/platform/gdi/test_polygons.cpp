// Polygon: the alternate rule fills rows top <= y < bottom of each edge from the left crossing up
// to, not including, the right one; the pen's closed outline adds the right and bottom edges.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "test_canvas.h"

using namespace gdi_test;

namespace {

std::vector<bool> coverage(const Canvas& canvas, COLORREF colour) {
  std::vector<bool> covered;
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) covered.push_back(canvas.at(x, y) == colour);
  }
  return covered;
}

std::vector<bool> fill_of(int width, int height, std::vector<POINT> points) {
  Canvas canvas(width, height);
  Tools tools(canvas.dc, -1, kRed, kBlue);
  Polygon(canvas.dc, points.data(), static_cast<int>(points.size()));
  return coverage(canvas, kBlue);
}

}  // namespace

TEST(GdiPolygon, FillStopsBeforeTheRightAndBottomEdges) {
  Canvas canvas(8, 8);
  Tools tools(canvas.dc, -1, kRed, kBlue);
  const POINT triangle[] = {{0, 0}, {6, 0}, {0, 6}};
  EXPECT_TRUE(Polygon(canvas.dc, triangle, 3));
  EXPECT_EQ(canvas.picture(), rows({"BBBBBB..", "BBBBB...", "BBBB....", "BBB.....", "BB......",
                                    "B.......", "........", "........"}));
}

TEST(GdiPolygon, PenOutlineAddsTheRightAndBottomEdges) {
  Canvas canvas(8, 8);
  Tools tools(canvas.dc, 1, kRed, kBlue);
  const POINT triangle[] = {{0, 0}, {6, 0}, {0, 6}};
  Polygon(canvas.dc, triangle, 3);
  EXPECT_EQ(canvas.picture(), rows({"RRRRRRR.", "RBBBBR..", "RBBBR...", "RBBR....", "RBR.....",
                                    "RR......", "R.......", "........"}));
}

TEST(GdiPolygon, AlternateRuleLeavesEvenlyCoveredAreasEmpty) {
  // The same square traced twice: every point inside is crossed an even number of times.
  const std::vector<POINT> twice = {{1, 1}, {7, 1}, {7, 7}, {1, 7}, {1, 1}, {7, 1}, {7, 7}, {1, 7}};
  const std::vector<bool> fill = fill_of(9, 9, twice);
  EXPECT_EQ(std::count(fill.begin(), fill.end(), true), 0);
  // Two overlapping squares in one path: the overlap is left out.
  const std::vector<POINT> overlap = {{0, 0}, {6, 0}, {6, 6}, {3, 6}, {3, 3},
                                      {9, 3}, {9, 9}, {0, 9}, {0, 0}};
  Canvas canvas(10, 10);
  Tools tools(canvas.dc, -1, kRed, kBlue);
  Polygon(canvas.dc, overlap.data(), static_cast<int>(overlap.size()));
  EXPECT_EQ(canvas.at(4, 4), kPaper) << canvas.picture();
  EXPECT_EQ(canvas.at(1, 1), kBlue) << canvas.picture();
  EXPECT_EQ(canvas.at(7, 7), kBlue) << canvas.picture();
}

TEST(GdiPolygon, OutlinedTriangleKeepsItsInterior) {
  Canvas canvas(40, 40);
  canvas.clear(kGreen);
  Tools tools(canvas.dc, 3, kRed, CLR_INVALID);
  const POINT triangle[] = {{5, 35}, {35, 35}, {20, 5}};
  Polygon(canvas.dc, triangle, 3);
  for (int y = 22; y < 31; ++y) EXPECT_EQ(canvas.at(20, y), kGreen) << y;
  EXPECT_EQ(canvas.at(20, 35), kRed);
  EXPECT_EQ(canvas.at(20, 36), kRed);
  EXPECT_EQ(canvas.at(20, 34), kRed);
  EXPECT_EQ(canvas.at(20, 32), kGreen);
  EXPECT_EQ(canvas.at(20, 38), kGreen);
}

TEST(GdiPolygon, TooFewPointsFail) {
  Canvas canvas(4, 4);
  const POINT points[] = {{0, 0}, {3, 3}};
  EXPECT_FALSE(Polygon(canvas.dc, points, 1));
  EXPECT_FALSE(Polygon(canvas.dc, points, 0));
  EXPECT_FALSE(Polygon(canvas.dc, nullptr, 3));
  EXPECT_TRUE(Polygon(canvas.dc, points, 2));  // a line there and back: the pen only
  EXPECT_EQ(canvas.at(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(3, 3), RGB(0, 0, 0));
}

TEST(GdiPolygon, AdjacentTrianglesCoverWithoutGapOrOverlap) {
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> coordinate(-6, 45);
  for (int round = 0; round < 200; ++round) {
    // Four random points with b and d on opposite sides of the line a-c: the triangles (a, b, c)
    // and (a, c, d) share the edge a-c and together make the simple quadrilateral a, b, c, d.
    POINT a{coordinate(random), coordinate(random)};
    POINT b{coordinate(random), coordinate(random)};
    POINT c{coordinate(random), coordinate(random)};
    POINT d{coordinate(random), coordinate(random)};
    const long long side_b = 1LL * (c.x - a.x) * (b.y - a.y) - 1LL * (c.y - a.y) * (b.x - a.x);
    const long long side_d = 1LL * (c.x - a.x) * (d.y - a.y) - 1LL * (c.y - a.y) * (d.x - a.x);
    if (side_b == 0 || side_d == 0 || (side_b > 0) == (side_d > 0)) continue;
    const std::vector<bool> first = fill_of(40, 40, {a, b, c});
    const std::vector<bool> second = fill_of(40, 40, {a, c, d});
    const std::vector<bool> both = fill_of(40, 40, {a, b, c, d});
    for (size_t i = 0; i < first.size(); ++i) {
      ASSERT_FALSE(first[i] && second[i]) << "overlap at " << i % 40 << "," << i / 40;
      ASSERT_EQ(first[i] || second[i], both[i]) << "gap at " << i % 40 << "," << i / 40;
    }
  }
}

TEST(GdiPolygon, TrianglesFillAsAnyPolygonDoes) {
  // A triangle's corner given twice adds only a flat edge, which fills nothing: the general
  // polygon fill must agree with the triangle's own, also off the surface's edges.
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> coordinate(-30, 70);
  for (int round = 0; round < 300; ++round) {
    POINT a{coordinate(random), coordinate(random)};
    POINT b{coordinate(random), coordinate(random)};
    POINT c{coordinate(random), coordinate(random)};
    ASSERT_EQ(fill_of(40, 40, {a, b, c}), fill_of(40, 40, {a, b, c, c}))
        << a.x << "," << a.y << " " << b.x << "," << b.y << " " << c.x << "," << c.y;
  }
}
