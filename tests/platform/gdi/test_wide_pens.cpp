// Wide pens: the round dab they stamp at every point, and the shapes a pen keeps from one stroke
// to the next, whatever DC it strokes on.
#include <gtest/gtest.h>

#include "test_canvas.h"

using namespace gdi_test;

// A dot of a wide pen is the filled ellipse of its box (even widths sit up-left), from the exact
// integer ellipse and, beyond its limit, from the equation; the dot's edge crosses the bitmap.
TEST(GdiWidePen, ADotIsTheFilledEllipseOfItsBox) {
  for (int width : {3, 8, 17, 64, 65, 300, (1 << 17) + 3}) {
    const int x = 20 + width * 3 / 10;
    const int y = 20 + width * 4 / 10;
    const int left = x - width / 2;
    const int top = y - width / 2;
    Canvas dot(48, 40);
    Canvas ellipse(48, 40);
    Tools pen(dot.dc, width, kRed, CLR_INVALID);
    Tools brush(ellipse.dc, -1, kBlue, kRed);
    MoveToEx(dot.dc, x, y, nullptr);
    LineTo(dot.dc, x, y);
    Ellipse(ellipse.dc, left, top, left + width, top + width);
    EXPECT_EQ(dot.picture(), ellipse.picture()) << width;
  }
}

// One pen stroking ovals on two DCs in turn paints what a new pen for each oval paints. Its first
// oval leaves its shapes half made: there every row is covered whole by some dab.
TEST(GdiWidePen, AKeptPenPaintsAsANewOne) {
  const auto oval = [](HDC dc, const RECT& r) { Ellipse(dc, r.left, r.top, r.right, r.bottom); };
  const RECT ovals[] = {{10, 8, 150, 90}, {-30, 40, 90, 170}};
  Canvas narrow(40, 120);
  Canvas kept[2] = {Canvas(160, 120), Canvas(120, 160)};
  Canvas fresh[2] = {Canvas(160, 120), Canvas(120, 160)};
  HPEN pen = CreatePen(PS_SOLID, 70, kRed);
  for (HDC dc : {narrow.dc, kept[0].dc, kept[1].dc}) {
    SelectObject(dc, pen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
  }
  oval(narrow.dc, {-380, -300, 21, 420});
  EXPECT_EQ(narrow.count(kRed), 40 * 120);
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 2; ++i) {
      oval(kept[i].dc, ovals[(round + i) % 2]);
      Tools tools(fresh[i].dc, 70, kRed, CLR_INVALID);
      oval(fresh[i].dc, ovals[(round + i) % 2]);
    }
  }
  for (int i = 0; i < 2; ++i) EXPECT_EQ(kept[i].picture(), fresh[i].picture()) << i;
  DeleteObject(pen);  // goes with the last DC that has it selected
}
