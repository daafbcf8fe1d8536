// Primitives and renderer: argument repairs and their log lines in order, call descriptions,
// pixels in centred coordinates, and that no call leaves an object behind.
#include <climits>
#include <string>

#include "runtime_test.h"

namespace {

constexpr COLORREF WHITE = 0x00FFFFFF;
constexpr COLORREF BLACK = 0x00000000;

class Drawing : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    start();
    gfx_erase();
  }

  static COLORREF at(int x, int y) { return surface_pixel(column(x), row(y)); }

  // Every pixel of the surface, to compare whole pictures.
  static std::vector<COLORREF> surface() {
    std::vector<COLORREF> pixels;
    pixels.reserve(SURFACE_WIDTH * SURFACE_HEIGHT);
    for (int r = 0; r < SURFACE_HEIGHT; ++r)
      for (int c = 0; c < SURFACE_WIDTH; ++c) pixels.push_back(surface_pixel(c, r));
    return pixels;
  }

  // Rows (inclusive range) inside the erased surface's border that hold a pixel of the colour.
  static std::pair<int, int> rows_with(COLORREF colour) {
    int first = -1;
    int last = -1;
    for (int r = 1; r < SURFACE_HEIGHT - 1; ++r)
      for (int c = 1; c < SURFACE_WIDTH - 1; ++c)
        if (surface_pixel(c, r) == colour) {
          if (first < 0) first = r;
          last = r;
          break;
        }
    return {first, last};
  }
};

TEST_F(Drawing, RectangleRepairsColourBeforeWidth) {
  size_t mark = log_lines().size();
  EXPECT_EQ(gfx_rect(30, 10, -10, -10, 10, -2), 1);
  std::vector<std::string> expected = {
      "Illegal color 30; using RED.\n",
      "Width of -2 not possible, using width 2\n",
      "red rectangle with bounding box (-10,10) to (10,-10) with line width 2\n",
  };
  EXPECT_EQ(log_lines_since(mark), expected);
}

TEST_F(Drawing, OvalRepairsWidthBeforeColour) {
  size_t mark = log_lines().size();
  gfx_oval(30, -10, -10, 10, 10, -2);
  std::vector<std::string> expected = {
      "Width of -2 not possible, using width 2\n",
      "Illegal color 30; using RED.\n",
      "red oval with bounding box (-10,10) to (10,-10), line width 2\n",
  };
  EXPECT_EQ(log_lines_since(mark), expected);
}

TEST_F(Drawing, DescriptionsShowRepairedValuesAndColourNames) {
  size_t mark = log_lines().size();
  gfx_circle(23, 1, 2, 3);
  gfx_triangle(22, 1, 2, 3, 4, 5, 6, 0);
  gfx_rect(0, 1, 2, 3, 4, 0);
  gfx_oval(1, 1, 2, 3, 4, 0);
  gfx_line(3, 1, 2, 3, 4, 0);
  gfx_text(4, 5, 6, 10, "%s-%d", "x", 7);
  gfx_erase();
  std::vector<std::string> expected = {
      "20% gray circle at (1,2), radius 3\n",
      "50% gray triangle at (1,2), (3,4), (5,6)\n",
      "black rectangle with bounding box (1,4) to (3,2), filled\n",
      "white oval with bounding box (1,4) to (3,2), filled\n",
      "green line from (1,2) to (3,4), width 0\n",
      "blue text at (5,6), \"x-7\"\n",
      "Clearing the graphics window\n",
  };
  EXPECT_EQ(log_lines_since(mark), expected);
}

TEST_F(Drawing, RepairWarningsAreWrittenWithLoggingOffAndDescriptionsAreNot) {
  gfx_set_logging(0);
  size_t mark = log_lines().size();
  gfx_circle(COLOUR_RED, 0, 0, 5);
  gfx_text(COLOUR_RED, 0, 0, 12, "fine");
  gfx_erase();
  EXPECT_TRUE(log_lines_since(mark).empty());

  gfx_circle(-1, 0, 0, -5);
  gfx_text(COLOUR_RED, 0, 0, 300, "a");
  gfx_text(COLOUR_RED, 0, 0, -300, "b");
  std::vector<std::string> expected = {
      "Illegal color -1; using RED.\n",
      "Radius of -5 not possible, using radius 5\n",
      "ptsize of 300 not possible, using ptsize 127\n",
      "ptsize of -300 not possible, using ptsize 300\n",
      "ptsize of 300 not possible, using ptsize 127\n",
  };
  EXPECT_EQ(log_lines_since(mark), expected);
}

TEST_F(Drawing, NegativeRadiusDrawsTheDiscOfItsSize) {
  gfx_set_logging(0);
  gfx_circle(COLOUR_BLACK, 0, 0, -5);
  EXPECT_EQ(at(0, 0), BLACK);
  EXPECT_EQ(at(5, 0), BLACK);
  EXPECT_EQ(at(-5, 0), BLACK);
  EXPECT_EQ(at(0, 5), BLACK);
  EXPECT_EQ(at(0, -5), BLACK);
  EXPECT_EQ(at(6, 0), WHITE);
  EXPECT_EQ(at(0, -6), WHITE);
}

TEST_F(Drawing, CentredPointMapsToItsDevicePixel) {
  // A 2 x 2 square whose upper-left pixel is the centred point (10, 20). (GDI paints nothing
  // for a rectangle one pixel wide and high.)
  gfx_rect(4, 10, 20, 11, 19, 0);
  EXPECT_EQ(surface_pixel(state.origin_x + 10, state.origin_y - 20), colour_rgb[4]);
  EXPECT_EQ(surface_pixel(307, 228), colour_rgb[4]);
  EXPECT_EQ(surface_pixel(306, 228), WHITE);
  EXPECT_EQ(surface_pixel(307, 227), WHITE);
}

TEST_F(Drawing, FilledRectangleIncludesBothCorners) {
  gfx_rect(COLOUR_BLACK, -1, 1, 1, -1, 0);
  for (int y = -2; y <= 2; ++y)
    for (int x = -2; x <= 2; ++x) {
      bool inside = x >= -1 && x <= 1 && y >= -1 && y <= 1;
      EXPECT_EQ(at(x, y), inside ? BLACK : WHITE) << x << "," << y;
    }
}

TEST_F(Drawing, CornersInAnyOrderGiveTheSameRectangle) {
  gfx_rect(COLOUR_BLACK, 10, -10, -10, 10, 0);
  std::vector<COLORREF> swapped = surface();
  gfx_erase();
  gfx_rect(COLOUR_BLACK, -10, 10, 10, -10, 0);
  EXPECT_EQ(surface(), swapped);
  EXPECT_EQ(at(-10, 10), BLACK);
  EXPECT_EQ(at(10, -10), BLACK);
}

TEST_F(Drawing, OutlinedTriangleKeepsItsInterior) {
  gfx_rect(4, -60, 60, 60, -60, 0);
  gfx_triangle(COLOUR_RED, -50, -40, 50, -40, 0, 50, 3);
  EXPECT_EQ(at(0, 0), colour_rgb[4]);
  EXPECT_EQ(at(0, -30), colour_rgb[4]);
  EXPECT_EQ(at(0, -40), colour_rgb[COLOUR_RED]);
  EXPECT_EQ(at(0, 50), colour_rgb[COLOUR_RED]);
}

TEST_F(Drawing, FilledShapesArePaintedEntirelyInTheirColour) {
  gfx_triangle(3, -50, -40, 50, -40, 0, 50, 0);
  EXPECT_EQ(at(0, 0), colour_rgb[3]);
  EXPECT_EQ(at(0, -40), colour_rgb[3]);
}

TEST_F(Drawing, LineFromAPointToItselfPaintsNothing) {
  std::vector<COLORREF> before = surface();
  gfx_line(COLOUR_BLACK, 5, 5, 5, 5, 1);
  EXPECT_EQ(surface(), before);
  EXPECT_EQ(state.surface_dirty, 1);
}

TEST_F(Drawing, LineOfWidthZeroIsOnePixelWide) {
  gfx_line(COLOUR_BLACK, -10, 0, 10, 0, 0);
  EXPECT_EQ(at(0, 0), BLACK);
  EXPECT_EQ(at(-10, 0), BLACK);
  EXPECT_EQ(at(10, 0), WHITE);  // the end point is not painted
  EXPECT_EQ(at(0, 1), WHITE);
  EXPECT_EQ(at(0, -1), WHITE);
}

TEST_F(Drawing, SecondTextLineStartsOnTheAnchorRow) {
  gfx_set_logging(0);
  gfx_text(COLOUR_BLACK, 0, 0, 20, "AB\nCD");
  std::vector<COLORREF> both = surface();
  auto [top, bottom] = rows_with(BLACK);

  // The line height the renderer used: the font it asks for, measured on the surface.
  HFONT font = CreateFontA(-20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "VORLA-font");
  HGDIOBJ old = SelectObject(state.surface_dc, font);
  SIZE extent = {0, 0};
  GetTextExtentPointA(state.surface_dc, "AB\nCD", 5, &extent);
  SelectObject(state.surface_dc, old);
  DeleteObject(font);
  int h = extent.cy;
  ASSERT_GT(h, 0);
  EXPECT_GE(top, state.origin_y - h);
  EXPECT_LT(bottom, state.origin_y + h);

  gfx_erase();
  gfx_text(COLOUR_BLACK, 0, 0, 20, "AB");
  auto [ab_top, ab_bottom] = rows_with(BLACK);
  EXPECT_GE(ab_top, state.origin_y - h);
  EXPECT_LT(ab_bottom, state.origin_y);
  // CD drawn as a first line one line height lower completes the same picture.
  gfx_text(COLOUR_BLACK, 0, -h, 20, "CD");
  EXPECT_EQ(surface(), both);
}

TEST_F(Drawing, TextReturnsTheFormattedLength) {
  EXPECT_EQ(gfx_text(COLOUR_BLACK, 0, 0, 12, "hello"), 5);
  EXPECT_EQ(gfx_text(COLOUR_BLACK, 0, 0, 12, "%d+%d", 12, 345), 6);
}

TEST_F(Drawing, EmptyTextDrawsNothingAndMarksTheSurfaceDirty) {
  std::vector<COLORREF> before = surface();
  copy_surface_to_window();
  ASSERT_EQ(state.surface_dirty, 0);
  EXPECT_EQ(gfx_text(COLOUR_BLACK, 0, 0, 12, "%s", ""), 0);
  EXPECT_EQ(surface(), before);
  EXPECT_EQ(state.surface_dirty, 1);
}

TEST_F(Drawing, OverlongTextIsCutAtTheBufferAndReportsItsFullLength) {
  std::string text(3000, 'w');
  size_t mark = log_lines().size();
  EXPECT_EQ(gfx_text(COLOUR_BLACK, -290, 0, 8, "%s", text.c_str()), 3000);
  std::vector<std::string> lines = log_lines_since(mark);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), 1023u);
  EXPECT_EQ(lines[0].rfind("black text at (-290,0), \"www", 0), 0u);
  EXPECT_EQ(gfx_log("%s\n", text.c_str()), 3001);
  EXPECT_EQ(log_lines().back(), text.substr(0, 1023));
}

TEST_F(Drawing, TextWithNothingToFormatIsCutAndCountedAsFormattedText) {
  // Twenty lines of 50, then five letters on the last line, of which three are kept.
  std::string text;
  for (int line = 0; line < 20; ++line) text += std::string(50, 'i') + "\n";
  text += "WWWWW";
  EXPECT_EQ(gfx_text(COLOUR_BLACK, -290, 200, 8, "%s", text.c_str()), 1025);
  const std::vector<COLORREF> formatted = surface();
  gfx_erase();
  EXPECT_EQ(gfx_text(COLOUR_BLACK, -290, 200, 8, text.c_str()), 1025);
  EXPECT_EQ(surface(), formatted);
}

TEST_F(Drawing, UnknownKindsDrawNothingButMarkTheSurfaceDirty) {
  std::vector<COLORREF> before = surface();
  for (int kind : {6, -1}) {
    copy_surface_to_window();
    DrawCommand command = {kind, COLOUR_BLACK, 0, -5, 5, 5, -5, 0, 0};
    gfx_render(&command);
    EXPECT_EQ(state.surface_dirty, 1);
  }
  EXPECT_EQ(surface(), before);
}

TEST_F(Drawing, PixelCommandSetsOnePixel) {
  DrawCommand command = {DRAW_PIXEL, COLOUR_RED, 0, 4, -3, 0, 0, 0, 0};
  gfx_render(&command);
  EXPECT_EQ(at(4, -3), colour_rgb[COLOUR_RED]);
  EXPECT_EQ(at(5, -3), WHITE);
}

TEST_F(Drawing, TextCommandWithAStaleBlockReferenceDrawsNothing) {
  std::vector<COLORREF> before = surface();
  for (int reference : {0, 1, 3, 1000, -7}) {
    DrawCommand command = {DRAW_TEXT, COLOUR_BLACK, 0, 0, 0, 20, reference, 0, 0};
    gfx_render(&command);
  }
  EXPECT_EQ(surface(), before);
}

TEST_F(Drawing, ClearedSurfaceIsWhiteWithABlackBorder) {
  gfx_rect(COLOUR_RED, -100, 100, 100, -100, 0);
  EXPECT_EQ(gfx_erase(), 1);
  for (int c : {0, 300, 600}) {
    EXPECT_EQ(surface_pixel(c, 0), BLACK);
    EXPECT_EQ(surface_pixel(c, 539), BLACK);
  }
  for (int r : {0, 270, 539}) {
    EXPECT_EQ(surface_pixel(0, r), BLACK);
    EXPECT_EQ(surface_pixel(600, r), BLACK);
  }
  EXPECT_EQ(surface_pixel(1, 1), WHITE);
  EXPECT_EQ(surface_pixel(599, 538), WHITE);
  EXPECT_EQ(at(0, 0), WHITE);
}

TEST_F(Drawing, CommandsLeaveTheSurfaceAsTheyFoundIt) {
  auto selected = [](int stock) {
    HGDIOBJ current = SelectObject(state.surface_dc, GetStockObject(stock));
    SelectObject(state.surface_dc, current);
    return current;
  };
  HGDIOBJ pen = selected(BLACK_PEN);
  HGDIOBJ brush = selected(WHITE_BRUSH);
  HGDIOBJ font = selected(SYSTEM_FONT);
  int mode = GetBkMode(state.surface_dc);
  gfx_triangle(COLOUR_RED, 0, 0, 10, 0, 5, 5, 2);
  gfx_rect(COLOUR_RED, 0, 0, 10, -10, 0);
  gfx_oval(COLOUR_RED, 0, 0, 10, -10, 3);
  gfx_line(COLOUR_RED, 0, 0, 10, 10, 4);
  gfx_text(COLOUR_RED, 0, 0, 30, "pen\nbrush");
  gfx_erase();
  EXPECT_EQ(selected(BLACK_PEN), pen);
  EXPECT_EQ(selected(WHITE_BRUSH), brush);
  EXPECT_EQ(selected(SYSTEM_FONT), font);
  EXPECT_EQ(GetBkMode(state.surface_dc), mode);
}

TEST_F(Drawing, NoCallLeavesAnObjectBehind) {
  gfx_set_logging(0);
  ObjectCounts before = object_counts();
  gfx_circle(COLOUR_RED, 0, 0, 10);
  gfx_triangle(COLOUR_RED, 0, 0, 10, 0, 5, 5, 0);
  gfx_triangle(COLOUR_RED, 0, 0, 10, 0, 5, 5, 2);
  gfx_rect(COLOUR_RED, 0, 0, 10, -10, 0);
  gfx_rect(COLOUR_RED, 0, 0, 10, -10, 1);
  gfx_oval(COLOUR_RED, 0, 0, 10, -10, 0);
  gfx_oval(COLOUR_RED, 0, 0, 10, -10, 5);
  gfx_line(COLOUR_RED, 0, 0, 10, 10, 3);
  gfx_text(COLOUR_RED, 0, 0, 30, "text");
  gfx_erase();
  EXPECT_EQ(object_counts(), before);

  // A whole frame, as the application draws one, and its copy to the window.
  for (int i = 0; i < 30; ++i) {
    gfx_rect(i % 24, -300 + i * 10, 200, -290 + i * 10, 150, 0);
    gfx_circle(i % 24, i * 5, -i * 3, 8);
    gfx_oval(i % 24, -i, i, i + 20, -i - 10, i % 3);
    gfx_line(i % 24, -i, -i, i * 2, i, 1 + i % 4);
    gfx_text(i % 24, -200, -100 + i * 5, 10 + i, "line %d", i);
  }
  copy_surface_to_window();
  EXPECT_EQ(object_counts(), before);
}

}  // namespace

// Pens as wide as int allows (the negative ones repaired to their size) cover the whole surface
// around any figure, and cost only the surface's rows: the widths that once overflowed.
TEST_F(Drawing, PensOfEveryWidthCoverTheSurface) {
  const auto covered_by = [](int colour) {
    for (int r = 0; r < SURFACE_HEIGHT; r += 3)
      for (int c = 0; c < SURFACE_WIDTH; c += 3)
        if (surface_pixel(c, r) != colour_rgb[colour]) return false;
    return surface_pixel(SURFACE_WIDTH - 1, SURFACE_HEIGHT - 1) == colour_rgb[colour];
  };
  for (int width : {INT_MAX, INT_MIN, -INT_MAX}) {
    gfx_line(3, -5, -5, 5, 6, width);
    EXPECT_TRUE(covered_by(3)) << width;
    gfx_triangle(4, -5, -5, 5, -5, 0, 5, width);
    EXPECT_TRUE(covered_by(4)) << width;
    gfx_oval(5, -300, 250, 300, -250, width);
    EXPECT_TRUE(covered_by(5)) << width;
  }
  gfx_oval(3, -300, 250, 300, -250, 1000);
  EXPECT_TRUE(covered_by(3));
  gfx_oval(6, -35, 2, 100000, 100000, 100000);
  EXPECT_TRUE(covered_by(6));
  // A band a thousand wide round a far ellipse reaches only part of the surface.
  gfx_erase();
  gfx_oval(7, 600, 100, 1000, -100, 1000);
  EXPECT_EQ(at(290, 0), colour_rgb[7]);
  EXPECT_EQ(at(110, 0), colour_rgb[7]);
  EXPECT_EQ(at(90, 0), WHITE);
  EXPECT_EQ(at(-290, 240), WHITE);
}
