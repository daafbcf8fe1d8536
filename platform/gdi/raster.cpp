#include "raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform::raster {

namespace {

using Wide = __int128;

// Smallest integer >= num / den, for den > 0.
Wide ceil_div(Wide num, Wide den) {
  Wide q = num / den;
  if (num % den > 0) ++q;
  return q;
}

// A coordinate pulled into [lo, hi]: spans are clipped afterwards, so only the order matters.
int clamp_to(Wide value, int lo, int hi) {
  if (value < lo) return lo;
  if (value > hi) return hi;
  return static_cast<int>(value);
}

long long round_half_up(double value) {
  return static_cast<long long>(std::floor(value + 0.5));
}

}  // namespace

void SpanPainter::span(int y, int x0, int x1) {
  std::fill(surface_.pixels + static_cast<long long>(y) * surface_.stride + x0,
            surface_.pixels + static_cast<long long>(y) * surface_.stride + x1, pixel_);
}

void SpanSet::paint(const Surface& surface, uint32_t pixel) {
  if (spans_.empty()) return;
  // Spans are put in row order by counting, then each row's few are sorted and merged.
  int first_row = spans_[0].y;
  int last_row = spans_[0].y;
  for (const Span& span : spans_) {
    first_row = std::min(first_row, span.y);
    last_row = std::max(last_row, span.y);
  }
  std::vector<size_t> starts(static_cast<size_t>(last_row - first_row) + 2, 0);
  for (const Span& span : spans_) ++starts[static_cast<size_t>(span.y - first_row) + 1];
  for (size_t row = 1; row < starts.size(); ++row) starts[row] += starts[row - 1];
  std::vector<std::pair<int, int>> runs(spans_.size());
  std::vector<size_t> fill(starts.begin(), starts.end() - 1);
  for (const Span& span : spans_)
    runs[fill[static_cast<size_t>(span.y - first_row)]++] = {span.x0, span.x1};
  SpanPainter painter(surface, pixel);
  for (int y = first_row; y <= last_row; ++y) {
    auto begin = runs.begin() + static_cast<long>(starts[static_cast<size_t>(y - first_row)]);
    auto end = runs.begin() + static_cast<long>(starts[static_cast<size_t>(y - first_row) + 1]);
    std::sort(begin, end);
    while (begin != end) {
      std::pair<int, int> run = *begin++;
      while (begin != end && begin->first <= run.second)
        run.second = std::max(run.second, (begin++)->second);
      painter.span(y, run.first, run.second);
    }
  }
  spans_.clear();
}

void rect_spans(const Surface& surface, long long x0, long long y0, long long x1, long long y1,
                SpanSink& sink) {
  const long long left = std::max<long long>(x0, 0);
  const long long right = std::min<long long>(x1, surface.width);
  const long long top = std::max<long long>(y0, 0);
  const long long bottom = std::min<long long>(y1, surface.height);
  if (left >= right) return;
  for (long long y = top; y < bottom; ++y) {
    sink.span(static_cast<int>(y), static_cast<int>(left), static_cast<int>(right));
  }
}

void fill_rect(const Surface& surface, long long x0, long long y0, long long x1, long long y1,
               uint32_t pixel) {
  SpanPainter painter(surface, pixel);
  rect_spans(surface, x0, y0, x1, y1, painter);
}

void thin_line(const Surface& surface, Point from, Point to, uint32_t pixel) {
  const long long dx = to.x - from.x;
  const long long dy = to.y - from.y;
  if (dx == 0 && dy == 0) return;
  const bool x_major = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  // Ties go one way or the other by octant, as Windows draws them: the minor coordinate steps
  // on a tie when going up along x or left along y.
  const long long major_delta = x_major ? dx : dy;
  const long long minor_delta = x_major ? dy : dx;
  const int bias = minor_delta != 0 && (x_major ? dy < 0 : dx < 0) ? 1 : 0;
  const Wide big = major_delta < 0 ? -Wide{major_delta} : Wide{major_delta};
  const Wide small = minor_delta < 0 ? -Wide{minor_delta} : Wide{minor_delta};
  const int major_step = major_delta < 0 ? -1 : 1;
  const int minor_step = minor_delta < 0 ? -1 : 1;
  const long long major_start = x_major ? from.x : from.y;
  const long long minor_start = x_major ? from.y : from.x;
  const long long major_limit = x_major ? surface.width : surface.height;
  const long long minor_limit = x_major ? surface.height : surface.width;

  // Pixel i (0 <= i < big) lies at major_start + i * major_step; only those inside the surface
  // along the major axis are walked.
  Wide first = 0;
  Wide last = big;  // exclusive
  if (major_step > 0) {
    first = std::max<Wide>(first, -Wide{major_start});
    last = std::min<Wide>(last, Wide{major_limit} - major_start);
  } else {
    first = std::max<Wide>(first, Wide{major_start} - (major_limit - 1));
    last = std::min<Wide>(last, Wide{major_start} + 1);
  }
  if (first >= last) return;

  // Minor offset before pixel i: ceil((2 * small * i - big + bias) / (2 * big)), never below 0.
  Wide minor = std::max<Wide>(0, ceil_div(2 * small * first - big + bias, 2 * big));
  long long error = static_cast<long long>(2 * small * (first + 1) - big - 2 * big * minor);
  const long long step_up = static_cast<long long>(2 * small);
  const long long step_down = static_cast<long long>(2 * big);
  const int stride = surface.stride;
  for (Wide i = first; i < last; ++i) {
    const Wide major = major_start + i * major_step;
    const Wide minor_at = minor_start + minor * minor_step;
    if (minor_at >= 0 && minor_at < minor_limit) {
      const long long mj = static_cast<long long>(major);
      const long long mn = static_cast<long long>(minor_at);
      const long long x = x_major ? mj : mn;
      const long long y = x_major ? mn : mj;
      surface.pixels[y * stride + x] = pixel;
    } else if ((minor_step > 0) == (minor_at >= minor_limit)) {
      break;  // moving further away from the surface
    }
    if (error + bias > 0) {
      ++minor;
      error -= step_down;
    }
    error += step_up;
  }
}

void polygon_spans(const Surface& surface, const Point* points, size_t count, SpanSink& sink) {
  struct Edge {
    long long top, bottom, x_top;
    Wide dx, dy;
  };
  if (count < 3) return;
  // Kept between calls: a wide outline fills thousands of small quadrilaterals.
  static std::vector<Edge> edges;
  static std::vector<int> crossings;
  edges.clear();
  long long min_y = points[0].y;
  long long max_y = points[0].y;
  for (size_t i = 0; i < count; ++i) {
    Point a = points[i];
    Point b = points[(i + 1) % count];
    min_y = std::min(min_y, a.y);
    max_y = std::max(max_y, a.y);
    if (a.y == b.y) continue;
    if (a.y > b.y) std::swap(a, b);
    edges.push_back({a.y, b.y, a.x, Wide{b.x} - a.x, Wide{b.y} - a.y});
  }
  const long long top = std::max<long long>(min_y, 0);
  const long long bottom = std::min<long long>(max_y, surface.height);
  for (long long y = top; y < bottom; ++y) {
    crossings.clear();
    for (const Edge& e : edges) {
      if (y < e.top || y >= e.bottom) continue;
      const Wide x = e.x_top + ceil_div((Wide{y} - e.top) * e.dx, e.dy);
      crossings.push_back(clamp_to(x, -1, surface.width + 1));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const int x0 = std::max(crossings[i], 0);
      const int x1 = std::min(crossings[i + 1], surface.width);
      if (x0 < x1) sink.span(static_cast<int>(y), x0, x1);
    }
  }
}

std::vector<Point> ellipse_quadrant(long long width, long long height) {
  std::vector<Point> quadrant;
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
  quadrant.reserve(static_cast<size_t>(a + b + 2));
  // A step goes left, down or both, each decided on the error before the step.
  while (p.x >= width / 2) {
    quadrant.push_back(p);
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
  return quadrant;
}

std::vector<Point> ellipse_path(const std::vector<Point>& quadrant, long long left, long long top,
                                long long width, long long height) {
  std::vector<Point> path;
  path.reserve(quadrant.size() * 4);
  const long long right = left + width - 1;
  const long long bottom = top + height - 1;
  for (const Point& p : quadrant) path.push_back({left + p.x, top + p.y});  // lower right
  for (auto p = quadrant.rbegin(); p != quadrant.rend(); ++p) {
    path.push_back({right - p->x, top + p->y});  // lower left, bottom to middle
  }
  for (const Point& p : quadrant) path.push_back({right - p.x, bottom - p.y});  // upper left
  for (auto p = quadrant.rbegin(); p != quadrant.rend(); ++p) {
    path.push_back({left + p->x, bottom - p->y});  // upper right, top to middle
  }
  return path;
}

void ellipse_spans(const Surface& surface, const std::vector<Point>& quadrant, long long left,
                   long long top, long long width, long long height, SpanSink& sink) {
  long long previous_row = -1;
  for (const Point& p : quadrant) {
    if (p.y == previous_row) continue;  // the first point of a row is its widest
    previous_row = p.y;
    const long long x0 = left + (width - 1 - p.x);
    const long long x1 = left + p.x + 1;
    const long long lower = top + p.y;
    const long long upper = top + (height - 1 - p.y);
    rect_spans(surface, x0, lower, x1, lower + 1, sink);
    if (upper != lower) rect_spans(surface, x0, upper, x1, upper + 1, sink);
  }
}

void approximate_ellipse_spans(const Surface& surface, long long left, long long top,
                               long long width, long long height, SpanSink& sink) {
  const double cx = left + (width - 1) / 2.0;
  const double cy = top + (height - 1) / 2.0;
  const double rx = std::max((width - 1) / 2.0, 0.5);
  const double ry = std::max((height - 1) / 2.0, 0.5);
  const long long first = std::max<long long>(top, 0);
  const long long last = std::min<long long>(top + height, surface.height);
  for (long long y = first; y < last; ++y) {
    const double v = (y - cy) / ry;
    if (v * v > 1) continue;
    const double half = rx * std::sqrt(1 - v * v);
    rect_spans(surface, round_half_up(cx - half), y, round_half_up(cx + half) + 1, y + 1, sink);
  }
}

void disc_spans(const Surface& surface, Point centre, int width, SpanSink& sink) {
  const long long left = centre.x - width / 2;
  const long long top = centre.y - width / 2;
  if (left >= surface.width || top >= surface.height || left + width <= 0 || top + width <= 0) {
    return;
  }
  if (width > kExactEllipseLimit) {
    approximate_ellipse_spans(surface, left, top, width, width, sink);
    return;
  }
  // Pens of the usual widths come again and again: their dabs are worked out once.
  constexpr int kCachedWidths = 64;
  static std::vector<Point> cached[kCachedWidths + 1];
  if (width <= kCachedWidths) {
    std::vector<Point>& quadrant = cached[width];
    if (quadrant.empty()) quadrant = ellipse_quadrant(width, width);
    ellipse_spans(surface, quadrant, left, top, width, width, sink);
  } else {
    ellipse_spans(surface, ellipse_quadrant(width, width), left, top, width, width, sink);
  }
}

void wide_body_spans(const Surface& surface, Point from, Point to, int width, SpanSink& sink) {
  const long long dx = to.x - from.x;
  const long long dy = to.y - from.y;
  if (dx == 0 && dy == 0) return;
  const long long half = width / 2;
  if (dy == 0) {
    rect_spans(surface, std::min(from.x, to.x), from.y - half, std::max(from.x, to.x),
               from.y - half + width, sink);
    return;
  }
  if (dx == 0) {
    rect_spans(surface, from.x - half, std::min(from.y, to.y), from.x - half + width,
               std::max(from.y, to.y), sink);
    return;
  }
  // Far from the surface: nothing to do.
  const long long reach = width + 1;
  if (std::max(from.x, to.x) + reach < 0 || std::min(from.x, to.x) - reach >= surface.width ||
      std::max(from.y, to.y) + reach < 0 || std::min(from.y, to.y) - reach >= surface.height) {
    return;
  }
  const double length = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
  const double across_x = width * std::fabs(static_cast<double>(dy)) / length;
  const double across_y = width * std::fabs(static_cast<double>(dx)) / length;
  const long long narrow_x = round_half_up(across_x / 2);
  const long long narrow_y = round_half_up(across_y / 2);
  const long long wide_x = round_half_up((across_x + 1) / 2);
  const long long wide_y = round_half_up((across_y + 1) / 2);
  // The normal pointing to +x, and which way it points in y.
  const long long normal_y_sign = (dy > 0) == (dx > 0) ? -1 : 1;
  const Point wide{wide_x, normal_y_sign * wide_y};
  const Point narrow{-narrow_x, -normal_y_sign * narrow_y};
  const Point quad[4] = {{from.x + wide.x, from.y + wide.y},
                         {to.x + wide.x, to.y + wide.y},
                         {to.x + narrow.x, to.y + narrow.y},
                         {from.x + narrow.x, from.y + narrow.y}};
  polygon_spans(surface, quad, 4, sink);
}

namespace {

// A horizontal or vertical step of one pixel adds nothing to the dabs at its two ends: each dab
// covers its own centre column and row over the pen's whole width.
bool body_within_dabs(Point from, Point to) {
  const long long dx = to.x - from.x;
  const long long dy = to.y - from.y;
  return (dy == 0 && (dx == 1 || dx == -1)) || (dx == 0 && (dy == 1 || dy == -1));
}

}  // namespace

void wide_path_spans(const Surface& surface, const Point* points, size_t count, bool closed,
                     int width, SpanSink& sink) {
  for (size_t i = 0; i < count; ++i) {
    if (i == 0 || !(points[i] == points[i - 1])) disc_spans(surface, points[i], width, sink);
    const bool last = i + 1 == count;
    if (last && (!closed || count < 2)) break;
    const Point next = last ? points[0] : points[i + 1];
    if (!body_within_dabs(points[i], next)) wide_body_spans(surface, points[i], next, width, sink);
  }
}

}  // namespace platform::raster
