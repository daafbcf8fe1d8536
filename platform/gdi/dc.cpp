// Device contexts: window DCs from GetDC, memory DCs with their selected bitmap, and the
// attributes a DC carries (current pen, brush, font, colours, background mode, position).
#include <algorithm>
#include <climits>

#include "internal.h"
#include "objects.h"

namespace platform {

namespace {

HDC new_dc(HWND window) {
  Dc* dc = new Dc;
  dc->window = window;
  dc->text_colour = RGB(0, 0, 0);
  dc->bk_colour = RGB(255, 255, 255);
  dc->bk_mode = OPAQUE;
  HDC handle = static_cast<HDC>(handle_new(HandleKind::dc, dc));
  dc_select_initial(handle);
  return handle;
}

void delete_dc(HDC handle, Dc* dc) {
  if (dc->bitmap.object && dc->bitmap.object->selected_in == handle) {
    dc->bitmap.object->selected_in = nullptr;
  }
  handle_release(handle);
  dc_deselect_all(*dc);
  delete dc;
}

// Writes the bitmap's deferred fill, except where it lies inside [x0, x1) x [y0, y1).
void write_deferred(Bitmap& bitmap, long long x0, long long y0, long long x1, long long y1) {
  if (!bitmap.deferred_pending) return;
  bitmap.deferred_pending = false;
  const raster::SolidBox& box = bitmap.deferred;
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
  raster::SolidBox& box = bitmap.deferred;
  if (!bitmap.deferred_pending || row <= box.top) return;
  const long long end = std::min(row, box.bottom);
  raster::fill_rect(bitmap.surface, box.left, box.top, box.right, end, box.pixel);
  box.top = end;
  bitmap.deferred_pending = box.top < box.bottom;
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
  if (bitmap->deferred_pending && top < bitmap->deferred.bottom) {
    write_deferred_above(*bitmap, bottom);
  }
  *out = bitmap->surface;
  return true;
}

bool dc_fill_triangle(const Dc& dc, const raster::Point* corners, uint32_t pixel) {
  Bitmap* bitmap = dc.bitmap.object;
  if (!bitmap || !bitmap->deferred_pending) return false;
  raster::SolidBox& box = bitmap->deferred;
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
  bitmap->deferred_pending = box.top < box.bottom;
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
  bitmap->deferred_pending = true;
  bitmap->deferred = {left, top, right, bottom, pixel};
  return true;
}

void dc_changed(const Dc& dc) {
  if (dc.window) dc.window_pixels->changed(dc.window);
}

HDC dc_open_window(HWND window, const WindowPixels* pixels) {
  if (!window || !pixels) return nullptr;
  HDC handle = new_dc(window);
  dc_from(handle)->window_pixels = pixels;
  return handle;
}

bool dc_close_window(HWND window, HDC handle) {
  Dc* dc = dc_from(handle);
  if (!dc || !dc->window || dc->window != window) return false;
  delete_dc(handle, dc);
  return true;
}

}  // namespace platform

using namespace platform;

HDC WINAPI CreateCompatibleDC(HDC handle) {
  if (handle && !dc_from(handle)) return nullptr;
  return new_dc(nullptr);
}

BOOL WINAPI DeleteDC(HDC handle) {
  Dc* dc = dc_from(handle);
  // A DC from GetDC belongs to the window system and goes back through ReleaseDC.
  if (!dc || dc->window) return FALSE;
  delete_dc(handle, dc);
  return TRUE;
}

COLORREF WINAPI SetTextColor(HDC handle, COLORREF colour) {
  Dc* dc = dc_from(handle);
  if (!dc) return CLR_INVALID;
  const COLORREF previous = dc->text_colour;
  dc->text_colour = colour;
  return previous;
}

COLORREF WINAPI GetTextColor(HDC handle) {
  const Dc* dc = dc_from(handle);
  return dc ? dc->text_colour : CLR_INVALID;
}

int WINAPI GetBkMode(HDC handle) {
  const Dc* dc = dc_from(handle);
  return dc ? dc->bk_mode : 0;
}

int WINAPI SetBkMode(HDC handle, int mode) {
  Dc* dc = dc_from(handle);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = dc->bk_mode;
  dc->bk_mode = mode;
  return previous;
}

COLORREF WINAPI GetBkColor(HDC handle) {
  const Dc* dc = dc_from(handle);
  return dc ? dc->bk_colour : CLR_INVALID;
}

COLORREF WINAPI SetBkColor(HDC handle, COLORREF colour) {
  Dc* dc = dc_from(handle);
  if (!dc) return CLR_INVALID;
  const COLORREF previous = dc->bk_colour;
  dc->bk_colour = colour;
  return previous;
}

BOOL WINAPI MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
  Dc* dc = dc_from(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->position;
  dc->position = POINT{x, y};
  return TRUE;
}
