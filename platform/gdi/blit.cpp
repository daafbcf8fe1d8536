// Pixels read and written as they are: single pixels (SetPixel, GetPixel), a bitmap's rows
// (GetDIBits), copies of pixel blocks (BitBlt between DCs and ScrollDC within one, both clipped
// to the surfaces and correct when source and destination overlap) and PatBlt, which combines
// the selected brush with what is there.
#include <algorithm>
#include <cstring>

#include "objects.h"
#include "raster.h"

namespace platform {

namespace {

// Rectangles in 64-bit coordinates, so offsets never overflow.
struct Box {
  long long left, top, right, bottom;
};

Box box_of(const RECT& r) {
  return Box{r.left, r.top, r.right, r.bottom};
}

Box intersection(const Box& a, const Box& b) {
  return Box{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
             std::min(a.bottom, b.bottom)};
}

bool empty(const Box& b) {
  return b.left >= b.right || b.top >= b.bottom;
}

// The bounding box of what lies in `area` but not in `covered` (a part of it).
RECT uncovered(const Box& area, const Box& covered) {
  if (empty(area)) return RECT{0, 0, 0, 0};
  Box rest = area;
  if (!empty(covered)) {
    const bool full_width = covered.left <= area.left && covered.right >= area.right;
    const bool full_height = covered.top <= area.top && covered.bottom >= area.bottom;
    if (full_width && full_height) return RECT{0, 0, 0, 0};
    if (full_width && covered.top <= area.top) rest.top = covered.bottom;
    if (full_width && covered.bottom >= area.bottom) rest.bottom = covered.top;
    if (full_height && covered.left <= area.left) rest.left = covered.right;
    if (full_height && covered.right >= area.right) rest.right = covered.left;
  }
  return RECT{static_cast<LONG>(rest.left), static_cast<LONG>(rest.top),
              static_cast<LONG>(rest.right), static_cast<LONG>(rest.bottom)};
}

// Copies `dest` on `to` from the same block moved back by the shift on `from`.
void copy_block(const Surface& from, const Surface& to, const Box& dest, long long shift_x,
                long long shift_y) {
  // Rows go bottom-up when the copy moves pixels down within one buffer, so no source row is
  // overwritten before it is read; memmove takes care of overlap within a row.
  const bool downwards = from.pixels == to.pixels && shift_y > 0;
  const long long height = dest.bottom - dest.top;
  for (long long i = 0; i < height; ++i) {
    const long long row = downwards ? dest.bottom - 1 - i : dest.top + i;
    uint32_t* out = to.pixels + row * to.stride + dest.left;
    const uint32_t* in = from.pixels + (row - shift_y) * from.stride + (dest.left - shift_x);
    std::memmove(out, in, static_cast<size_t>(dest.right - dest.left) * sizeof(uint32_t));
  }
}

// A raster operation's result where it reads pattern and destination only. The operation's
// code byte is its truth table: bit P * 4 + S * 2 + D holds the result for those input bits.
uint32_t pattern_result(unsigned code, uint32_t pattern, uint32_t dest) {
  uint32_t result = 0;
  for (unsigned p = 0; p < 2; ++p) {
    for (unsigned d = 0; d < 2; ++d) {
      if (code & (1u << (p * 4 + d))) result |= (p ? pattern : ~pattern) & (d ? dest : ~dest);
    }
  }
  return result & 0x00FFFFFF;
}

bool reads_source(unsigned code) {
  return ((code >> 2) ^ code) & 0x33;
}

bool reads_pattern(unsigned code) {
  return ((code >> 4) ^ code) & 0x0F;
}

}  // namespace

}  // namespace platform

using namespace platform;

COLORREF WINAPI SetPixel(HDC handle, int x, int y, COLORREF colour) {
  Dc* dc = dc_from(handle);
  Surface surface;
  if (!dc || !dc_surface(*dc, &surface)) return CLR_INVALID;
  raster::fill_rect(surface, x, y, static_cast<long long>(x) + 1, static_cast<long long>(y) + 1,
                    pixel_of(colour));
  dc_changed(*dc);
  return colour & 0x00FFFFFF;
}

BOOL WINAPI SetPixelV(HDC handle, int x, int y, COLORREF colour) {
  return SetPixel(handle, x, y, colour) != CLR_INVALID;
}

COLORREF WINAPI GetPixel(HDC handle, int x, int y) {
  const Dc* dc = dc_from(handle);
  Surface surface;
  if (!dc || !dc_surface(*dc, &surface)) return CLR_INVALID;
  if (x < 0 || y < 0 || x >= surface.width || y >= surface.height) return CLR_INVALID;
  return colorref_from_pixel(surface.pixels[static_cast<long long>(y) * surface.stride + x]);
}

BOOL WINAPI PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
  Dc* dc = dc_from(handle);
  Surface surface;
  const unsigned code = (rop >> 16) & 0xFF;
  if (!dc || reads_source(code) || !dc_surface(*dc, &surface)) return FALSE;
  const Brush& brush = dc_brush(*dc);
  // A hollow brush has no pattern to combine.
  if (brush.hollow && reads_pattern(code)) return TRUE;
  long long left = x, top = y, w = width, h = height;
  if (w < 0) {
    left += w;
    w = -w;
  }
  if (h < 0) {
    top += h;
    h = -h;
  }
  const Box box =
      intersection(Box{left, top, left + w, top + h}, Box{0, 0, surface.width, surface.height});
  if (empty(box)) return TRUE;
  const uint32_t pattern = pixel_of(brush.colour);
  if (code == (PATCOPY >> 16)) {
    dc_fill_box(*dc, box.left, box.top, box.right, box.bottom, pattern);
  } else {
    for (long long row = box.top; row < box.bottom; ++row) {
      uint32_t* pixel = surface.pixels + row * surface.stride + box.left;
      for (long long column = box.left; column < box.right; ++column, ++pixel) {
        *pixel = pattern_result(code, pattern, *pixel);
      }
    }
  }
  dc_changed(*dc);
  return TRUE;
}

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int src_x, int src_y,
                   DWORD rop) {
  Dc* to_dc = dc_from(dest);
  const Dc* from_dc = dc_from(src);
  if (!to_dc || !from_dc || rop != SRCCOPY) return FALSE;
  Surface to;
  Surface from;
  if (!dc_surface(*to_dc, &to) || !dc_surface(*from_dc, &from)) return FALSE;
  long long dx = x, dy = y, sx = src_x, sy = src_y, w = width, h = height;
  // Negative sizes flip both rectangles the same way, so nothing is mirrored.
  if (w < 0) {
    dx += w;
    sx += w;
    w = -w;
  }
  if (h < 0) {
    dy += h;
    sy += h;
    h = -h;
  }
  // The block on the destination, inside both surfaces.
  const long long shift_x = dx - sx;
  const long long shift_y = dy - sy;
  Box block = intersection(Box{dx, dy, dx + w, dy + h}, Box{0, 0, to.width, to.height});
  block = intersection(block, Box{shift_x, shift_y, shift_x + from.width, shift_y + from.height});
  if (!empty(block)) {
    copy_block(from, to, block, shift_x, shift_y);
    dc_changed(*to_dc);
  }
  return TRUE;
}

int WINAPI GetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
                     UINT usage) {
  Bitmap* bitmap = handle_get<Bitmap>(handle, HandleKind::bitmap);
  if (!dc_from(dc) || !bitmap || !info || usage != DIB_RGB_COLORS) return 0;
  BITMAPINFOHEADER& header = info->bmiHeader;
  Surface surface;
  if (!bitmap_surface(*bitmap, &surface)) return 0;
  if (!bits) {  // the caller asks for the bitmap's format
    header.biWidth = surface.width;
    header.biHeight = surface.height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(surface.width) * surface.height * 4;
    return 1;
  }
  if (header.biBitCount != 32 || header.biCompression != BI_RGB ||
      header.biWidth != surface.width ||
      (header.biHeight != surface.height && header.biHeight != -surface.height)) {
    return 0;
  }
  // Line i of the rows given out is row i from the top (top-down), else from the bottom.
  const bool top_down = header.biHeight < 0;
  const long long height = surface.height;
  const long long first = std::min<long long>(start, height);
  const long long count = std::min<long long>(lines, height - first);
  auto* out = static_cast<uint32_t*>(bits);
  for (long long line = first; line < first + count; ++line) {
    const long long row = top_down ? line : height - 1 - line;
    const uint32_t* in = surface.pixels + row * surface.stride;
    uint32_t* to = out + (line - first) * surface.width;
    for (int x = 0; x < surface.width; ++x) to[x] = in[x] & 0x00FFFFFF;
  }
  return static_cast<int>(count);
}

BOOL WINAPI ScrollDC(HDC handle, int dx, int dy, const RECT* scroll, const RECT* clip,
                     HRGN update_rgn, LPRECT update) {
  (void)update_rgn;  // regions are not part of this layer
  Dc* dc = dc_from(handle);
  Surface surface;
  if (!dc || !dc_surface(*dc, &surface)) return FALSE;
  // Content comes from the scroll rectangle and lands inside it and inside the clip rectangle.
  Box area{0, 0, surface.width, surface.height};
  if (scroll) area = intersection(area, box_of(*scroll));
  Box limit = clip ? intersection(area, box_of(*clip)) : area;
  const Box moved{area.left + dx, area.top + dy, area.right + dx, area.bottom + dy};
  const Box dest = intersection(moved, limit);
  if (!empty(dest)) {
    copy_block(surface, surface, dest, dx, dy);
    dc_changed(*dc);
  }
  if (update) *update = uncovered(limit, dest);
  return TRUE;
}
