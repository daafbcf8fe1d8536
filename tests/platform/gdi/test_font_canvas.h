// A surface for font tests: the pixels sit inside a larger buffer with a guard border, so a
// write outside the surface shows up, and helpers that read the result back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/surface.h"
#include "gdi/font.h"

namespace font_test {

constexpr uint32_t kBackground = 0x00123456;
constexpr uint32_t kGuard = 0x00FEDCBA;
constexpr uint32_t kInk = 0x00ABCDEF;
constexpr int kBorder = 8;

struct Canvas {
  int width = 0;
  int height = 0;
  int stride = 0;
  std::vector<uint32_t> buffer;  // (height + 2 border) rows of stride pixels
  platform::Surface surface;

  Canvas(int w, int h) : width(w), height(h), stride(w + 2 * kBorder + 3) {
    buffer.assign(static_cast<size_t>(stride) * (h + 2 * kBorder), kGuard);
    surface.pixels = buffer.data() + kBorder * stride + kBorder;
    surface.width = w;
    surface.height = h;
    surface.stride = stride;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) at(x, y) = kBackground;
    }
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  uint32_t& at(int x, int y) { return surface.pixels[y * stride + x]; }
  uint32_t at(int x, int y) const { return surface.pixels[y * stride + x]; }
  RECT all() const { return RECT{0, 0, width, height}; }

  void draw(const platform::Font* font, int x, int y, const std::string& text) {
    platform::font_draw_text(font, surface, all(), x, y, text.data(), static_cast<int>(text.size()),
                             kInk);
  }

  bool inked(int x, int y) const { return at(x, y) == kInk; }

  int ink_count() const {
    int count = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) count += inked(x, y) ? 1 : 0;
    }
    return count;
  }

  // Every pixel of the guard border still holds its guard value.
  bool guard_intact() const {
    const uint32_t* origin = surface.pixels;
    for (int y = -kBorder; y < height + kBorder; ++y) {
      for (int x = -kBorder; x < stride - kBorder; ++x) {
        bool inside = y >= 0 && y < height && x >= 0 && x < width;
        if (!inside && origin[y * stride + x] != kGuard) return false;
      }
    }
    return true;
  }
};

// The inked pixels' bounding box; left > right when nothing is inked.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
  bool empty() const { return right < left; }
};

inline Box ink_box(const Canvas& canvas) {
  Box box;
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      if (!canvas.inked(x, y)) continue;
      if (x < box.left) box.left = x;
      if (x > box.right) box.right = x;
      if (y < box.top) box.top = y;
      if (y > box.bottom) box.bottom = y;
    }
  }
  return box;
}

// The ink as rows of '#' and '.', for comparisons whose failure message shows the picture.
inline std::string ink_picture(const Canvas& canvas) {
  std::string picture;
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) picture += canvas.inked(x, y) ? '#' : '.';
    picture += '\n';
  }
  return picture;
}

inline TEXTMETRICA metrics_of(const platform::Font* font) {
  TEXTMETRICA metrics{};
  platform::font_metrics(font, &metrics);
  return metrics;
}

inline int width_of(const platform::Font* font, const std::string& text) {
  return platform::font_text_width(font, text.data(), static_cast<int>(text.size()));
}

}  // namespace font_test
