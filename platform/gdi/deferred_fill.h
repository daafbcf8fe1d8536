// How drawing calls reach a DC's pixels, and the fill a bitmap keeps in front of them.
//
// The deferred fill saves writing twice what a frame paints over its cleared background: without
// it bench_designer's frame runs 16% more instructions at 0 toppings and 5% more at 200.
#pragma once

#include "base/surface.h"
#include "raster.h"

namespace platform {

struct Dc;
struct Bitmap;

// The last solid box filled in on a bitmap, not yet written. A box that replaces it leaves out
// what it covers, a shape has it written down to the rows the shape can touch, a filled
// triangle only where its interior leaves it, and anything else that reads or draws the pixels
// has it written whole first.
struct DeferredFill {
  bool pending = false;
  raster::SolidBox box;  // within the surface
};

// The pixels the DC draws on, with every fill made so far written; false when there are none
// (stale window).
bool dc_surface(const Dc& dc, Surface* out);

// A bitmap's pixels, with every fill made so far written.
bool bitmap_surface(Bitmap& bitmap, Surface* out);

// The pixels for a call that draws on rows [top, bottom) only: a deferred fill is written on
// those rows and the ones above them, and may stay deferred below them.
bool dc_surface_rows(const Dc& dc, long long top, long long bottom, Surface* out);

// Fills [x0, x1) x [y0, y1), clipped, with one pixel value, as raster::fill_rect on the DC's
// surface would; a bitmap keeps the box to write later. False when the DC has no pixels.
bool dc_fill_box(const Dc& dc, long long x0, long long y0, long long x1, long long y1,
                 uint32_t pixel);

// Fills a triangle's interior as raster::polygon_spans does, where that saves writing part of a
// deferred fill under it: the rows of the fill down to the triangle's last are written, less the
// interior. False, with nothing done, where there is no such fill.
bool dc_fill_triangle(const Dc& dc, const raster::Point* corners, uint32_t pixel);

}  // namespace platform
