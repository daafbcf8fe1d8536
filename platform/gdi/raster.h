// The pixel level under GDI's entry points: solid spans on a 32-bit surface, one-pixel lines,
// polygon scan conversion, the integer ellipse, and wide strokes computed row by row so each
// pixel is painted once. Everything clips to the surface and takes 64-bit coordinates, so
// shapes far outside cost only their visible rows and never write out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/surface.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform::raster {

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

// Writes `count` copies of `pixel` from `to` on: the one loop every fill ends in. Short runs,
// the rows of small shapes, are written in place.
void fill_pixels_run(uint32_t* to, size_t count, uint32_t pixel);
inline void fill_pixels(uint32_t* to, size_t count, uint32_t pixel) {
  if (count < 4) {
    // First, middle and last: one to three pixels without a loop.
    if (count > 0) {
      to[0] = pixel;
      to[count / 2] = pixel;
      to[count - 1] = pixel;
    }
    return;
  }
#if defined(__SSE2__)
  if (count <= 32) {
    // Stores of four from both ends, overlapping in the middle: at most eight.
    const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
    uint32_t* const end = to + count;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), four);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), four);
    if (count > 8) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 4), four);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 8), four);
    }
    if (count > 16) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8), four);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 12), four);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 12), four);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 16), four);
    }
    return;
  }
#endif
  if (count >= 8) {
    fill_pixels_run(to, count, pixel);
    return;
  }
  for (size_t i = 0; i < count; ++i) to[i] = pixel;
}

// Paints `rows` rows from `origin` on, `stride` pixels apart: in row r, the pixels whose bits are
// set in masks[r] (bit i for the pixel i to the right). Every painted pixel must be on the
// surface; the ones left alone need not be.
void paint_masked_rows(uint32_t* origin, ptrdiff_t stride, const uint16_t* masks, int rows,
                       uint32_t pixel);

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

// Fills [x0, x1) x [y0, y1), clipped.
void fill_rect(const Surface& surface, long long x0, long long y0, long long x1, long long y1,
               uint32_t pixel);

// A one-pixel Bresenham line from `from` up to, not including, `to`.
void thin_line(const Surface& surface, Point from, Point to, uint32_t pixel);

// What scan conversion keeps from call to call on one DC: buffers reused so that a frame of
// hundreds of small shapes allocates nothing once warm, and the wide outlines of the last few
// ovals. Each DC has its own, so drawing on one never disturbs drawing on another.
class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  struct Parts;  // laid out where they are used, in raster.cpp
  Parts& parts() { return *parts_; }

 private:
  std::unique_ptr<Parts> parts_;
};

// The alternate-rule interior of a closed polygon: on each row y the edges with
// top <= y < bottom cross at ceil(x); spans run from one crossing up to, not including, the next.
void polygon_spans(const Surface& surface, const Point* points, size_t count, Workspace& workspace,
                   SpanPainter& painter);

// Rows [top, bottom) of columns [left, right) in one pixel value.
struct SolidBox {
  long long left = 0, top = 0, right = 0, bottom = 0;
  uint32_t pixel = 0;
};

// A triangle's interior as polygon_spans paints it, over a box not written yet: on each of the
// triangle's rows (between its top and bottom corners, on the surface) the box's pixels that
// the interior leaves are written first. The box's other rows are left alone.
void triangle_over_box(const Surface& surface, const Point* points, const SolidBox& box,
                       SpanPainter& painter);

// Ellipses (and round pens) wider or taller than this are drawn from the ellipse equation row by
// row instead of the exact integer walk, whose cost grows with the size, not with what is seen.
constexpr long long kExactEllipseLimit = 1LL << 17;

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

// A wide pen's shapes, kept with the pen so that each is worked out once for it, when a stroke
// first needs it: the rows of its round dab, and the bodies of the four diagonal one-pixel steps
// that an ellipse's outline is made of. A stroke whose oval outline the DC kept needs neither.
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
  // The step towards (dx, dy), each 1 or -1; null for pens too wide to keep theirs.
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

// The wide outline of the ellipse, stroked as wide_path_spans strokes it. A frame draws the same
// small ovals with the same pens over and over: the workspace keeps the outlines of the last few,
// and one drawn again is only moved and clipped.
void wide_ellipse_outline(const Surface& surface, const std::vector<Point>& quadrant,
                          long long left, long long top, long long width, long long height,
                          RoundPen& pen, Workspace& workspace, uint32_t pixel);

}  // namespace platform::raster
