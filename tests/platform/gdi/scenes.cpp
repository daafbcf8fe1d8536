#include "scenes.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <utility>
#include <vector>

namespace gdi_scenes {
namespace {

// Red and blue differ in every colour, so a swapped channel order shows up.
constexpr COLORREF kInk = RGB(0x20, 0x60, 0xC0);
constexpr COLORREF kOther = RGB(0xE0, 0x30, 0x10);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);

constexpr int kPenWidths[] = {0, 1, 2, 3, 4, 8, 11, 25};

// The coordinates of one operation, as many as its shape takes.
using Values = std::vector<int>;

Op make_op(Shape shape, int pen_width, bool filled, COLORREF colour, const Values& values) {
  Op op;
  op.shape = shape;
  op.pen_width = pen_width;
  op.filled = filled;
  op.colour = colour;
  int i = 0;
  for (int value : values) op.v[i++] = value;
  return op;
}

std::string joined(const Values& values, char separator) {
  std::string text;
  for (int value : values) {
    if (!text.empty()) text += separator;
    text += std::to_string(value);
  }
  return text;
}

std::string style(int pen_width, bool filled) {
  std::string text = pen_width == kNullPen ? "nullpen" : "w";
  if (pen_width != kNullPen) text += std::to_string(pen_width);
  return text + (filled ? "-filled" : "-hollow");
}

const char* shape_word(Shape shape) {
  switch (shape) {
    case Shape::kRectangle:
      return "rect";
    case Shape::kEllipse:
      return "ellipse";
    case Shape::kTriangle:
      return "triangle";
    case Shape::kLine:
      return "line";
    case Shape::kPixel:
      return "pixel";
    case Shape::kClear:
      return "clear";
  }
  return "?";
}

class Table {
 public:
  void add(const std::string& group, const std::string& name, int width, int height,
           std::vector<Op> ops) {
    scenes_.push_back(Scene{group, group + "/" + name, width, height, std::move(ops)});
  }

  // One shape of four values (a box or a line) in its own scene.
  void add_one(const std::string& group, Shape shape, int size, int pen_width, bool filled,
               const Values& values) {
    const std::string word = shape_word(shape);
    const std::string prefix = group.compare(0, word.size(), word) == 0 ? "" : word + "-";
    add(group, prefix + style(pen_width, filled) + "-" + joined(values, '.'), size, size,
        {make_op(shape, pen_width, filled, kInk, values)});
  }

  std::vector<Scene> take() { return std::move(scenes_); }

 private:
  std::vector<Scene> scenes_;
};

void add_rectangles(Table& table) {
  const Values boxes[] = {
      {10, 10, 38, 30},  // even width, even height
      {7, 9, 40, 42},    // odd sizes
      {20, 20, 23, 23},  // 3 x 3
      {20, 20, 22, 22},  // 2 x 2
      {20, 20, 21, 21},  // one pixel
      {20, 10, 21, 35},  // one column
      {10, 20, 35, 21},  // one row
      {20, 20, 20, 30},  // no width
      {10, 20, 30, 20},  // no height
      {38, 30, 10, 10},  // both corners reversed
      {38, 10, 10, 30},  // left and right reversed
      {10, 30, 38, 10},  // top and bottom reversed
      {1, 1, 47, 47},    // nearly the whole surface
  };
  for (int width : kPenWidths) {
    for (bool filled : {true, false}) {
      for (const auto& box : boxes)
        table.add_one("rect", Shape::kRectangle, 48, width, filled, box);
    }
  }
}

void add_triangles(Table& table) {
  const std::vector<std::pair<std::string, Values>> triangles = {
      {"acute", {10, 38, 24, 8, 40, 36}},      {"acute-reversed", {24, 8, 10, 38, 40, 36}},
      {"right", {8, 8, 40, 8, 8, 40}},         {"flat-bottom", {8, 40, 40, 40, 24, 12}},
      {"sliver", {5, 20, 43, 22, 6, 24}},      {"small", {20, 20, 23, 20, 20, 23}},
      {"collinear", {10, 10, 20, 20, 30, 30}}, {"point", {20, 20, 20, 20, 20, 20}},
  };
  for (int width : kPenWidths) {
    for (bool filled : {true, false}) {
      for (const auto& [name, points] : triangles) {
        table.add("triangle", style(width, filled) + "-" + name, 48, 48,
                  {make_op(Shape::kTriangle, width, filled, kInk, points)});
      }
    }
  }
}

// Circles as the runtime draws them: a box of 2r + 1 around the centre pixel.
void add_circles(Table& table) {
  for (int r = 0; r <= 20; ++r) {
    for (int width : {0, 1}) {
      table.add("circle", style(width, width == 0) + "-r" + std::to_string(r), 48, 48,
                {make_op(Shape::kEllipse, width, width == 0, kInk,
                         {24 - r, 24 - r, 24 + r + 1, 24 + r + 1})});
    }
  }
}

void add_ellipses(Table& table) {
  const std::pair<int, int> sizes[] = {
      {1, 1},   {2, 2},   {3, 3},   {4, 4},   {5, 5},   {6, 6},   {8, 8},   {10, 10},
      {11, 11}, {24, 24}, {25, 25}, {39, 39}, {40, 40}, {2, 7},   {7, 2},   {3, 9},
      {9, 3},   {4, 10},  {7, 12},  {12, 7},  {12, 20}, {20, 12}, {15, 16}, {16, 15},
      {21, 9},  {9, 21},  {30, 6},  {6, 30},  {31, 17}, {17, 31}, {40, 21}, {21, 39},
      {38, 4},  {4, 38},  {1, 20},  {20, 1},  {0, 10},  {10, 0},
  };
  for (const auto& [w, h] : sizes) {
    const int left = (48 - w) / 2;
    const int top = (48 - h) / 2;
    for (int width : {0, 1}) {
      // Wine's fill of these thin boxes paints stray pixels beyond the outline (for 4 x 38 a
      // different span from run to run, for 3 x 9 even outside the box), so only their
      // outlines are usable references.
      if (width == 0 && ((w == 4 && h == 38) || (w == 3 && h == 9))) continue;
      table.add_one("ellipse", Shape::kEllipse, 48, width, width == 0,
                    {left, top, left + w, top + h});
    }
  }
  for (int width : {0, 1}) {
    table.add_one("ellipse", Shape::kEllipse, 48, width, width == 0, {38, 30, 10, 10});
  }
  const Values boxes[] = {
      {10, 10, 38, 38}, {7, 13, 40, 34}, {20, 5, 27, 43}, {21, 21, 26, 26}, {14, 18, 34, 30}};
  for (int width : {2, 3, 4, 8, 11, 25}) {
    for (bool filled : {true, false}) {
      for (const auto& box : boxes) {
        table.add_one("ellipse-wide", Shape::kEllipse, 48, width, filled, box);
      }
    }
  }
}

// Lines from the centre of a 64 x 64 surface in every octant, along the axes and the
// diagonals, and with slopes whose Bresenham steps tie.
void add_lines(Table& table) {
  const std::pair<int, int> bases[] = {{16, 0}, {16, 16}, {14, 7}, {13, 5}, {16, 3}, {9, 8}};
  std::vector<std::pair<int, int>> directions;
  for (const auto& [a, b] : bases) {
    for (int swap = 0; swap < 2; ++swap) {
      for (int sx : {1, -1}) {
        for (int sy : {1, -1}) {
          const std::pair<int, int> d =
              swap ? std::pair<int, int>{sx * b, sy * a} : std::pair<int, int>{sx * a, sy * b};
          bool seen = false;
          for (const auto& other : directions) seen = seen || other == d;
          if (!seen) directions.push_back(d);
        }
      }
    }
  }
  for (int width : kPenWidths) {
    for (const auto& [dx, dy] : directions) {
      table.add_one("line", Shape::kLine, 64, width, false, {32, 32, 32 + dx, 32 + dy});
    }
    table.add_one("line", Shape::kLine, 64, width, false, {32, 32, 32, 32});
  }
  const std::pair<int, int> shorts[] = {{1, 0}, {0, 1}, {-1, 0}, {1, 1}, {-1, -1}, {2, 1}, {1, -2}};
  for (int width : {1, 2, 3}) {
    for (const auto& [dx, dy] : shorts) {
      table.add_one("line-short", Shape::kLine, 64, width, false, {32, 32, 32 + dx, 32 + dy});
    }
  }
}

// Shapes that reach past each side of the surface, some by far.
void add_clipped(Table& table) {
  const Values boxes[] = {
      {-10, 10, 20, 30}, {30, 10, 60, 30},       {10, -10, 30, 20},
      {10, 30, 30, 60},  {-450, -300, 500, 400}, {-2000, 20, 2000, 2000},
  };
  const Values ovals[] = {
      {-15, 10, 15, 40}, {33, 5, 63, 35},        {10, -15, 40, 15},
      {5, 33, 35, 63},   {-450, -450, 500, 500}, {-30, -30, 80, 80},
  };
  const Values triangles[] = {
      {-450, 10, 40, 5, 20, 40},
      {24, -300, 500, 40, -200, 45},
      {-2000, -1500, 2000, 24, 24, 2000},
      {40, 60, 60, 10, 10, 70},
  };
  const Values lines[] = {
      {-450, -20, 60, 40},  {24, -100, 24, 100}, {-100, 24, 100, 24},
      {100, -50, -50, 100}, {-20, -20, -5, 60},  {-2000, 47, 2000, 0},
  };
  for (int width : {0, 1, 3, 8}) {
    const bool filled = width == 0;
    for (const auto& box : boxes) table.add_one("clip", Shape::kRectangle, 48, width, filled, box);
    for (const auto& box : ovals) table.add_one("clip", Shape::kEllipse, 48, width, filled, box);
    for (const auto& points : triangles) {
      table.add("clip", "triangle-" + style(width, filled) + "-" + joined(points, '.'), 48, 48,
                {make_op(Shape::kTriangle, width, filled, kInk, points)});
    }
    for (const auto& line : lines) table.add_one("clip", Shape::kLine, 48, width, false, line);
  }
}

void add_pixels(Table& table) {
  std::vector<Op> ops;
  for (const auto& [x, y] : std::initializer_list<std::pair<int, int>>{
           {0, 0}, {47, 0}, {0, 47}, {47, 47}, {24, 24}, {-1, 5}, {48, 5}, {5, -1}, {5, 48}}) {
    ops.push_back(make_op(Shape::kPixel, 0, false, kInk, {x, y}));
  }
  table.add("pixel", "corners-and-outside", 48, 48, ops);
  table.add("pixel", "two-colours-same-place", 48, 48,
            {make_op(Shape::kPixel, 0, false, kInk, {10, 10}),
             make_op(Shape::kPixel, 0, false, kOther, {10, 10}),
             make_op(Shape::kPixel, 0, false, kOther, {11, 10})});
}

// The white clear of a whole surface: the DC's own black one-pixel pen and a white brush.
void add_clears(Table& table) {
  table.add("clear", "48x48", 48, 48, {make_op(Shape::kClear, 0, true, kWhite, {0, 0, 48, 48})});
  table.add("clear", "48x48-one-more", 48, 48,
            {make_op(Shape::kClear, 0, true, kWhite, {0, 0, 49, 49})});
  table.add("clear", "over-drawing", 48, 48,
            {make_op(Shape::kRectangle, 0, true, kInk, {5, 5, 40, 40}),
             make_op(Shape::kClear, 0, true, kWhite, {0, 0, 48, 48})});
  table.add("clear", "coloured", 48, 48, {make_op(Shape::kClear, 0, true, kOther, {4, 6, 30, 20})});
  table.add("clear", "surface-601x540", 601, 540,
            {make_op(Shape::kClear, 0, true, kWhite, {0, 0, 601, 540})});
}

void add_null_pen(Table& table) {
  const Values boxes[] = {
      {10, 10, 38, 30}, {20, 20, 21, 21}, {20, 20, 22, 22}, {38, 30, 10, 10}, {0, 0, 49, 49}};
  for (const auto& box : boxes) {
    table.add_one("nullpen", Shape::kRectangle, 48, kNullPen, true, box);
    table.add_one("nullpen", Shape::kEllipse, 48, kNullPen, true, box);
  }
  table.add("nullpen", "triangle", 48, 48,
            {make_op(Shape::kTriangle, kNullPen, true, kInk, {10, 38, 24, 8, 40, 36})});
}

// Several calls on one surface: later ones paint over earlier ones, hollow shapes keep what
// lies inside, neighbours share edges.
void add_overlaps(Table& table) {
  table.add("overlap", "circle-then-ring", 48, 48,
            {make_op(Shape::kEllipse, 0, true, kInk, {8, 8, 41, 41}),
             make_op(Shape::kEllipse, 3, false, kOther, {8, 8, 41, 41})});
  table.add("overlap", "rect-then-hollow-triangle", 48, 48,
            {make_op(Shape::kRectangle, 0, true, kInk, {4, 4, 44, 44}),
             make_op(Shape::kTriangle, 3, false, kOther, {10, 38, 24, 8, 40, 36})});
  table.add("overlap", "adjacent-triangles", 48, 48,
            {make_op(Shape::kTriangle, 0, true, kInk, {5, 5, 40, 10, 12, 42}),
             make_op(Shape::kTriangle, 0, true, kOther, {40, 10, 12, 42, 44, 44})});
  table.add("overlap", "adjacent-triangles-nullpen", 48, 48,
            {make_op(Shape::kTriangle, kNullPen, true, kInk, {5, 5, 40, 10, 12, 42}),
             make_op(Shape::kTriangle, kNullPen, true, kOther, {40, 10, 12, 42, 44, 44})});
  table.add("overlap", "filled-rect-then-frame", 48, 48,
            {make_op(Shape::kRectangle, 0, true, kInk, {6, 6, 30, 40}),
             make_op(Shape::kRectangle, 1, false, kOther, {6, 6, 30, 40})});
  table.add("overlap", "crossing-lines", 48, 48,
            {make_op(Shape::kLine, 4, false, kInk, {4, 10, 44, 30}),
             make_op(Shape::kLine, 1, false, kOther, {4, 30, 44, 10})});
}

// Circles and ovals of the sizes the program's scenes use (sun, scoops, clouds).
void add_large_ovals(Table& table) {
  for (int r : {24, 25, 31, 40, 47, 50, 63, 64, 80, 99, 100, 128}) {
    const int size = 2 * r + 9;
    for (int width : {0, 1, 3, 8, 11, 25}) {
      if (width > 3 && r != 40 && r != 63) continue;
      table.add("oval-large", "circle-" + style(width, width == 0) + "-r" + std::to_string(r), size,
                size,
                {make_op(Shape::kEllipse, width, width == 0, kInk,
                         {4, 4, 4 + 2 * r + 1, 4 + 2 * r + 1})});
    }
  }
  const std::pair<int, int> sizes[] = {{120, 60}, {121, 61}, {61, 121}, {200, 31},
                                       {90, 150}, {151, 89}, {47, 140}, {180, 181}};
  for (const auto& [w, h] : sizes) {
    for (int width : {0, 1, 2, 4}) {
      table.add("oval-large",
                style(width, width == 0) + "-" + std::to_string(w) + "x" + std::to_string(h), w + 8,
                h + 8, {make_op(Shape::kEllipse, width, width == 0, kInk, {4, 4, 4 + w, 4 + h})});
    }
  }
}

// Pens far wider than the shapes they stroke, and than the surface.
void add_huge_pens(Table& table) {
  for (int width : {17, 40, 99, 100, 300}) {
    table.add_one("pen-huge", Shape::kLine, 64, width, false, {20, 30, 44, 36});
    table.add_one("pen-huge", Shape::kLine, 64, width, false, {32, 10, 32, 50});
    table.add_one("pen-huge", Shape::kRectangle, 64, width, false, {20, 20, 44, 40});
    table.add_one("pen-huge", Shape::kEllipse, 64, width, false, {20, 20, 44, 40});
    table.add("pen-huge", "triangle-" + style(width, false), 64, 64,
              {make_op(Shape::kTriangle, width, false, kInk, {20, 44, 32, 20, 46, 40})});
  }
}

// A fixed pseudo-random sequence, the same on every platform.
class Sequence {
 public:
  int next(int below) {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ >> 16) % static_cast<unsigned>(below));
  }

 private:
  unsigned state_ = 20240601u;
};

void add_random_lines(Table& table) {
  Sequence random;
  for (int i = 0; i < 64; ++i) {
    const int width = kPenWidths[i % 8];
    const Values line = {random.next(160) - 10, random.next(120) - 10, random.next(160) - 10,
                         random.next(120) - 10};
    table.add("line-random",
              std::to_string(i) + "-" + style(width, false) + "-" + joined(line, '.'), 140, 100,
              {make_op(Shape::kLine, width, false, kInk, line)});
  }
}

void add_random_triangles(Table& table) {
  Sequence random;
  for (int i = 0; i < 64; ++i) {
    const int width = kPenWidths[i % 8];
    const bool filled = (i / 8) % 2 == 0;
    Values points;
    for (int k = 0; k < 3; ++k) {
      points.push_back(random.next(90) - 10);
      points.push_back(random.next(70) - 10);
    }
    table.add("triangle-random",
              std::to_string(i) + "-" + style(width, filled) + "-" + joined(points, '.'), 72, 56,
              {make_op(Shape::kTriangle, width, filled, kInk, points)});
  }
}

// Selects the scene operation's pen and brush, as the renderer does, and returns the previous
// ones so they can be restored.
struct Selection {
  HPEN own_pen = nullptr;
  HBRUSH own_brush = nullptr;
  HGDIOBJ old_pen = nullptr;
  HGDIOBJ old_brush = nullptr;
};

Selection select_tools(HDC dc, const Op& op) {
  Selection s;
  HGDIOBJ pen = nullptr;
  if (op.shape != Shape::kClear) {
    if (op.pen_width == kNullPen) {
      pen = GetStockObject(NULL_PEN);
    } else {
      s.own_pen = CreatePen(PS_SOLID, op.pen_width, op.colour);
      pen = s.own_pen;
    }
  }
  HGDIOBJ brush = nullptr;
  if (op.shape != Shape::kLine) {
    if (op.filled) {
      s.own_brush = CreateSolidBrush(op.colour);
      brush = s.own_brush;
    } else {
      brush = GetStockObject(NULL_BRUSH);
    }
  }
  if (pen) s.old_pen = SelectObject(dc, pen);
  if (brush) s.old_brush = SelectObject(dc, brush);
  return s;
}

void release_tools(HDC dc, const Selection& s) {
  if (s.old_pen) SelectObject(dc, s.old_pen);
  if (s.old_brush) SelectObject(dc, s.old_brush);
  if (s.own_pen) DeleteObject(s.own_pen);
  if (s.own_brush) DeleteObject(s.own_brush);
}

void perform(HDC dc, const Op& op) {
  const int* v = op.v;
  if (op.shape == Shape::kPixel) {
    SetPixel(dc, v[0], v[1], op.colour);
    return;
  }
  const Selection tools = select_tools(dc, op);
  switch (op.shape) {
    case Shape::kRectangle:
    case Shape::kClear:
      Rectangle(dc, v[0], v[1], v[2], v[3]);
      break;
    case Shape::kEllipse:
      Ellipse(dc, v[0], v[1], v[2], v[3]);
      break;
    case Shape::kTriangle: {
      const POINT points[3] = {{v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]}};
      Polygon(dc, points, 3);
      break;
    }
    case Shape::kLine:
      MoveToEx(dc, v[0], v[1], nullptr);
      LineTo(dc, v[2], v[3]);
      break;
    case Shape::kPixel:
      break;
  }
  release_tools(dc, tools);
}

int value_count(Shape shape) {
  switch (shape) {
    case Shape::kTriangle:
      return 6;
    case Shape::kPixel:
      return 2;
    default:
      return 4;
  }
}

char shape_letter(Shape shape) {
  switch (shape) {
    case Shape::kRectangle:
      return 'R';
    case Shape::kEllipse:
      return 'E';
    case Shape::kTriangle:
      return 'T';
    case Shape::kLine:
      return 'L';
    case Shape::kPixel:
      return 'P';
    case Shape::kClear:
      return 'C';
  }
  return '?';
}

}  // namespace

std::vector<Scene> all_scenes() {
  Table table;
  add_rectangles(table);
  add_triangles(table);
  add_circles(table);
  add_ellipses(table);
  add_lines(table);
  add_clipped(table);
  add_pixels(table);
  add_clears(table);
  add_null_pen(table);
  add_overlaps(table);
  add_large_ovals(table);
  add_random_lines(table);
  add_random_triangles(table);
  add_huge_pens(table);
  return table.take();
}

std::vector<std::string> group_names() {
  std::vector<std::string> groups;
  for (const Scene& scene : all_scenes()) {
    if (std::find(groups.begin(), groups.end(), scene.group) == groups.end()) {
      groups.push_back(scene.group);
    }
  }
  return groups;
}

void draw_scene(HDC dc, const Scene& scene) {
  for (int y = 0; y < scene.height; ++y) {
    for (int x = 0; x < scene.width; ++x) SetPixel(dc, x, y, kWhite);
  }
  for (const Op& op : scene.ops) perform(dc, op);
}

std::string describe(const Scene& scene) {
  std::string text;
  for (const Op& op : scene.ops) {
    if (!text.empty()) text += "; ";
    char head[48];
    std::snprintf(head, sizeof head, "%c %d %d %02x%02x%02x", shape_letter(op.shape), op.pen_width,
                  op.filled ? 1 : 0, GetRValue(op.colour), GetGValue(op.colour),
                  GetBValue(op.colour));
    text += head;
    for (int i = 0; i < value_count(op.shape); ++i) {
      text += ' ';
      text += std::to_string(op.v[i]);
    }
  }
  return text;
}

std::vector<TextCase> text_cases() {
  std::vector<TextCase> cases;
  for (int height : {-8, -9, -10, -11, -12, -13, -14, -16, -18, -20, -24, -28, -32, 0, 16}) {
    for (const char* text :
         {"H", "Hg", "x", "Hello, World", "Agjy([Q])", "iiii", "WWW", "0123", " ", ""}) {
      cases.push_back(TextCase{height, text});
    }
  }
  for (int height : {-1, -3, -5, -48, -72, -100, -127}) {
    for (const char* text : {"H", "Hg", "x"}) cases.push_back(TextCase{height, text});
  }
  return cases;
}

std::vector<std::string> text_value_names() {
  return {"tmHeight",          "tmAscent",       "tmDescent",      "tmInternalLeading",
          "tmExternalLeading", "tmAveCharWidth", "tmMaxCharWidth", "extent.cx",
          "extent.cy",         "ink.left",       "ink.top",        "ink.right",
          "ink.bottom",        "other colours",  "drawn advance"};
}

namespace {

// The pixels that TextOutA of `text` at the anchor inks on a white surface, in the current
// font and colour.
struct Ink {
  std::vector<bool> inked;                       // kTextSurfaceWidth x kTextSurfaceHeight
  int left = 0, top = 0, right = 0, bottom = 0;  // relative to the anchor; all 0 if none
  int other = 0;                                 // pixels neither white nor in the text colour
};

Ink draw_text(HDC dc, const std::string& text) {
  for (int y = 0; y < kTextSurfaceHeight; ++y) {
    for (int x = 0; x < kTextSurfaceWidth; ++x) SetPixel(dc, x, y, kWhite);
  }
  TextOutA(dc, kTextX, kTextY, text.c_str(), static_cast<int>(text.size()));
  Ink ink;
  ink.inked.assign(static_cast<size_t>(kTextSurfaceWidth) * kTextSurfaceHeight, false);
  int left = kTextSurfaceWidth, top = kTextSurfaceHeight, right = 0, bottom = 0;
  for (int y = 0; y < kTextSurfaceHeight; ++y) {
    for (int x = 0; x < kTextSurfaceWidth; ++x) {
      const COLORREF c = GetPixel(dc, x, y) & 0xFFFFFF;
      if (c == kWhite) continue;
      if (c != kInk) ++ink.other;
      ink.inked[static_cast<size_t>(y) * kTextSurfaceWidth + x] = true;
      left = std::min(left, x);
      top = std::min(top, y);
      right = std::max(right, x + 1);
      bottom = std::max(bottom, y + 1);
    }
  }
  if (right > 0) {
    ink.left = left - kTextX;
    ink.top = top - kTextY;
    ink.right = right - kTextX;
    ink.bottom = bottom - kTextY;
  }
  return ink;
}

// How far TextOutA moved on after drawing `text`: where an "H" drawn after it starts, less
// where an "H" drawn alone starts.
int drawn_advance(HDC dc, const std::string& text, const Ink& text_ink) {
  const Ink alone = draw_text(dc, "H");
  const Ink after = draw_text(dc, text + "H");
  for (int x = 0; x < kTextSurfaceWidth; ++x) {
    for (int y = 0; y < kTextSurfaceHeight; ++y) {
      const size_t i = static_cast<size_t>(y) * kTextSurfaceWidth + x;
      if (after.inked[i] && !text_ink.inked[i]) return x - kTextX - alone.left;
    }
  }
  return -1;
}

}  // namespace

std::vector<int> measure_text(HDC dc, const TextCase& text_case) {
  HFONT font =
      CreateFontA(text_case.height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kTextFace);
  HGDIOBJ old_font = SelectObject(dc, font);
  const COLORREF old_colour = SetTextColor(dc, kInk);
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  SIZE extent = {0, 0};
  GetTextExtentPointA(dc, text_case.text.c_str(), static_cast<int>(text_case.text.size()), &extent);
  const Ink ink = draw_text(dc, text_case.text);
  const int advance = drawn_advance(dc, text_case.text, ink);
  SetBkMode(dc, old_mode);
  SetTextColor(dc, old_colour);
  SelectObject(dc, old_font);
  DeleteObject(font);
  return {metrics.tmHeight,
          metrics.tmAscent,
          metrics.tmDescent,
          metrics.tmInternalLeading,
          metrics.tmExternalLeading,
          metrics.tmAveCharWidth,
          metrics.tmMaxCharWidth,
          extent.cx,
          extent.cy,
          ink.left,
          ink.top,
          ink.right,
          ink.bottom,
          ink.other,
          advance};
}

}  // namespace gdi_scenes
