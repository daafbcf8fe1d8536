// A block of 32-bit pixels that GDI draws into: a bitmap, or a window's client area.
#pragma once

#include <cstdint>

namespace platform {

// Pixels are 0x00RRGGBB (the layout of a 32-bit DIB), rows top to bottom, `stride` pixels
// apart. A window's client area is a view into its larger native content (menu bar above).
struct Surface {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

inline uint32_t pixel_from_colorref(uint32_t colorref) {
  return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}
inline uint32_t colorref_from_pixel(uint32_t pixel) {
  return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}

}  // namespace platform
