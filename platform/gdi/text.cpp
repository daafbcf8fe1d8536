// Text: metrics and extents of the DC's font, and TextOutA with the cell's top-left corner at
// the reference point; OPAQUE mode first fills the cell with the background colour.
#include "objects.h"
#include "raster.h"

using namespace platform;

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
  Dc* dc = dc_from(handle);
  Surface surface;
  if (!dc || count < 0 || (count > 0 && !text) || !dc_surface(*dc, &surface)) return FALSE;
  if (count == 0) return TRUE;
  const Font* font = dc_font(*dc);
  if (dc->bk_mode == OPAQUE) {
    TEXTMETRICA metrics{};
    font_metrics(font, &metrics);
    const long long width = font_text_width(font, text, count);
    raster::fill_rect(surface, x, y, x + width, static_cast<long long>(y) + metrics.tmHeight,
                      pixel_of(dc->bk_colour));
  }
  const RECT clip{0, 0, surface.width, surface.height};
  font_draw_text(font, surface, clip, x, y, text, count, pixel_of(dc->text_colour));
  dc_changed(*dc);
  return TRUE;
}
