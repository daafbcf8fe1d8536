// Copies of pixel blocks: BitBlt between DCs and ScrollDC within one, both clipped to the
// surfaces and correct when source and destination overlap.
#include <algorithm>
#include <cstring>

#include "gdi_objects.h"

namespace platform {

namespace {

struct Block {
  long long x, y, width, height;
};

// Clips a copy of `size` from (sx, sy) on `from` to (dx, dy) on `to`, keeping both inside their
// surfaces and inside `limit` (in destination coordinates). Returns the destination block; the
// source is at the same offset.
Block clip_copy(const Surface& from, const Surface& to, long long dx, long long dy, long long sx,
                long long sy, long long width, long long height, const RECT& limit) {
  long long left = std::max({dx, 0LL, static_cast<long long>(limit.left), dx + (0 - sx)});
  long long top = std::max({dy, 0LL, static_cast<long long>(limit.top), dy + (0 - sy)});
  long long right = std::min({dx + width, static_cast<long long>(to.width),
                              static_cast<long long>(limit.right), dx + (from.width - sx)});
  long long bottom = std::min({dy + height, static_cast<long long>(to.height),
                               static_cast<long long>(limit.bottom), dy + (from.height - sy)});
  if (left >= right || top >= bottom) return Block{0, 0, 0, 0};
  return Block{left, top, right - left, bottom - top};
}

void copy_block(const Surface& from, const Surface& to, const Block& dest, long long shift_x,
                long long shift_y) {
  // Rows go bottom-up when the copy moves pixels down within one buffer, so no source row is
  // overwritten before it is read; memmove takes care of overlap within a row.
  const bool downwards = from.pixels == to.pixels && shift_y > 0;
  for (long long i = 0; i < dest.height; ++i) {
    const long long row = downwards ? dest.y + dest.height - 1 - i : dest.y + i;
    uint32_t* out = to.pixels + row * to.stride + dest.x;
    const uint32_t* in = from.pixels + (row - shift_y) * from.stride + (dest.x - shift_x);
    std::memmove(out, in, static_cast<size_t>(dest.width) * sizeof(uint32_t));
  }
}

}  // namespace

}  // namespace platform

using namespace platform;

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
  const RECT whole{0, 0, to.width, to.height};
  const Block block = clip_copy(from, to, dx, dy, sx, sy, w, h, whole);
  if (block.width > 0) {
    copy_block(from, to, block, dx - sx, dy - sy);
    dc_changed(*to_dc);
  }
  return TRUE;
}

BOOL WINAPI ScrollDC(HDC handle, int dx, int dy, const RECT* scroll, const RECT* clip,
                     HRGN update_rgn, LPRECT update) {
  (void)update_rgn;  // regions are not part of this layer
  Dc* dc = dc_from(handle);
  Surface surface;
  if (!dc || !dc_surface(*dc, &surface)) return FALSE;
  RECT area{0, 0, surface.width, surface.height};
  if (scroll) {
    area.left = std::max(area.left, scroll->left);
    area.top = std::max(area.top, scroll->top);
    area.right = std::min(area.right, scroll->right);
    area.bottom = std::min(area.bottom, scroll->bottom);
  }
  RECT limit = area;
  if (clip) {
    limit.left = std::max(limit.left, clip->left);
    limit.top = std::max(limit.top, clip->top);
    limit.right = std::min(limit.right, clip->right);
    limit.bottom = std::min(limit.bottom, clip->bottom);
  }
  // The scrolled content comes only from inside the scroll area and lands inside the limit.
  Surface from = surface;
  from.pixels = surface.pixels + static_cast<long long>(area.top) * surface.stride + area.left;
  from.width = std::max(0, static_cast<int>(area.right - area.left));
  from.height = std::max(0, static_cast<int>(area.bottom - area.top));
  Block block{0, 0, 0, 0};
  if (from.width > 0 && from.height > 0) {
    block = clip_copy(surface, surface, static_cast<long long>(area.left) + dx,
                      static_cast<long long>(area.top) + dy, area.left, area.top, from.width,
                      from.height, limit);
    // Keep the source inside the scroll area.
    const long long sx0 = block.x - dx;
    const long long sy0 = block.y - dy;
    const long long left = std::max<long long>(sx0, area.left) + dx;
    const long long top = std::max<long long>(sy0, area.top) + dy;
    const long long right = std::min<long long>(sx0 + block.width, area.right) + dx;
    const long long bottom = std::min<long long>(sy0 + block.height, area.bottom) + dy;
    block = left < right && top < bottom ? Block{left, top, right - left, bottom - top}
                                         : Block{0, 0, 0, 0};
  }
  if (block.width > 0) {
    copy_block(surface, surface, block, dx, dy);
    dc_changed(*dc);
  }
  if (update) {
    // What the copy did not cover inside the limit: its bounding box.
    RECT rest{0, 0, 0, 0};
    if (limit.left < limit.right && limit.top < limit.bottom) {
      rest = limit;
      if (block.width > 0) {
        const bool full_width = block.x <= limit.left && block.x + block.width >= limit.right;
        const bool full_height = block.y <= limit.top && block.y + block.height >= limit.bottom;
        if (full_width && full_height) {
          rest = RECT{0, 0, 0, 0};
        } else if (full_width) {
          if (block.y <= limit.top)
            rest.top = static_cast<LONG>(block.y + block.height);
          else
            rest.bottom = static_cast<LONG>(block.y);
        } else if (full_height) {
          if (block.x <= limit.left)
            rest.left = static_cast<LONG>(block.x + block.width);
          else
            rest.right = static_cast<LONG>(block.x);
        }
      }
    }
    *update = rest;
  }
  return TRUE;
}
