#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__linux__)
#include <immintrin.h>
#define VORLA_FILL_AVX 1
#endif

namespace platform::raster {

namespace {

using Wide = __int128;

// floor(num / den) and ceil(num / den), for den > 0.
long long floor_div(Wide num, Wide den) {
  Wide q = num / den;
  if (num % den < 0) --q;
  return static_cast<long long>(q);
}

long long ceil_div(Wide num, Wide den) {
  Wide q = num / den;
  if (num % den > 0) ++q;
  return static_cast<long long>(q);
}

// ceil(a * b / den), for den > 0, in 64 bits unless the product needs more.
long long ceil_mul_div(long long a, long long b, long long den) {
  long long num;
  if (__builtin_mul_overflow(a, b, &num)) return ceil_div(Wide{a} * b, den);
  long long q = num / den;
  if (num % den > 0) ++q;
  return q;
}

// A coordinate pulled into [lo, hi]: spans are clipped afterwards, so only the order matters.
int clamp_to(long long value, int lo, int hi) {
  if (value < lo) return lo;
  if (value > hi) return hi;
  return static_cast<int>(value);
}

long long round_half_up(double value) {
  return static_cast<long long>(std::floor(value + 0.5));
}

}  // namespace

#if defined(VORLA_FILL_AVX)
namespace {

// Eight pixels a store, for processors that have AVX (checked once, at the first fill).
__attribute__((target("avx"))) void fill_pixels_avx(uint32_t* to, size_t count, uint32_t pixel) {
  const __m256i eight = _mm256_set1_epi32(static_cast<int>(pixel));
  uint32_t* const end = to + count;
  // The first eight unaligned, then aligned stores from the next 32-byte boundary on (no store
  // splits a cache line), and the last eight again unaligned.
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), eight);
  to = reinterpret_cast<uint32_t*>((reinterpret_cast<uintptr_t>(to) + 32) & ~uintptr_t{31});
  for (; to + 16 <= end; to += 16) {
    _mm256_store_si256(reinterpret_cast<__m256i*>(to), eight);
    _mm256_store_si256(reinterpret_cast<__m256i*>(to + 8), eight);
  }
  if (to + 8 <= end) _mm256_store_si256(reinterpret_cast<__m256i*>(to), eight);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 8), eight);
}

const bool have_avx = __builtin_cpu_supports("avx");
const bool have_avx512 = __builtin_cpu_supports("avx512f");

// A row of up to sixteen pixels a store: lanes whose bit is clear are neither written nor read.
__attribute__((target("avx512f"))) void paint_masked_rows_avx512(uint32_t* origin, ptrdiff_t stride,
                                                                 const uint16_t* masks, int rows,
                                                                 uint32_t pixel) {
  const __m512i sixteen = _mm512_set1_epi32(static_cast<int>(pixel));
  for (int row = 0; row < rows; ++row, origin += stride) {
    _mm512_mask_storeu_epi32(origin, static_cast<__mmask16>(masks[row]), sixteen);
  }
}

}  // namespace
#endif

void paint_masked_rows(uint32_t* origin, ptrdiff_t stride, const uint16_t* masks, int rows,
                       uint32_t pixel) {
#if defined(VORLA_FILL_AVX)
  if (have_avx512) {
    paint_masked_rows_avx512(origin, stride, masks, rows, pixel);
    return;
  }
#endif
  for (int row = 0; row < rows; ++row, origin += stride) {
    for (unsigned bits = masks[row]; bits != 0; bits &= bits - 1) {
      origin[__builtin_ctz(bits)] = pixel;
    }
  }
}

void fill_pixels_run(uint32_t* to, size_t count, uint32_t pixel) {
#if defined(__wasm_bulk_memory__)
  // In a page, memory.copy runs at the browser's own memcpy speed: a long run is written by
  // copying what is already written, doubling each time.
  if (count >= 1024) {
    fill_pixels_run(to, 256, pixel);
    for (size_t done = 256; done < count;) {
      const size_t piece = std::min(done, count - done);
      std::memcpy(to + done, to, piece * sizeof *to);
      done += piece;
    }
    return;
  }
#endif
#if defined(VORLA_FILL_AVX)
  if (count >= 32 && have_avx) {
    fill_pixels_avx(to, count, pixel);
    return;
  }
#endif
#if defined(__SSE2__)
  if (count >= 8) {
    const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
    uint32_t* const end = to + count;
    for (; to + 8 <= end; to += 8) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to), four);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 4), four);
    }
    if (to + 4 <= end) _mm_storeu_si128(reinterpret_cast<__m128i*>(to), four);
    // The last four pixels again, overlapping what is already written.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), four);
    return;
  }
#else
  if (count >= 8) {
    // Two pixels per 64-bit store; memcpy keeps it free of aliasing questions.
    const uint64_t two = static_cast<uint64_t>(pixel) << 32 | pixel;
    if (reinterpret_cast<uintptr_t>(to) & 4) {
      *to++ = pixel;
      --count;
    }
    for (; count >= 2; count -= 2, to += 2) std::memcpy(to, &two, sizeof two);
  }
#endif
  for (size_t i = 0; i < count; ++i) to[i] = pixel;
}

void fill_rect(const Surface& surface, long long x0, long long y0, long long x1, long long y1,
               uint32_t pixel) {
  const long long left = std::max<long long>(x0, 0);
  const long long right = std::min<long long>(x1, surface.width);
  const long long top = std::max<long long>(y0, 0);
  const long long bottom = std::min<long long>(y1, surface.height);
  if (left >= right || top >= bottom) return;
  const size_t count = static_cast<size_t>(right - left);
  uint32_t* row = surface.pixels + top * surface.stride + left;
  if (count == static_cast<size_t>(surface.stride)) {
    fill_pixels(row, count * static_cast<size_t>(bottom - top), pixel);  // rows are contiguous
    return;
  }
  for (long long y = top; y < bottom; ++y, row += surface.stride) fill_pixels(row, count, pixel);
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
  const long long big = major_delta < 0 ? -major_delta : major_delta;
  const long long small = minor_delta < 0 ? -minor_delta : minor_delta;
  const long long major_step = major_delta < 0 ? -1 : 1;
  const long long minor_step = minor_delta < 0 ? -1 : 1;
  const long long major_start = x_major ? from.x : from.y;
  const long long minor_start = x_major ? from.y : from.x;
  const long long major_limit = x_major ? surface.width : surface.height;
  const long long minor_limit = x_major ? surface.height : surface.width;

  // Pixel i (0 <= i < big) lies at major_start + i * major_step; only those inside the surface
  // along the major axis are walked.
  long long first = 0;
  long long last = big;  // exclusive
  if (major_step > 0) {
    first = std::max(first, -major_start);
    last = std::min(last, major_limit - major_start);
  } else {
    first = std::max(first, major_start - (major_limit - 1));
    last = std::min(last, major_start + 1);
  }
  if (first >= last) return;

  // Minor offset before pixel i: ceil((2 * small * i - big + bias) / (2 * big)), never below 0.
  // Only this start needs more than 64 bits; the walk itself stays within a few times big.
  long long minor;
  long long error;
  long long twice_small_first;
  if (first == 0) {
    // The line starts on the surface, as almost every line does.
    minor = 0;
    error = 2 * small - big;
  } else if (!__builtin_mul_overflow(2 * small, first + 1, &twice_small_first) &&
             !__builtin_mul_overflow(2 * big, big, &error)) {
    // Within 64 bits, as almost every line is.
    twice_small_first -= 2 * small;
    minor = std::max<long long>(0, ceil_mul_div(1, twice_small_first - big + bias, 2 * big));
    error = twice_small_first + 2 * small - big - 2 * big * minor;
  } else {
    minor = std::max<long long>(0, ceil_div(Wide{2} * small * first - big + bias, Wide{2} * big));
    error = static_cast<long long>(Wide{2} * small * (first + 1) - big - Wide{2} * big * minor);
  }
  const long long step_up = 2 * small;
  const long long step_down = 2 * big;
  // Positions as (x, y) steps so the walk is one pointer move per pixel.
  const long long stride = surface.stride;
  const long long major_pixel_step = x_major ? major_step : major_step * stride;
  const long long minor_pixel_step = x_major ? minor_step * stride : minor_step;
  long long major_at = major_start + first * major_step;
  long long minor_at = minor_start + minor * minor_step;
  // Every pixel's minor coordinate lies between the first one's and the end point's: where both
  // are on the surface, so is the whole walk.
  const long long minor_end = minor_start + minor_delta;
  if (minor_at >= 0 && minor_at < minor_limit && minor_end >= 0 && minor_end < minor_limit) {
    const long long x = x_major ? major_at : minor_at;
    const long long y = x_major ? minor_at : major_at;
    if (small == 0 && x_major) {
      fill_pixels(surface.pixels + y * stride + (major_step > 0 ? x : x - (last - first - 1)),
                  static_cast<size_t>(last - first), pixel);
      return;
    }
    long long at = y * stride + x;
    for (long long n = last - first; n > 0; --n) {
      surface.pixels[at] = pixel;
      const bool minor_move = error + bias > 0;
      at += minor_move ? major_pixel_step + minor_pixel_step : major_pixel_step;
      error += minor_move ? step_up - step_down : step_up;
    }
    return;
  }
  for (long long i = first; i < last; ++i) {
    if (minor_at >= 0 && minor_at < minor_limit) {
      const long long x = x_major ? major_at : minor_at;
      const long long y = x_major ? minor_at : major_at;
      uint32_t* at = surface.pixels + y * stride + x;
      // Along the stretch that stays on the surface the walk moves a pointer only.
      for (;;) {
        *at = pixel;
        if (++i >= last) return;
        major_at += major_step;
        at += major_pixel_step;
        if (error + bias > 0) {
          error += step_up - step_down;
          minor_at += minor_step;
          if (minor_at < 0 || minor_at >= minor_limit) break;
          at += minor_pixel_step;
        } else {
          error += step_up;
        }
      }
      --i;  // pixel i is off the surface: the outer walk takes it from here
      continue;
    }
    if ((minor_step > 0) == (minor_at >= minor_limit)) return;  // moving further away
    major_at += major_step;
    if (error + bias > 0) {
      minor_at += minor_step;
      error -= step_down;
    }
    error += step_up;
  }
}

namespace {

// The integer midpoint walk over one quadrant, from the right end of the middle row round to
// the bottom; `visit` gets each point in order.
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

}  // namespace

void ellipse_quadrant(long long width, long long height, std::vector<Point>* quadrant) {
  quadrant->clear();
  quadrant->reserve(static_cast<size_t>(width + height));
  walk_quadrant(width, height, [&](Point p) { quadrant->push_back(p); });
}

void ellipse_spans(const Surface& surface, const std::vector<Point>& quadrant, long long left,
                   long long top, long long width, long long height, SpanPainter& sink) {
  long long previous_row = -1;
  if (left >= 0 && top >= 0 && left + width <= surface.width && top + height <= surface.height) {
    // Wholly on the surface, as the shapes of a frame mostly are: no clipping.
    uint32_t* const first_row = surface.pixels + top * surface.stride + left;
    for (const Point& p : quadrant) {
      if (p.y == previous_row) continue;
      previous_row = p.y;
      const long long x0 = width - 1 - p.x;
      const size_t count = static_cast<size_t>(p.x + 1 - x0);
      sink.span_at(first_row + p.y * surface.stride + x0, count);
      if (2 * p.y != height - 1) {
        sink.span_at(first_row + (height - 1 - p.y) * surface.stride + x0, count);
      }
    }
    return;
  }
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

void ellipse_outline(const Surface& surface, const std::vector<Point>& quadrant, long long left,
                     long long top, long long width, long long height, uint32_t pixel) {
  const auto put = [&](long long x, long long y) {
    if (x >= 0 && y >= 0 && x < surface.width && y < surface.height) {
      surface.pixels[y * surface.stride + x] = pixel;
    }
  };
  const long long right = left + width - 1;
  const long long bottom = top + height - 1;
  for (const Point& p : quadrant) {
    put(left + p.x, top + p.y);
    put(right - p.x, top + p.y);
    put(right - p.x, bottom - p.y);
    put(left + p.x, bottom - p.y);
  }
}

bool ellipse_row(double cx, double rx, double ry, double dy, Span* span) {
  if (rx <= 0 || ry <= 0) return false;
  const double v = dy / ry;
  if (v * v > 1) return false;
  const double half = rx * std::sqrt(1 - v * v);
  *span = {round_half_up(cx - half), round_half_up(cx + half) + 1};
  return true;
}

namespace {

// One polygon edge, walked down the rows: x = x_top + ceil((y - top) * dx / dy), kept as a
// quotient and remainder so that each row costs additions only.
struct Edge {
  long long top, bottom, x_top, dx, dy;
  long long q, r;    // (y - top) * dx = q * dy + r, 0 <= r < dy
  long long dq, dr;  // dx = dq * dy + dr, 0 <= dr < dy

  Edge(Point a, Point b) {
    if (a.y > b.y) std::swap(a, b);
    top = a.y;
    bottom = b.y;
    x_top = a.x;
    dy = b.y - a.y;
    dx = b.x - a.x;
    if (dx >= -dy && dx < dy) {
      // Steeper than 45 degrees, as small shapes' edges mostly are: no division.
      dq = dx < 0 ? -1 : 0;
      dr = dx < 0 ? dx + dy : dx;
    } else {
      dq = dx / dy;
      dr = dx % dy;
      if (dr < 0) {
        --dq;
        dr += dy;
      }
    }
    q = 0;
    r = 0;
  }
  // Positions the edge at row y (top <= y).
  void start_at(long long y) {
    if (y == top) {
      q = 0;
      r = 0;
      return;
    }
    long long num;
    if (__builtin_mul_overflow(y - top, dx, &num)) {
      const Wide wide = Wide{y - top} * dx;
      q = floor_div(wide, dy);
      r = static_cast<long long>(wide - Wide{q} * dy);
      return;
    }
    q = num / dy;
    r = num % dy;
    if (r < 0) {
      --q;
      r += dy;
    }
  }
  long long x() const { return x_top + q + (r > 0 ? 1 : 0); }
  // Without a branch: whether the remainder carries follows the slope, not a pattern a
  // processor could foresee.
  void step() {
    r += dr;
    const long long carry = r >= dy ? 1 : 0;
    q += dq + carry;
    r -= dy & -carry;
  }
};

// A polygon's edges, and the crossings of one row.
struct PolygonBuffers {
  std::vector<Edge> edges;
  std::vector<int> crossings;
};

// A pen's round dab, row by row: the integer ellipse's rows kept with the pen, or beyond the
// exact limit the ellipse equation. Every row it has contains its centre column.
class Dab {
 public:
  explicit Dab(RoundPen& pen) : width_(pen.width()), half_(pen.width() / 2) {
    const std::vector<int>& rows = pen.dab_rows();
    if (!rows.empty()) widest_ = rows.data();
  }

  long long width() const { return width_; }
  long long half() const { return half_; }

  // The span of row `row` (0 at the dab's top) of the dab whose box starts at column `left`;
  // false when that row is empty.
  bool row(long long row, long long left, Span* span) const {
    if (widest_) {
      const long long k = (row >= half_ ? row : width_ - 1 - row) - half_;
      const int x = widest_[k];
      if (x < 0) return false;
      *span = {left + (width_ - 1 - x), left + x + 1};
      return true;
    }
    // Through a span of its own, so that the caller's stays in registers on the common path.
    const double radius = (width_ - 1) / 2.0;
    Span s;
    if (!ellipse_row(static_cast<double>(left) + radius, radius, radius,
                     static_cast<double>(row) - radius, &s)) {
      return false;
    }
    *span = s;
    return true;
  }

 private:
  long long width_;
  long long half_;
  const int* widest_ = nullptr;  // the pen's dab rows, or null for the equation
};

// Pens up to this width keep the bodies of their diagonal steps (a row each).
constexpr long long kKeptStepLimit = 1 << 12;

// A wide segment's body: a band of rows or columns for horizontal and vertical segments,
// otherwise a parallelogram filled by the polygon rule (each edge counts for top <= y < bottom,
// crossings at ceil(x), spans from one crossing up to, not including, the next).
struct Body {
  long long top = 0, bottom = 0;  // rows [top, bottom)
  long long left = 0, right = 0;  // the band's columns, or the box the parallelogram lies in
  bool band = true;
  Point quad[4];
  const RoundPen::Step* step = nullptr;  // a diagonal step's body, kept with the pen
  Point origin;

  Body() = default;
  // A diagonal step from `from`: the body the pen keeps, moved there.
  Body(Point from, const RoundPen::Step& kept)
      : top(from.y + kept.top),
        bottom(from.y + kept.bottom),
        left(from.x + kept.left),
        right(from.x + kept.right),
        band(false),
        step(&kept),
        origin(from) {}

  Body(Point from, Point to, long long width) {
    const long long dx = to.x - from.x;
    const long long dy = to.y - from.y;
    const long long half = width / 2;
    if (dy == 0) {
      left = std::min(from.x, to.x);
      right = std::max(from.x, to.x);
      top = from.y - half;
      bottom = top + width;
      return;
    }
    if (dx == 0) {
      left = from.x - half;
      right = left + width;
      top = std::min(from.y, to.y);
      bottom = std::max(from.y, to.y);
      return;
    }
    band = false;
    const double length = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    const double across_x =
        static_cast<double>(width) * std::fabs(static_cast<double>(dy)) / length;
    const double across_y =
        static_cast<double>(width) * std::fabs(static_cast<double>(dx)) / length;
    const long long narrow_x = round_half_up(across_x / 2);
    const long long narrow_y = round_half_up(across_y / 2);
    const long long wide_x = round_half_up((across_x + 1) / 2);
    const long long wide_y = round_half_up((across_y + 1) / 2);
    // The normal pointing to +x, and which way it points in y.
    const long long normal_y_sign = (dy > 0) == (dx > 0) ? -1 : 1;
    const Point wide{wide_x, normal_y_sign * wide_y};
    const Point narrow{-narrow_x, -normal_y_sign * narrow_y};
    quad[0] = {from.x + wide.x, from.y + wide.y};
    quad[1] = {to.x + wide.x, to.y + wide.y};
    quad[2] = {to.x + narrow.x, to.y + narrow.y};
    quad[3] = {from.x + narrow.x, from.y + narrow.y};
    top = bottom = quad[0].y;
    left = right = quad[0].x;
    for (const Point& p : quad) {
      top = std::min(top, p.y);
      bottom = std::max(bottom, p.y);
      left = std::min(left, p.x);
      right = std::max(right, p.x + 1);
    }
  }

  // Appends the body's spans on row y (top <= y < bottom), a step's once its pen made them.
  void row(long long y, std::vector<Span>* spans) const {
    if (!step) {
      shape_row(y, spans);
      return;
    }
    const Span s = step->rows[static_cast<size_t>(y - top)];
    if (s.x0 < s.x1) spans->push_back({origin.x + s.x0, origin.x + s.x1});
  }
  void shape_row(long long y, std::vector<Span>* spans) const {
    if (band) {
      if (left < right) spans->push_back({left, right});
      return;
    }
    long long crossings[4];
    int count = 0;
    for (int i = 0; i < 4; ++i) {
      Point a = quad[i];
      Point b = quad[(i + 1) % 4];
      if (a.y == b.y) continue;
      if (a.y > b.y) std::swap(a, b);
      if (y < a.y || y >= b.y) continue;
      crossings[count++] = a.x + ceil_mul_div(y - a.y, b.x - a.x, b.y - a.y);
    }
    for (int i = 1; i < count; ++i) {  // at most four: an insertion sort
      for (int j = i; j > 0 && crossings[j - 1] > crossings[j]; --j) {
        std::swap(crossings[j - 1], crossings[j]);
      }
    }
    for (int i = 0; i + 1 < count; i += 2) {
      if (crossings[i] < crossings[i + 1]) spans->push_back({crossings[i], crossings[i + 1]});
    }
  }
};

}  // namespace

const std::vector<int>& RoundPen::dab_rows() {
  if (dab_rows_.empty() && width_ <= kExactEllipseLimit) {
    const long long width = width_;
    const long long half = width / 2;
    dab_rows_.assign(static_cast<size_t>(width - half), -1);
    int* const rows = dab_rows_.data();
    walk_quadrant(width, width, [&](Point p) {
      if (p.y >= width) return;
      int& x = rows[p.y - half];
      if (x < 0) x = static_cast<int>(p.x);  // the first point of a row is its widest
    });
  }
  return dab_rows_;
}

const RoundPen::Step* RoundPen::step(long long dx, long long dy) {
  if (width_ > kKeptStepLimit) return nullptr;
  if (steps_.empty()) {
    steps_.resize(4);
    for (size_t d = 0; d < 4; ++d) {
      Step& shape = steps_[d];
      shape.to = {d & 1 ? 1 : -1, d & 2 ? 1 : -1};
      const Body body({0, 0}, shape.to, width_);
      shape.top = body.top;
      shape.bottom = body.bottom;
      shape.left = body.left;
      shape.right = body.right;
    }
  }
  return &steps_[(dx > 0 ? 1 : 0) | (dy > 0 ? 2 : 0)];
}

void RoundPen::make_step_rows() {
  for (Step& shape : steps_) {
    if (!shape.rows.empty()) continue;
    // A parallelogram: one span per row at most.
    const Body body({0, 0}, shape.to, width_);
    std::vector<Span> spans;
    for (long long y = body.top; y < body.bottom; ++y) {
      spans.clear();
      body.shape_row(y, &spans);
      shape.rows.push_back(spans.empty() ? Span{0, 0} : spans[0]);
    }
  }
}

namespace {

// A horizontal or vertical step of one pixel adds nothing to the dabs at its two ends: each dab
// covers its own centre column and row over the pen's whole width.
bool body_within_dabs(Point from, Point to) {
  const long long dx = to.x - from.x;
  const long long dy = to.y - from.y;
  return (dy == 0 && (dx == 1 || dx == -1)) || (dx == 0 && (dy == 1 || dy == -1));
}

// The pieces of a wide path that reach the surface: the centres of its dabs and the bodies of
// its segments, and the rows [first_row, last_row) of the surface they cover.
struct Pieces {
  std::vector<Point> dabs;
  std::vector<Body> bodies;
  long long first_row = 0;
  long long last_row = 0;
};

// Pieces by the first row they touch: row r's are items[starts[r]] up to items[starts[r + 1]].
struct RowBuckets {
  std::vector<uint32_t> starts;
  std::vector<uint32_t> items;
  std::vector<uint32_t> fill;

  // `row_of(i)` is piece i's first row, counted from the first row swept.
  template <typename RowOf>
  void build(size_t count, long long rows, RowOf row_of) {
    starts.assign(static_cast<size_t>(rows) + 1, 0);
    for (size_t i = 0; i < count; ++i) ++starts[static_cast<size_t>(row_of(i)) + 1];
    for (size_t r = 1; r < starts.size(); ++r) starts[r] += starts[r - 1];
    fill.assign(starts.begin(), starts.end() - 1);
    items.resize(count);
    for (size_t i = 0; i < count; ++i) {
      items[fill[static_cast<size_t>(row_of(i))]++] = static_cast<uint32_t>(i);
    }
  }
};

// What the sweep down the rows works with: the pieces bucketed by their first row, those active
// on the row at hand, and that row's spans.
struct Sweep {
  RowBuckets dab_rows;
  RowBuckets body_rows;
  std::vector<uint32_t> active_dabs;
  std::vector<uint32_t> active_bodies;
  std::vector<Span> spans;
};

// The wide outline of an oval, as spans relative to its box moved in by `margin` on each side.
struct Outline {
  struct RowSpan {
    int y, x0, x1;
  };
  long long width = 0, height = 0;
  int pen = 0;
  long long margin = 0;
  std::vector<RowSpan> spans;
};

// Ovals and pens up to these sizes have their outlines kept, the last few of them.
constexpr long long kKeptOutlineSize = 512;
constexpr int kKeptOutlinePen = 64;

struct KeptOutlines {
  Outline kept[8];
  size_t next = 0;  // the one to replace next
};

// Records spans as they come, for drawing them again elsewhere.
class SpanRecorder final : public SpanSink {
 public:
  explicit SpanRecorder(std::vector<Outline::RowSpan>* spans) : spans_(spans) {}
  void span(int y, int x0, int x1) override { spans_->push_back({y, x0, x1}); }

 private:
  std::vector<Outline::RowSpan>* spans_;
};

}  // namespace

struct Workspace::Parts {
  PolygonBuffers polygon;
  Pieces pieces;
  Sweep sweep;
  KeptOutlines outlines;
};

Workspace::Workspace() : parts_(std::make_unique<Parts>()) {}
Workspace::~Workspace() = default;

namespace {

// The row of crossings of two edges, in either order, clipped to the surface.
// Each row of the triangle's visible rows goes to the sink's row(), empty ones included
// (x0 >= x1).
template <typename Sink>
void paint_between(const Surface& surface, long long y, const Edge& a, const Edge& b, Sink& sink) {
  int x0 = clamp_to(a.x(), -1, surface.width + 1);
  int x1 = clamp_to(b.x(), -1, surface.width + 1);
  if (x0 > x1) std::swap(x0, x1);
  x0 = std::max(x0, 0);
  x1 = std::min(x1, surface.width);
  sink.row(static_cast<int>(y), x0, x1);
}

// Paints each row's span, if any.
struct RowPainter {
  SpanPainter& painter;
  void row(int y, int x0, int x1) {
    if (x0 < x1) painter.span(y, x0, x1);
  }
};

// Paints each row's span over the box, writing first the box's pixels that the span leaves.
struct RowOverBox {
  const Surface& surface;
  const SolidBox& box;
  SpanPainter& painter;
  void row(int y, int x0, int x1) {
    if (y >= box.top && y < box.bottom) {
      if (x0 >= x1) {
        fill_rect(surface, box.left, y, box.right, y + 1, box.pixel);
      } else {
        fill_rect(surface, box.left, y, std::min<long long>(box.right, x0), y + 1, box.pixel);
        fill_rect(surface, std::max<long long>(box.left, x1), y, box.right, y + 1, box.pixel);
      }
    }
    if (x0 < x1) painter.span(y, x0, x1);
  }
};

// A triangle, the commonest polygon: its rows cross the long edge from the top corner to the
// bottom one, and above the middle corner the upper short edge, below it the lower one.
template <typename Sink>
void triangle_spans(const Surface& surface, const Point* points, Sink& sink) {
  Point v[3] = {points[0], points[1], points[2]};
  if (v[1].y < v[0].y) std::swap(v[0], v[1]);
  if (v[2].y < v[1].y) std::swap(v[1], v[2]);
  if (v[1].y < v[0].y) std::swap(v[0], v[1]);
  if (v[0].y == v[2].y) return;
  const long long top = std::max<long long>(v[0].y, 0);
  const long long bottom = std::min<long long>(v[2].y, surface.height);
  Edge long_edge(v[0], v[2]);
  long_edge.start_at(top);
  long long y = top;
  for (int part = 0; part < 2; ++part) {
    const Point from = v[part];
    const Point to = v[part + 1];
    if (from.y == to.y) continue;
    const long long end = std::min(to.y, bottom);
    if (y >= end) continue;
    Edge short_edge(from, to);
    short_edge.start_at(y);
    for (; y < end; ++y) {
      paint_between(surface, y, long_edge, short_edge, sink);
      long_edge.step();
      short_edge.step();
    }
  }
}

}  // namespace

void polygon_spans(const Surface& surface, const Point* points, size_t count, Workspace& workspace,
                   SpanPainter& sink) {
  if (count < 3) return;
  if (count == 3) {
    RowPainter rows{sink};
    triangle_spans(surface, points, rows);
    return;
  }
  std::vector<Edge>& edges = workspace.parts().polygon.edges;
  std::vector<int>& crossings = workspace.parts().polygon.crossings;
  edges.clear();
  long long min_y = points[0].y;
  long long max_y = points[0].y;
  for (size_t i = 0; i < count; ++i) {
    const Point a = points[i];
    const Point b = points[i + 1 == count ? 0 : i + 1];
    min_y = std::min(min_y, a.y);
    max_y = std::max(max_y, a.y);
    if (a.y != b.y) edges.emplace_back(a, b);
  }
  const long long top = std::max<long long>(min_y, 0);
  const long long bottom = std::min<long long>(max_y, surface.height);
  for (Edge& e : edges) e.start_at(std::max(e.top, top));
  for (long long y = top; y < bottom; ++y) {
    crossings.clear();
    for (Edge& e : edges) {
      if (y < e.top || y >= e.bottom) continue;
      crossings.push_back(clamp_to(e.x(), -1, surface.width + 1));
      e.step();
    }
    if (crossings.size() == 2) {
      if (crossings[0] > crossings[1]) std::swap(crossings[0], crossings[1]);
    } else {
      std::sort(crossings.begin(), crossings.end());
    }
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const int x0 = std::max(crossings[i], 0);
      const int x1 = std::min(crossings[i + 1], surface.width);
      if (x0 < x1) sink.span(static_cast<int>(y), x0, x1);
    }
  }
}

void triangle_over_box(const Surface& surface, const Point* points, const SolidBox& box,
                       SpanPainter& painter) {
  RowOverBox rows{surface, box, painter};
  triangle_spans(surface, points, rows);
}

namespace {

// Whether one dab covers the whole surface, leaving nothing else to work out. A dab's rows only
// widen towards its middle: its top and bottom visible rows spanning the surface is enough.
bool dab_covers_surface(const Surface& surface, const Path& path, const Dab& dab) {
  const long long w = dab.width();
  const long long half = dab.half();
  if (w < surface.width) return false;
  const auto covers_row = [&](Point c, long long y) {
    Span s;
    const long long row = y - (c.y - half);
    return row >= 0 && row < w && dab.row(row, c.x - half, &s) && s.x0 <= 0 &&
           s.x1 >= surface.width;
  };
  for (size_t i = 0; i < path.size(); ++i) {
    const Point c = path[i];
    if (covers_row(c, 0) && covers_row(c, surface.height - 1)) return true;
  }
  return false;
}

// The first half of a wide path: the dabs and bodies that reach the surface, and their rows.
void collect_pieces(const Surface& surface, const Path& path, bool closed, RoundPen& pen,
                    Pieces* pieces) {
  const long long w = pen.width();
  const long long half = w / 2;
  const long long surface_width = surface.width;
  const long long surface_height = surface.height;
  const auto touches = [&](long long left, long long top, long long right, long long bottom) {
    return left < surface_width && right > 0 && top < surface_height && bottom > 0 &&
           left < right && top < bottom;
  };
  pieces->dabs.clear();
  pieces->bodies.clear();
  long long first_row = surface_height;
  long long last_row = 0;
  const auto note_rows = [&](long long top, long long bottom) {
    first_row = std::min(first_row, std::max<long long>(top, 0));
    last_row = std::max(last_row, std::min(bottom, surface_height));
  };
  // Each point is looked up once: for an ellipse that is a few divisions.
  const size_t count = path.size();
  const Point first = path[0];
  Point previous;
  Point c = first;
  Point next;
  for (size_t i = 0; i < count; ++i, previous = c, c = next) {
    const bool last = i + 1 == count;
    next = last ? first : path[i + 1];
    if ((i == 0 || !(c == previous)) &&
        touches(c.x - half, c.y - half, c.x - half + w, c.y - half + w)) {
      pieces->dabs.push_back(c);
      note_rows(c.y - half, c.y - half + w);
    }
    if (last && (!closed || count < 2)) break;
    if (c == next || body_within_dabs(c, next)) continue;
    const long long dx = next.x - c.x;
    const long long dy = next.y - c.y;
    // Far from the surface: nothing to do.
    const long long reach = w + 1;
    if (std::max(c.x, next.x) + reach < 0 || std::min(c.x, next.x) - reach >= surface_width ||
        std::max(c.y, next.y) + reach < 0 || std::min(c.y, next.y) - reach >= surface_height) {
      continue;
    }
    // Steps of one pixel diagonally, all along an ellipse, share their body.
    const bool diagonal_step = (dx == 1 || dx == -1) && (dy == 1 || dy == -1);
    const RoundPen::Step* step = diagonal_step ? pen.step(dx, dy) : nullptr;
    const Body body = step ? Body(c, *step) : Body(c, next, w);
    if (!touches(body.left, body.top, body.right, body.bottom)) continue;
    pieces->bodies.push_back(body);
    note_rows(body.top, body.bottom);
  }
  pieces->first_row = first_row;
  pieces->last_row = last_row;
}

// Sends the union of a row's spans, clipped to the surface.
void send_union(long long y, std::vector<Span>& spans, long long surface_width, SpanSink& sink) {
  std::sort(spans.begin(), spans.end());
  for (size_t k = 0; k < spans.size();) {
    Span run = spans[k++];
    while (k < spans.size() && spans[k].x0 <= run.x1) run.x1 = std::max(run.x1, spans[k++].x1);
    const long long x0 = std::max<long long>(run.x0, 0);
    const long long x1 = std::min(run.x1, surface_width);
    if (x0 < x1) sink.span(static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1));
  }
}

// The second half of a wide path: row by row over the rows the pieces cover, the pieces that
// reach a row are active on it, and the union of their spans is sent, each pixel once.
void sweep_rows(const Surface& surface, RoundPen& pen, const Dab& dab, const Pieces& pieces,
                Sweep& sweep, SpanSink& sink) {
  const long long w = dab.width();
  const long long half = dab.half();
  const long long surface_width = surface.width;
  const long long first_row = pieces.first_row;
  const long long rows = pieces.last_row - first_row;
  sweep.dab_rows.build(pieces.dabs.size(), rows, [&](size_t i) {
    return std::max(pieces.dabs[i].y - half, first_row) - first_row;
  });
  sweep.body_rows.build(pieces.bodies.size(), rows, [&](size_t i) {
    return std::max(pieces.bodies[i].top, first_row) - first_row;
  });
  std::vector<uint32_t>& active_dabs = sweep.active_dabs;
  std::vector<uint32_t>& active_bodies = sweep.active_bodies;
  std::vector<Span>& spans = sweep.spans;
  active_dabs.clear();
  active_bodies.clear();
  bool step_rows_made = false;  // at the first row that some dab does not cover whole
  for (long long y = first_row; y < pieces.last_row; ++y) {
    const size_t r = static_cast<size_t>(y - first_row);
    for (uint32_t k = sweep.dab_rows.starts[r]; k < sweep.dab_rows.starts[r + 1]; ++k) {
      active_dabs.push_back(sweep.dab_rows.items[k]);
    }
    for (uint32_t k = sweep.body_rows.starts[r]; k < sweep.body_rows.starts[r + 1]; ++k) {
      active_bodies.push_back(sweep.body_rows.items[k]);
    }
    spans.clear();
    bool full = false;
    for (size_t k = 0; k < active_dabs.size();) {
      const Point c = pieces.dabs[active_dabs[k]];
      const long long row = y - (c.y - half);
      if (row >= w) {  // past its last row
        active_dabs[k] = active_dabs.back();
        active_dabs.pop_back();
        continue;
      }
      Span s;
      if (dab.row(row, c.x - half, &s)) {
        if (s.x0 <= 0 && s.x1 >= surface_width) {
          std::swap(active_dabs[k], active_dabs[0]);  // likely to cover the next row too
          full = true;
          break;
        }
        spans.push_back(s);
      }
      ++k;
    }
    if (full) {
      sink.span(static_cast<int>(y), 0, surface.width);
      continue;
    }
    if (!step_rows_made) {
      pen.make_step_rows();
      step_rows_made = true;
    }
    for (size_t k = 0; k < active_bodies.size();) {
      const Body& body = pieces.bodies[active_bodies[k]];
      if (y >= body.bottom) {
        active_bodies[k] = active_bodies.back();
        active_bodies.pop_back();
        continue;
      }
      body.row(y, &spans);
      ++k;
    }
    send_union(y, spans, surface_width, sink);
  }
}

}  // namespace

void wide_path_spans(const Surface& surface, const Path& path, bool closed, RoundPen& pen,
                     Workspace& workspace, SpanSink& sink) {
  if (path.size() == 0 || pen.width() <= 0 || surface.width <= 0 || surface.height <= 0) return;
  const Dab dab(pen);
  if (dab_covers_surface(surface, path, dab)) {
    rect_spans(surface, 0, 0, surface.width, surface.height, sink);
    return;
  }
  Workspace::Parts& parts = workspace.parts();
  collect_pieces(surface, path, closed, pen, &parts.pieces);
  if (parts.pieces.first_row >= parts.pieces.last_row) return;
  sweep_rows(surface, pen, dab, parts.pieces, parts.sweep, sink);
}

namespace {

// The outline kept for this oval and pen, worked out in place of the oldest if there is none.
const Outline& kept_outline(const std::vector<Point>& quadrant, long long width, long long height,
                            RoundPen& pen, Workspace& workspace) {
  KeptOutlines& outlines = workspace.parts().outlines;
  for (const Outline& outline : outlines.kept) {
    if (outline.width == width && outline.height == height && outline.pen == pen.width()) {
      return outline;
    }
  }
  Outline& outline = outlines.kept[outlines.next];
  outlines.next = (outlines.next + 1) % std::size(outlines.kept);
  outline.width = width;
  outline.height = height;
  outline.pen = pen.width();
  outline.margin = pen.width() + 1;  // a round pen reaches (pen + 1) / 2 beyond the outline
  outline.spans.clear();
  // Large enough that nothing is clipped; only its size is read.
  const Surface room{nullptr, static_cast<int>(width + 2 * outline.margin),
                     static_cast<int>(height + 2 * outline.margin), 0};
  SpanRecorder recorder(&outline.spans);
  wide_path_spans(room, Path(quadrant, outline.margin, outline.margin, width, height), true, pen,
                  workspace, recorder);
  return outline;
}

}  // namespace

void wide_ellipse_outline(const Surface& surface, const std::vector<Point>& quadrant,
                          long long left, long long top, long long width, long long height,
                          RoundPen& pen, Workspace& workspace, uint32_t pixel) {
  if (width > kKeptOutlineSize || height > kKeptOutlineSize || pen.width() > kKeptOutlinePen) {
    SpanPainter painter(surface, pixel);
    wide_path_spans(surface, Path(quadrant, left, top, width, height), true, pen, workspace,
                    painter);
    return;
  }
  const Outline& outline = kept_outline(quadrant, width, height, pen, workspace);
  // A copy that nothing else sees keeps the surface's size and pixels in registers between fills.
  const Surface target = surface;
  SpanPainter painter(target, pixel);
  const long long dx = left - outline.margin;
  const long long dy = top - outline.margin;
  for (const Outline::RowSpan& s : outline.spans) {
    const long long y = dy + s.y;
    if (y < 0 || y >= target.height) continue;
    const long long x0 = std::max<long long>(dx + s.x0, 0);
    const long long x1 = std::min<long long>(dx + s.x1, target.width);
    if (x0 < x1) painter.span(static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1));
  }
}

}  // namespace platform::raster
