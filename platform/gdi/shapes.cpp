// Shapes and lines with GDI's rules: the right column and bottom row of a box lie outside it,
// the brush fills first and the pen strokes over it, a one-pixel pen never paints a line's end
// point, and a wide pen paints a band centred on the outline with round caps and joins.
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "kept.h"
#include "objects.h"
#include "raster.h"

namespace platform {

namespace {

using raster::Point;

enum class PenKind { none, thin, wide };

PenKind pen_kind(const Pen& pen) {
  if (pen.style == PS_NULL) return PenKind::none;
  return pen.width > 1 ? PenKind::wide : PenKind::thin;
}

// What every drawing call starts from: the DC, its pixels and its pen and brush.
struct Target {
  Dc* dc = nullptr;
  Surface surface;
  Pen* pen = nullptr;
  const Brush* brush = nullptr;

  // The pixels of a bound DC, for a call whose outline runs on rows [top, bottom]: the pen
  // reaches less than its width beyond them.
  bool surface_rows(long long top, long long bottom) {
    const long long reach = static_cast<long long>(pen->width) + 1;
    return dc_surface_rows(*dc, top - reach, bottom + reach + 1, &surface);
  }
  // The DC and its objects only, for a call that may not need the pixels yet.
  bool bind(HDC handle) {
    dc = dc_from(handle);
    if (!dc) return false;
    pen = &dc_pen(*dc);
    brush = &dc_brush(*dc);
    return true;
  }
  uint32_t pen_pixel() const { return pixel_of(pen->colour); }
  uint32_t brush_pixel() const { return pixel_of(brush->colour); }
};

// The pen's shapes, kept by width (kept.h).
raster::RoundPen& round_pen(const Target& t) {
  const int width = t.pen->width;
  return *kept().round_pens.get(width,
                                [width] { return std::make_unique<raster::RoundPen>(width); });
}

// Boxes up to this size keep their quadrants (a few kilobytes each at most).
constexpr long long kKeptQuadrantSize = 1024;

// The ellipse's outline quadrant, kept by box (kept.h) for boxes up to the size above.
const std::vector<Point>& quadrant_of(long long width, long long height) {
  Kept& k = kept();
  if (width > kKeptQuadrantSize || height > kKeptQuadrantSize) {
    raster::ellipse_quadrant(width, height, &k.points);
    return k.points;
  }
  return k.quadrants.get({width, height}, [&] {
    std::vector<Point> quadrant;
    raster::ellipse_quadrant(width, height, &quadrant);
    return quadrant;
  });
}

void stroke_wide(const Target& t, const raster::Path& path, bool closed) {
  raster::SpanPainter painter(t.surface, t.pen_pixel());
  raster::wide_path_spans(t.surface, path, closed, round_pen(t), kept().workspace, painter);
}

// A one-pixel outline in the brush's own colour paints nothing the fill has not.
bool outline_within_fill(const Target& t) {
  return !t.brush->hollow && pen_kind(*t.pen) == PenKind::thin && t.pen_pixel() == t.brush_pixel();
}

void stroke_thin_closed(const Target& t, const Point* points, size_t count) {
  const uint32_t pixel = t.pen_pixel();
  for (size_t i = 0; i < count; ++i) {
    raster::thin_line(t.surface, points[i], points[i + 1 == count ? 0 : i + 1], pixel);
  }
}

// A rectangle that is one solid box, fill and outline alike: its box (empty for a one-pixel box
// that gets nothing). False when the pen paints apart from the fill.
bool rectangle_as_box(const Target& t, long long left, long long top, long long right,
                      long long bottom, long long box[4]) {
  if (t.brush->hollow) return false;
  if (outline_within_fill(t)) {
    const bool drawn = right - left > 1 || bottom - top > 1;
    box[0] = left;
    box[1] = top;
    box[2] = drawn ? right : left;
    box[3] = bottom;
    return true;
  }
  if (pen_kind(*t.pen) != PenKind::none) return false;
  box[0] = left;
  box[1] = top;
  box[2] = right - 1;
  box[3] = bottom - 1;
  return true;
}

void draw_rectangle(const Target& t, long long left, long long top, long long right,
                    long long bottom) {
  const PenKind kind = pen_kind(*t.pen);
  // Fill and outline of one colour make the whole box, but a box of one pixel gets neither.
  if (outline_within_fill(t)) {
    if (right - left > 1 || bottom - top > 1) {
      raster::fill_rect(t.surface, left, top, right, bottom, t.brush_pixel());
    }
    return;
  }
  if (!t.brush->hollow) {
    const long long inset = kind == PenKind::none ? 0 : 1;
    raster::fill_rect(t.surface, left + inset, top + inset, right - 1, bottom - 1, t.brush_pixel());
  }
  // The pen runs round the outermost pixels of the box. As lines that leave out their end
  // points, a box of one pixel gets no outline at all.
  const Point corners[4] = {
      {left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
  if (kind == PenKind::thin) {
    stroke_thin_closed(t, corners, 4);
  } else if (kind == PenKind::wide) {
    stroke_wide(t, raster::Path(corners, 4), true);
  }
}

// A huge ellipse row by row from its equation, only on the surface's rows: the fill spans the
// ellipse of the box, the pen's band runs between ellipses half its width outside and inside.
void draw_huge_ellipse(const Target& t, long long left, long long top, long long width,
                       long long height) {
  const double cx = left + (width - 1) / 2.0;
  const double cy = top + (height - 1) / 2.0;
  const double rx = (width - 1) / 2.0;
  const double ry = (height - 1) / 2.0;
  const PenKind kind = pen_kind(*t.pen);
  const double band = kind == PenKind::none ? 0 : kind == PenKind::wide ? t.pen->width / 2.0 : 0.5;
  const long long first = std::max<long long>(top - t.pen->width, 0);
  const long long last = std::min<long long>(top + height + t.pen->width, t.surface.height);
  raster::SpanPainter fill(t.surface, t.brush_pixel());
  raster::SpanPainter stroke(t.surface, t.pen_pixel());
  for (long long y = first; y < last; ++y) {
    const double dy = static_cast<double>(y) - cy;
    raster::Span outer;
    if (!raster::ellipse_row(cx, rx + band, ry + band, dy, &outer)) continue;
    if (!t.brush->hollow) raster::rect_spans(t.surface, outer.x0, y, outer.x1, y + 1, fill);
    if (kind == PenKind::none) continue;
    raster::Span inner;
    if (!raster::ellipse_row(cx, rx - band, ry - band, dy, &inner)) {
      raster::rect_spans(t.surface, outer.x0, y, outer.x1, y + 1, stroke);
      continue;
    }
    raster::rect_spans(t.surface, outer.x0, y, std::max(inner.x0, outer.x0 + 1), y + 1, stroke);
    raster::rect_spans(t.surface, std::min(inner.x1, outer.x1 - 1), y, outer.x1, y + 1, stroke);
  }
}

void draw_ellipse(const Target& t, long long left, long long top, long long width,
                  long long height) {
  if (width > raster::kExactEllipseLimit || height > raster::kExactEllipseLimit) {
    draw_huge_ellipse(t, left, top, width, height);
    return;
  }
  const std::vector<Point>& quadrant = quadrant_of(width, height);
  if (!t.brush->hollow) {
    raster::SpanPainter fill(t.surface, t.brush_pixel());
    raster::ellipse_spans(t.surface, quadrant, left, top, width, height, fill);
  }
  switch (pen_kind(*t.pen)) {
    case PenKind::none:
      break;
    case PenKind::thin:
      // Each row's fill runs from its leftmost outline pixel to its rightmost.
      if (!outline_within_fill(t)) {
        raster::ellipse_outline(t.surface, quadrant, left, top, width, height, t.pen_pixel());
      }
      break;
    case PenKind::wide:
      raster::wide_ellipse_outline(t.surface, quadrant, left, top, width, height, round_pen(t),
                                   kept().workspace, t.pen_pixel());
      break;
  }
}

void order(long long& low, long long& high) {
  if (low > high) std::swap(low, high);
}

// The box with its corners in order, as GDI takes reversed corners; false when it is empty.
bool ordered_box(int left, int top, int right, int bottom, long long* l, long long* t, long long* r,
                 long long* b) {
  *l = left;
  *t = top;
  *r = right;
  *b = bottom;
  order(*l, *r);
  order(*t, *b);
  return *l != *r && *t != *b;
}

}  // namespace

}  // namespace platform

using namespace platform;

BOOL WINAPI Rectangle(HDC handle, int left, int top, int right, int bottom) {
  Target t;
  if (!t.bind(handle)) return FALSE;
  long long l, tp, r, b;
  const bool drawn = ordered_box(left, top, right, bottom, &l, &tp, &r, &b);
  long long box[4];
  if (drawn && rectangle_as_box(t, l, tp, r, b, box)) {
    // A bitmap may keep the box to write later, in case the next fill covers it.
    if (!dc_fill_box(*t.dc, box[0], box[1], box[2], box[3], t.brush_pixel())) return FALSE;
    dc_changed(*t.dc);
    return TRUE;
  }
  if (!t.surface_rows(tp, b - 1)) return FALSE;
  if (!drawn) return TRUE;
  draw_rectangle(t, l, tp, r, b);
  dc_changed(*t.dc);
  return TRUE;
}

BOOL WINAPI Ellipse(HDC handle, int left, int top, int right, int bottom) {
  Target t;
  if (!t.bind(handle) || !t.surface_rows(std::min(top, bottom), std::max(top, bottom))) {
    return FALSE;
  }
  long long l, tp, r, b;
  if (!ordered_box(left, top, right, bottom, &l, &tp, &r, &b)) return TRUE;
  // Unlike a rectangle, an ellipse keeps its full size without a pen.
  const long long width = r - l;
  const long long height = b - tp;
  if (width <= 2 || height <= 2) {
    draw_rectangle(t, l, tp, r, b);
  } else {
    draw_ellipse(t, l, tp, width, height);
  }
  dc_changed(*t.dc);
  return TRUE;
}

BOOL WINAPI Polygon(HDC handle, const POINT* points, int count) {
  if (!points || count < 2) return FALSE;
  long long top = points[0].y;
  long long bottom = points[0].y;
  for (int i = 1; i < count; ++i) {
    top = std::min<long long>(top, points[i].y);
    bottom = std::max<long long>(bottom, points[i].y);
  }
  Target t;
  if (!t.bind(handle)) return FALSE;
  std::vector<Point>& path = kept().points;
  path.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) path[static_cast<size_t>(i)] = {points[i].x, points[i].y};
  // A triangle filled over a fill not written yet leaves out what it covers of that.
  const bool filled =
      !t.brush->hollow && count == 3 && dc_fill_triangle(*t.dc, path.data(), t.brush_pixel());
  if (!t.surface_rows(top, bottom)) return FALSE;
  if (!t.brush->hollow && !filled) {
    raster::SpanPainter fill(t.surface, t.brush_pixel());
    raster::polygon_spans(t.surface, path.data(), path.size(), kept().workspace, fill);
  }
  switch (pen_kind(*t.pen)) {
    case PenKind::none:
      break;
    case PenKind::thin:
      stroke_thin_closed(t, path.data(), path.size());
      break;
    case PenKind::wide:
      stroke_wide(t, raster::Path(path.data(), path.size()), true);
      break;
  }
  dc_changed(*t.dc);
  return TRUE;
}

BOOL WINAPI LineTo(HDC handle, int x, int y) {
  Target t;
  if (!t.bind(handle)) return FALSE;
  const long long from_y = t.dc->position.y;
  if (!t.surface_rows(std::min<long long>(from_y, y), std::max<long long>(from_y, y))) {
    return FALSE;
  }
  const Point from{t.dc->position.x, t.dc->position.y};
  const Point to{x, y};
  t.dc->position = POINT{x, y};
  // A one-pixel line to its own start paints nothing; a wide one still gets its round cap.
  if (from == to && pen_kind(*t.pen) != PenKind::wide) return TRUE;
  switch (pen_kind(*t.pen)) {
    case PenKind::none:
      return TRUE;
    case PenKind::thin:
      raster::thin_line(t.surface, from, to, t.pen_pixel());
      break;
    case PenKind::wide: {
      const Point ends[2] = {from, to};
      stroke_wide(t, raster::Path(ends, 2), false);
      break;
    }
  }
  dc_changed(*t.dc);
  return TRUE;
}
