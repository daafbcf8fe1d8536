// A DC's pixels for the drawing calls, with the bitmap's deferred fill written where a call
// needs it.
#include "deferred_fill.h"

#include <algorithm>
#include <climits>

#include "for_user.h"
#include "objects.h"

namespace platform {

namespace {

// Writes the bitmap's deferred fill, except where it lies inside [x0, x1) x [y0, y1).
void write_deferred(Bitmap& bitmap, long long x0, long long y0, long long x1, long long y1) {
  DeferredFill& deferred = bitmap.deferred;
  if (!deferred.pending) return;
  deferred.pending = false;
  const raster::SolidBox& box = deferred.box;
  const Surface& surface = bitmap.surface;
  const long long top = std::max(box.top, y0);
  const long long bottom = std::min(box.bottom, y1);
  if (top >= bottom || std::max(box.left, x0) >= std::min(box.right, x1)) {
    raster::fill_rect(surface, box.left, box.top, box.right, box.bottom, box.pixel);
    return;
  }
  raster::fill_rect(surface, box.left, box.top, box.right, top, box.pixel);
  raster::fill_rect(surface, box.left, bottom, box.right, box.bottom, box.pixel);
  raster::fill_rect(surface, box.left, top, std::min(box.right, x0), bottom, box.pixel);
  raster::fill_rect(surface, std::max(box.left, x1), top, box.right, bottom, box.pixel);
}

// Writes the bitmap's deferred rows above `row`; the rest stays deferred.
void write_deferred_above(Bitmap& bitmap, long long row) {
  DeferredFill& deferred = bitmap.deferred;
  raster::SolidBox& box = deferred.box;
  if (!deferred.pending || row <= box.top) return;
  const long long end = std::min(row, box.bottom);
  raster::fill_rect(bitmap.surface, box.left, box.top, box.right, end, box.pixel);
  box.top = end;
  deferred.pending = box.top < box.bottom;
}

}  // namespace

bool dc_surface(const Dc& dc, Surface* out) {
  return dc_surface_rows(dc, LLONG_MIN, LLONG_MAX, out);
}

bool bitmap_surface(Bitmap& bitmap, Surface* out) {
  write_deferred(bitmap, 0, 0, 0, 0);
  *out = bitmap.surface;
  return bitmap.surface.pixels != nullptr;
}

bool dc_surface_rows(const Dc& dc, long long top, long long bottom, Surface* out) {
  if (dc.window) return dc.window_pixels->surface(dc.window, out);
  Bitmap* bitmap = dc.bitmap.object;
  if (!bitmap) return false;
  if (bitmap->deferred.pending && top < bitmap->deferred.box.bottom) {
    write_deferred_above(*bitmap, bottom);
  }
  *out = bitmap->surface;
  return true;
}

bool dc_fill_box(const Dc& dc, long long x0, long long y0, long long x1, long long y1,
                 uint32_t pixel) {
  Bitmap* bitmap = dc.bitmap.object;
  if (!bitmap) {
    Surface surface;
    if (!dc_surface(dc, &surface)) return false;
    raster::fill_rect(surface, x0, y0, x1, y1, pixel);
    return true;
  }
  const long long left = std::max<long long>(x0, 0);
  const long long top = std::max<long long>(y0, 0);
  const long long right = std::min<long long>(x1, bitmap->surface.width);
  const long long bottom = std::min<long long>(y1, bitmap->surface.height);
  if (left >= right || top >= bottom) return true;
  write_deferred(*bitmap, left, top, right, bottom);
  bitmap->deferred = {true, {left, top, right, bottom, pixel}};
  return true;
}

bool dc_fill_triangle(const Dc& dc, const raster::Point* corners, uint32_t pixel) {
  Bitmap* bitmap = dc.bitmap.object;
  if (!bitmap || !bitmap->deferred.pending) return false;
  raster::SolidBox& box = bitmap->deferred.box;
  const Surface& surface = bitmap->surface;
  const long long top = std::min({corners[0].y, corners[1].y, corners[2].y});
  const long long bottom = std::max({corners[0].y, corners[1].y, corners[2].y});
  // The interior's rows on the surface.
  const long long first = std::max<long long>(top, 0);
  const long long last = std::min<long long>(bottom, surface.height);
  if (first >= last || last <= box.top || first >= box.bottom) return false;
  write_deferred_above(*bitmap, first);
  raster::SpanPainter painter(surface, pixel);
  raster::triangle_over_box(surface, corners, box, painter);
  // The triangle's rows of the box are written now.
  box.top = last;
  bitmap->deferred.pending = box.top < box.bottom;
  return true;
}

}  // namespace platform
