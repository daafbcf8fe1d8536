// The pixel level under GDI's entry points: solid spans on a 32-bit surface, one-pixel lines,
// polygon scan conversion, the integer ellipse, and wide strokes built as a set of spans so each
// pixel is painted once. Everything clips to the surface and takes 64-bit coordinates, so
// shapes far outside cost only their visible rows and never write out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/surface.h"

namespace platform::raster {

struct Point {
  long long x = 0;
  long long y = 0;
  bool operator==(const Point&) const = default;
};

// Receives clipped spans [x0, x1) of row y.
class SpanSink {
 public:
  virtual ~SpanSink() = default;
  virtual void span(int y, int x0, int x1) = 0;
};

// Paints every span it gets at once.
class SpanPainter : public SpanSink {
 public:
  SpanPainter(const Surface& surface, uint32_t pixel) : surface_(surface), pixel_(pixel) {}
  void span(int y, int x0, int x1) override;

 private:
  const Surface& surface_;
  uint32_t pixel_;
};

// Gathers the spans of several shapes; paint() merges overlaps and paints each pixel once.
class SpanSet : public SpanSink {
 public:
  void span(int y, int x0, int x1) override { spans_.push_back({y, x0, x1}); }
  void paint(const Surface& surface, uint32_t pixel);

 private:
  struct Span {
    int y, x0, x1;
  };
  std::vector<Span> spans_;
};

// Clips [x0, x1) x [y0, y1) to the surface and sends the rows to the sink.
void rect_spans(const Surface& surface, long long x0, long long y0, long long x1, long long y1,
                SpanSink& sink);

// Fills [x0, x1) x [y0, y1), clipped.
void fill_rect(const Surface& surface, long long x0, long long y0, long long x1, long long y1,
               uint32_t pixel);

// A one-pixel Bresenham line from `from` up to, not including, `to`.
void thin_line(const Surface& surface, Point from, Point to, uint32_t pixel);

// The alternate-rule interior of a closed polygon: on each row y the edges with
// top <= y < bottom cross at ceil(x); spans run from one crossing up to, not including, the next.
void polygon_spans(const Surface& surface, const Point* points, size_t count, SpanSink& sink);

// Ellipses (and round pens) wider or taller than this are drawn from the ellipse equation row by
// row instead of the exact integer walk, whose cost grows with the size, not with what is seen.
constexpr long long kExactEllipseLimit = 1LL << 17;

// The outline of the integer ellipse inscribed in a width x height box at the origin, as the
// quadrant from the right end of the middle row round to the bottom, in path order. The other
// quadrants mirror it: x -> width - 1 - x, y -> height - 1 - y.
std::vector<Point> ellipse_quadrant(long long width, long long height);

// The closed outline path of the ellipse in the box at (left, top), from the quadrant.
std::vector<Point> ellipse_path(const std::vector<Point>& quadrant, long long left, long long top,
                                long long width, long long height);

// The filled ellipse: on each row, from the outline's leftmost to its rightmost pixel.
void ellipse_spans(const Surface& surface, const std::vector<Point>& quadrant, long long left,
                   long long top, long long width, long long height, SpanSink& sink);

// A filled ellipse from its equation, only on the visible rows: for boxes beyond the exact limit.
void approximate_ellipse_spans(const Surface& surface, long long left, long long top,
                               long long width, long long height, SpanSink& sink);

// A round pen's dab of `width` pixels across, centred on the point (even widths sit up-left).
void disc_spans(const Surface& surface, Point centre, int width, SpanSink& sink);

// A wide segment's body, without caps: rows y - width/2 .. for horizontal ones (columns min x up
// to, not including, max x), likewise for vertical ones, otherwise the quadrilateral offset to
// both sides of the line, the side towards +x by (width + 1) / 2 and the other by width / 2.
void wide_body_spans(const Surface& surface, Point from, Point to, int width, SpanSink& sink);

// A wide path with round caps and joins: the bodies of its segments and a dab at every point.
void wide_path_spans(const Surface& surface, const Point* points, size_t count, bool closed,
                     int width, SpanSink& sink);

}  // namespace platform::raster
