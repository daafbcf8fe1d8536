// Pictures of windows, for tests and tools: a picture's pixels, PNG and PPM files in and out, and
// the comparison of two pictures, with a picture of where they differ. The PNG files are what the
// headless display writes of a window and what the tests keep as references; PPM is the quick
// form written over and over (a program's last picture) and what screen-shot tools give.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace picture {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB or 0x00RRGGBB, rows top to bottom

  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A rectangle of a picture, in pixels from its top-left corner.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool contains(int x, int y) const {
    return x >= left && x < left + width && y >= top && y < top + height;
  }
};

// Writes 8-bit RGB (or with `alpha` RGBA, the pixels 0xAARRGGBB not premultiplied); false on
// failure.
bool write_png(const std::string& path, const Picture& picture, bool alpha = false);

// Reads a PNG of 8-bit RGB or RGBA without interlacing (what write_png and most tools write),
// rows of any filter type, into 0xAARRGGBB pixels (RGB comes out opaque). False with `error`
// saying why for a file that is missing, damaged, of another kind or larger than 16384 pixels a
// side.
bool read_png(const std::string& path, Picture* picture, std::string* error);

// A binary PPM (P6) of 8 or 16 bits a sample in, 8 bits out; pixels come out 0x00RRGGBB.
bool write_ppm(const std::string& path, const Picture& picture);
bool read_ppm(const std::string& path, Picture* picture, std::string* error);

struct Comparison {
  bool same_size = true;
  long differing = 0;         // pixels outside every mask whose colours (0xRRGGBB) differ
  long differing_masked = 0;  // and inside one
  Rect bounds;                // the smallest rectangle holding those outside (empty: none)
  std::vector<std::pair<int, int>> first;  // x and y of the first ten outside, in row order
};

// Compares `actual` with `expected` over the larger of each side (a pixel only one of them has
// differs). Pixels inside a mask (text drawn in another system's font, a student's name) are
// counted apart.
Comparison compare(const Picture& expected, const Picture& actual,
                   const std::vector<Rect>& masks = {});

// Where the two differ, over the larger of each side: `expected` faded three quarters of the way
// to white, its pixels that `actual` differs in magenta, those inside a mask blue, the rest of
// the masks light blue.
Picture difference(const Picture& expected, const Picture& actual,
                   const std::vector<Rect>& masks = {});

}  // namespace picture
