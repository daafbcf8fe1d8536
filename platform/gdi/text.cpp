// Text: metrics and extents of the DC's font, and TextOutA and ExtTextOutA with the cell's
// top-left corner at the reference point; OPAQUE mode first fills the cell with the background
// colour.
#include <algorithm>
#include <climits>

#include "objects.h"
#include "raster.h"

using namespace platform;

namespace {

// A rectangle in 64-bit coordinates, so that a cell far out never overflows.
struct Box {
  long long left, top, right, bottom;
  Box within(const Box& o) const {
    return Box{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
  }
  // Only for boxes within a surface, whose sides fit in a LONG.
  RECT rect() const {
    return RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                static_cast<LONG>(bottom)};
  }
};

}  // namespace

BOOL WINAPI GetTextExtentPointA(HDC handle, LPCSTR text, int count, LPSIZE size) {
  const Dc* dc = dc_from(handle);
  if (!dc || !size || count < 0 || (count > 0 && !text)) return FALSE;
  // An empty string measures 0 x 0, not 0 x the cell height, as Windows measures it.
  TEXTMETRICA metrics{};
  font_metrics(dc_font(*dc), &metrics);
  size->cx = font_text_width(dc_font(*dc), text, count);
  size->cy = count > 0 ? metrics.tmHeight : 0;
  return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC handle, LPTEXTMETRICA metrics) {
  const Dc* dc = dc_from(handle);
  if (!dc || !metrics) return FALSE;
  font_metrics(dc_font(*dc), metrics);
  return TRUE;
}

BOOL WINAPI TextOutA(HDC handle, int x, int y, LPCSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutA(handle, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL WINAPI ExtTextOutA(HDC handle, int x, int y, UINT options, const RECT* rect, LPCSTR text,
                        UINT count, const INT* dx) {
  Dc* dc = dc_from(handle);
  Surface surface;
  if (!dc || count > INT_MAX || (count > 0 && !text) || !dc_surface(*dc, &surface)) return FALSE;
  // The rectangle counts for ETO_OPAQUE and ETO_CLIPPED only, and is taken either way round.
  long long left = 0, top = 0, right = surface.width, bottom = surface.height;
  if (rect) {
    left = std::min(rect->left, rect->right);
    top = std::min(rect->top, rect->bottom);
    right = std::max(rect->left, rect->right);
    bottom = std::max(rect->top, rect->bottom);
  }
  const uint32_t background = pixel_of(dc->bk_colour);
  const bool opaque = rect && (options & ETO_OPAQUE);
  if (opaque) raster::fill_rect(surface, left, top, right, bottom, background);
  if (count == 0) {
    if (opaque) dc_changed(*dc);
    return TRUE;
  }
  Box clip{0, 0, surface.width, surface.height};
  if (rect && (options & ETO_CLIPPED)) clip = Box{left, top, right, bottom}.within(clip);
  const Font* font = dc_font(*dc);
  const int length = static_cast<int>(count);
  if (dc->bk_mode == OPAQUE) {
    TEXTMETRICA metrics{};
    font_metrics(font, &metrics);
    long long width = dx ? 0 : font_text_width(font, text, length);
    for (int i = 0; dx && i < length; ++i) width += dx[i];
    const Box cell =
        Box{x, y, x + width, y + static_cast<long long>(metrics.tmHeight)}.within(clip);
    raster::fill_rect(surface, cell.left, cell.top, cell.right, cell.bottom, background);
  }
  const uint32_t ink = pixel_of(dc->text_colour);
  const RECT bounds = clip.rect();
  if (!dx) {
    font_draw_text(font, surface, bounds, x, y, text, length, ink);
  } else {
    // Each character at its own origin, the distances given instead of the advances.
    long long origin = x;
    for (int i = 0; i < length; ++i) {
      if (origin >= INT_MIN && origin <= INT_MAX) {
        font_draw_text(font, surface, bounds, static_cast<int>(origin), y, text + i, 1, ink);
      }
      origin += dx[i];
    }
  }
  dc_changed(*dc);
  return TRUE;
}
