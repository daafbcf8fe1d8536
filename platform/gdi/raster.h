// The pixel level under GDI's entry points, on a 32-bit surface, split as Wine's DIB engine
// splits its primitives: fills and runs (raster_fill.h), one-pixel lines (raster_line.cpp),
// polygons (raster_polygon.cpp), ellipses (raster_ellipse.cpp), wide pens (raster_wide_pen.cpp)
// and glyphs (raster_text.cpp). Everything clips to the surface and takes 64-bit coordinates, so
// shapes far outside cost only their visible rows and never write out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/surface.h"
#include "raster_fill.h"

namespace platform::raster {

// --- Points, spans and what receives them ---

struct Point {
  long long x = 0;
  long long y = 0;
  bool operator==(const Point&) const = default;
};

// A run of columns [x0, x1) on one row.
struct Span {
  long long x0 = 0;
  long long x1 = 0;
  bool operator<(const Span& other) const { return x0 < other.x0; }
};

// Rows [top, bottom) of columns [left, right) in one pixel value.
struct SolidBox {
  long long left = 0, top = 0, right = 0, bottom = 0;
  uint32_t pixel = 0;
};

// Receives clipped spans [x0, x1) of row y.
class SpanSink {
 public:
  virtual ~SpanSink() = default;
  virtual void span(int y, int x0, int x1) = 0;
};

// Paints every span it gets at once.
class SpanPainter final : public SpanSink {
 public:
  SpanPainter(const Surface& surface, uint32_t pixel)
      : pixels_(surface.pixels), stride_(surface.stride), pixel_(pixel) {}
  void span(int y, int x0, int x1) override {
    fill_pixels(pixels_ + y * stride_ + x0, static_cast<size_t>(x1 - x0), pixel_);
  }
  // A span known to lie on the surface, by its first pixel.
  void span_at(uint32_t* first, size_t count) { fill_pixels(first, count, pixel_); }

 private:
  uint32_t* pixels_;
  ptrdiff_t stride_;
  uint32_t pixel_;
};

// Clips [x0, x1) x [y0, y1) to the surface and sends the rows to the sink (a SpanPainter's
// calls are made directly).
template <typename Sink>
void rect_spans(const Surface& surface, long long x0, long long y0, long long x1, long long y1,
                Sink& sink) {
  const long long left = x0 > 0 ? x0 : 0;
  const long long right = x1 < surface.width ? x1 : surface.width;
  const long long top = y0 > 0 ? y0 : 0;
  const long long bottom = y1 < surface.height ? y1 : surface.height;
  if (left >= right) return;
  for (long long y = top; y < bottom; ++y) {
    sink.span(static_cast<int>(y), static_cast<int>(left), static_cast<int>(right));
  }
}

// What the scan converters keep from one call to the next: buffers reused so that a frame of
// hundreds of small shapes allocates nothing once warm, and the outlines of the last few wide
// ovals. Each converter lays out its part in its own file; GDI keeps the one workspace with its
// other kept state (kept.h), which a reset of the layer clears.
class Workspace {
 public:
  struct Part {
    virtual ~Part() = default;
  };
  enum Slot { kPolygon, kWidePath, kKeptOutlines, kSlotCount };

  // The part in `slot`, made on first use.
  template <typename T>
  T& part(Slot slot) {
    std::unique_ptr<Part>& held = parts_[slot];
    if (!held) held = std::make_unique<T>();
    return static_cast<T&>(*held);
  }

 private:
  std::unique_ptr<Part> parts_[kSlotCount];
};

// --- One-pixel lines (raster_line.cpp) ---

// A one-pixel Bresenham line from `from` up to, not including, `to`.
void thin_line(const Surface& surface, Point from, Point to, uint32_t pixel);

// --- Polygons (raster_polygon.cpp) ---

// The alternate-rule interior of a closed polygon: on each row y the edges with
// top <= y < bottom cross at ceil(x); spans run from one crossing up to, not including, the next.
void polygon_spans(const Surface& surface, const Point* points, size_t count, Workspace& workspace,
                   SpanPainter& painter);

// A triangle's interior as polygon_spans paints it, over a box not written yet (a bitmap's
// deferred fill, deferred_fill.h): on each of the triangle's rows (between its top and bottom
// corners, on the surface) the box's pixels that the interior leaves are written first. The
// box's other rows are left alone.
void triangle_over_box(const Surface& surface, const Point* points, const SolidBox& box,
                       SpanPainter& painter);

// --- Ellipses (raster_ellipse.cpp) ---

// Ellipses (and round pens) wider or taller than this are drawn from the ellipse equation row by
// row instead of the exact integer walk, whose cost grows with the size, not with what is seen.
constexpr long long kExactEllipseLimit = 1LL << 17;

// The integer midpoint walk over one quadrant of the ellipse inscribed in a width x height box
// at the origin, from the right end of the middle row round to the bottom; `visit` gets each
// point in order.
template <typename Visit>
void walk_quadrant(long long width, long long height, Visit visit) {
  const long long a = width - 1;
  const long long b = height - 1;
  const long long b_odd = b & 1;
  // Error terms of the midpoint test, scaled to stay integral (64-bit for large boxes).
  long long dx = 4 * (1 - a) * b * b;
  long long dy = 4 * (b_odd + 1) * a * a;
  long long err = dx + dy + b_odd * a * a;
  const long long step_x = 8 * b * b;
  const long long step_y = 8 * a * a;
  Point p{a, height / 2};
  // A step goes left, down or both, each decided on the error before the step.
  while (p.x >= width / 2) {
    visit(p);
    const long long e2 = 2 * err;
    if (e2 >= dx) {
      --p.x;
      dx += step_x;
      err += dx;
    }
    if (e2 <= dy) {
      ++p.y;
      dy += step_y;
      err += dy;
    }
  }
}

// The outline of the integer ellipse inscribed in a width x height box at the origin, as the
// quadrant from the right end of the middle row round to the bottom, in path order. The other
// quadrants mirror it: x -> width - 1 - x, y -> height - 1 - y.
void ellipse_quadrant(long long width, long long height, std::vector<Point>* quadrant);

// The filled ellipse: on each row, from the outline's leftmost to its rightmost pixel.
void ellipse_spans(const Surface& surface, const std::vector<Point>& quadrant, long long left,
                   long long top, long long width, long long height, SpanPainter& painter);

// The one-pixel outline of the ellipse, each point of the quadrant and its three mirrors.
void ellipse_outline(const Surface& surface, const std::vector<Point>& quadrant, long long left,
                     long long top, long long width, long long height, uint32_t pixel);

// Beyond the exact limit, a row of an ellipse from its equation: the span on the row `dy` below
// the centre (above when negative) of the ellipse centred on column `cx` with radii rx and ry,
// its ends rounded half up. False when the row misses the ellipse or a radius is not positive.
// Centres and radii of integer boxes are halves, exact in a double, so a row comes out the same
// whichever shape asks for it.
bool ellipse_row(double cx, double rx, double ry, double dy, Span* span);

// --- Wide pens (raster_wide_pen.cpp) ---

// The shapes a wide pen of one width strokes with, each worked out when a stroke first needs
// it: the rows of its round dab, and the bodies of the four diagonal one-pixel steps that an
// ellipse's outline is made of. GDI keeps those of the last few widths (kept.h), shared by every
// pen of a width.
class RoundPen {
 public:
  explicit RoundPen(int width) : width_(width) {}
  int width() const { return width_; }

  // The dab, the filled integer ellipse of a width x width box: per row from the middle one
  // down, its rightmost column, -1 for none. Empty beyond the exact limit, where the rows come
  // from the equation.
  const std::vector<int>& dab_rows();

  // The body of a diagonal step of one pixel from the origin towards `to`: rows [top, bottom)
  // within columns [left, right), row top + i spanning rows[i] (nothing where x0 >= x1).
  struct Step {
    Point to;
    long long top = 0, bottom = 0, left = 0, right = 0;
    std::vector<Span> rows;
  };
  // The step towards (dx, dy), each 1 or -1; null for pens too wide to keep theirs. Kept, they
  // save working out the body of every step of an ellipse's outline that is not kept whole
  // (raster_wide_pen.cpp): without them BM_Shape's 601 x 601 ellipse with a pen of 3 runs 59%
  // more instructions.
  const Step* step(long long dx, long long dy);
  // Works out the rows of the steps, which step() leaves out: a stroke whose every row some dab
  // covers whole, as a pen wider than the surface makes, never needs them.
  void make_step_rows();

 private:
  int width_;
  std::vector<int> dab_rows_;
  std::vector<Step> steps_;  // the four, by direction
};

// A closed or open path of points: given as an array, or as the outline of an ellipse (its
// quadrant mirrored round from the right end of the middle row) without storing all four parts.
class Path {
 public:
  Path(const Point* points, size_t count) : points_(points), count_(count) {}
  Path(const std::vector<Point>& quadrant, long long left, long long top, long long width,
       long long height)
      : quadrant_(&quadrant),
        count_(quadrant.size() * 4),
        left_(left),
        top_(top),
        right_(left + width - 1),
        bottom_(top + height - 1) {}
  size_t size() const { return count_; }
  Point operator[](size_t i) const {
    if (!quadrant_) return points_[i];
    const size_t n = quadrant_->size();
    const size_t part = i / n;
    const size_t j = i % n;
    const Point& p = (*quadrant_)[part % 2 == 0 ? j : n - 1 - j];
    return {part == 0 || part == 3 ? left_ + p.x : right_ - p.x,
            part < 2 ? top_ + p.y : bottom_ - p.y};
  }

 private:
  const Point* points_ = nullptr;
  const std::vector<Point>* quadrant_ = nullptr;
  size_t count_ = 0;
  long long left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};

// A wide path with round caps and joins, for a pen `width` pixels across: its round dab at every
// point (centred, even widths sit up-left) and between points the segment's body: rows
// y - width/2 .. for horizontal segments (columns min x up to, not including, max x), likewise
// for vertical ones, otherwise the quadrilateral offset to both sides of the line, the side
// towards +x by (width + 1) / 2 and the other by width / 2. The union is sent row by row, each
// pixel once, over the visible rows only.
void wide_path_spans(const Surface& surface, const Path& path, bool closed, RoundPen& pen,
                     Workspace& workspace, SpanSink& sink);

// The wide outline of the ellipse, stroked as wide_path_spans strokes it.
void wide_ellipse_outline(const Surface& surface, const std::vector<Point>& quadrant,
                          long long left, long long top, long long width, long long height,
                          RoundPen& pen, Workspace& workspace, uint32_t pixel);

// --- Glyphs (raster_text.cpp) ---

// A glyph's ink, rows from its top: runs of columns [x0, x1) row by row, and for glyphs up to
// 16 pixels wide the same ink again as one mask a row (bit i for column i; empty for wider ones).
struct GlyphInk {
  struct Run {
    int row, x0, x1;
  };
  int width = 0;
  int rows = 0;
  std::vector<Run> runs;
  std::vector<uint16_t> row_masks;
};

// Paints `rows` rows from `origin` on, `stride` pixels apart: in row r, the pixels whose bits are
// set in masks[r] (bit i for the pixel i to the right). Every painted pixel must be on the
// surface; the ones left alone need not be.
void paint_masked_rows(uint32_t* origin, ptrdiff_t stride, const uint16_t* masks, int rows,
                       uint32_t pixel);

// Paints the ink with its top-left pixel at (x, y), clipped to [left, right) x [top, bottom),
// a box within the surface: as it stands where it is wholly inside, as text mostly is, else run
// by run. Inline, so that the loop over a text's glyphs keeps its state in registers.
inline void paint_glyph(const Surface& surface, const GlyphInk& ink, long long x, long long y,
                        long long left, long long top, long long right, long long bottom,
                        uint32_t pixel) {
  if (x >= left && y >= top && x + ink.width <= right && y + ink.rows <= bottom) {
    uint32_t* const origin = surface.pixels + y * surface.stride + x;
    if (!ink.row_masks.empty()) {
      paint_masked_rows(origin, surface.stride, ink.row_masks.data(), ink.rows, pixel);
      return;
    }
    for (const GlyphInk::Run& run : ink.runs) {
      fill_pixels(origin + static_cast<long long>(run.row) * surface.stride + run.x0,
                  static_cast<size_t>(run.x1 - run.x0), pixel);
    }
    return;
  }
  for (const GlyphInk::Run& run : ink.runs) {
    const long long row = y + run.row;
    if (row < top || row >= bottom) continue;
    const long long x0 = std::max(x + run.x0, left);
    const long long x1 = std::min(x + run.x1, right);
    if (x0 < x1) {
      fill_pixels(surface.pixels + row * surface.stride + x0, static_cast<size_t>(x1 - x0), pixel);
    }
  }
}

}  // namespace platform::raster
