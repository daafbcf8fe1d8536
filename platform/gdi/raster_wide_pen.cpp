// Wide pens: a path stroked with round caps and joins, as the union of the pen's round dab at
// every point and the segments' bodies, swept row by row so that each pixel is painted once.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "raster.h"
#include "raster_math.h"

namespace platform::raster {

namespace {

// A pen's round dab, row by row: the integer ellipse's rows the RoundPen keeps, or beyond the
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
  const int* widest_ = nullptr;  // the RoundPen's dab rows, or null for the equation
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
  const RoundPen::Step* step = nullptr;  // a diagonal step's body, as the RoundPen keeps it
  Point origin;

  Body() = default;
  // A diagonal step from `from`: the body the RoundPen keeps, moved there.
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

// The scan's buffers, reused from call to call.
struct WidePathBuffers : Workspace::Part {
  Pieces pieces;
  Sweep sweep;
};

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

// The spans of the active dabs on row y, each dab dropped after its last row. True, with the
// spans left incomplete, when one dab covers the whole row.
bool dab_spans(long long y, const Dab& dab, const std::vector<Point>& centres,
               long long surface_width, std::vector<uint32_t>& active, std::vector<Span>* spans) {
  const long long w = dab.width();
  const long long half = dab.half();
  for (size_t k = 0; k < active.size();) {
    const Point c = centres[active[k]];
    const long long row = y - (c.y - half);
    if (row >= w) {  // past its last row
      active[k] = active.back();
      active.pop_back();
      continue;
    }
    Span s;
    if (dab.row(row, c.x - half, &s)) {
      if (s.x0 <= 0 && s.x1 >= surface_width) {
        std::swap(active[k], active[0]);  // likely to cover the next row too
        return true;
      }
      spans->push_back(s);
    }
    ++k;
  }
  return false;
}

// The spans of the active bodies on row y, each body dropped after its last row.
void body_spans(long long y, const std::vector<Body>& bodies, std::vector<uint32_t>& active,
                std::vector<Span>* spans) {
  for (size_t k = 0; k < active.size();) {
    const Body& body = bodies[active[k]];
    if (y >= body.bottom) {
      active[k] = active.back();
      active.pop_back();
      continue;
    }
    body.row(y, spans);
    ++k;
  }
}

// The second half of a wide path: row by row over the rows the pieces cover, the pieces that
// reach a row are active on it, and the union of their spans is sent, each pixel once.
void sweep_rows(const Surface& surface, RoundPen& pen, const Dab& dab, const Pieces& pieces,
                Sweep& sweep, SpanSink& sink) {
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
    if (dab_spans(y, dab, pieces.dabs, surface_width, active_dabs, &spans)) {
      sink.span(static_cast<int>(y), 0, static_cast<int>(surface_width));
      continue;
    }
    if (!step_rows_made) {
      pen.make_step_rows();
      step_rows_made = true;
    }
    body_spans(y, pieces.bodies, active_bodies, &spans);
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
  WidePathBuffers& buffers = workspace.part<WidePathBuffers>(Workspace::kWidePath);
  collect_pieces(surface, path, closed, pen, &buffers.pieces);
  if (buffers.pieces.first_row >= buffers.pieces.last_row) return;
  sweep_rows(surface, pen, dab, buffers.pieces, buffers.sweep, sink);
}

namespace {

// The wide outlines of the last few ovals: a frame draws the same small ovals with the same pens
// over and over, and an outline kept is only moved and clipped, which saves stroking it again.
// Without them bench_designer's frame runs 47% more instructions at 200 toppings, and BM_Shape's
// wide ellipse outlines 25 to 50 times as many.
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

struct KeptOutlines : Workspace::Part {
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

// The outline kept for this oval and pen, worked out in place of the oldest if there is none.
const Outline& kept_outline(const std::vector<Point>& quadrant, long long width, long long height,
                            RoundPen& pen, Workspace& workspace) {
  KeptOutlines& outlines = workspace.part<KeptOutlines>(Workspace::kKeptOutlines);
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
