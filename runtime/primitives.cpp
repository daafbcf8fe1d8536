// The drawing calls of the application. Each repairs its arguments (reporting every repair in
// the log, whatever the logging switch says), describes itself while logging is on, builds one
// command and hands it to the renderer before it returns.
#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstring>

#include "runtime_state.h"

namespace vorla {

namespace {

// The repair of a negative size; the most negative int has no positive twin and becomes the
// largest int instead of overflowing.
int negated(int value) {
  return value == INT_MIN ? INT_MAX : -value;
}

// A corner of a circle's box, which may lie beyond the range of int for absurd arguments.
int clamped(int64_t value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void repair_width(int* width) {
  if (*width < 0) {
    gfx_log("Width of %d not possible, using width %d\n", *width, negated(*width));
    *width = negated(*width);
  }
}

// Afterwards (x1, y1) is the upper-left and (x2, y2) the lower-right corner; y grows upwards.
void order_corners(int* x1, int* y1, int* x2, int* y2) {
  if (*x1 > *x2) {
    int t = *x1;
    *x1 = *x2;
    *x2 = t;
  }
  if (*y1 < *y2) {
    int t = *y1;
    *y1 = *y2;
    *y2 = t;
  }
}

void render(int kind, int colour, int width, int x1, int y1, int x2, int y2, int x3 = 0,
            int y3 = 0) {
  DrawCommand command = {kind, colour, width, x1, y1, x2, y2, x3, y3};
  gfx_render(&command);
}

}  // namespace

extern "C" int gfx_circle(int colour, int x, int y, int radius) {
  if (!runtime_started("gfx_circle")) return 1;
  colour = gfx_check_colour(colour);
  if (radius < 0) {
    gfx_log("Radius of %d not possible, using radius %d\n", radius, negated(radius));
    radius = negated(radius);
  }
  if (state.logging_on)
    gfx_log("%s circle at (%d,%d), radius %d\n", colour_names[colour], x, y, radius);
  int64_t r = radius;
  render(DRAW_OVAL, colour, 0, clamped(x - r), clamped(y + r), clamped(x + r), clamped(y - r));
  return 1;
}

extern "C" int gfx_triangle(int colour, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
  if (!runtime_started("gfx_triangle")) return 1;
  colour = gfx_check_colour(colour);
  repair_width(&width);
  if (state.logging_on)
    gfx_log("%s triangle at (%d,%d), (%d,%d), (%d,%d)\n", colour_names[colour], x1, y1, x2, y2, x3,
            y3);
  render(DRAW_TRIANGLE, colour, width, x1, y1, x2, y2, x3, y3);
  return 1;
}

extern "C" int gfx_rect(int colour, int x1, int y1, int x2, int y2, int width) {
  if (!runtime_started("gfx_rect")) return 1;
  order_corners(&x1, &y1, &x2, &y2);
  colour = gfx_check_colour(colour);
  repair_width(&width);
  if (state.logging_on) {
    if (width == 0)
      gfx_log("%s rectangle with bounding box (%d,%d) to (%d,%d), filled\n", colour_names[colour],
              x1, y1, x2, y2);
    else
      gfx_log("%s rectangle with bounding box (%d,%d) to (%d,%d) with line width %d\n",
              colour_names[colour], x1, y1, x2, y2, width);
  }
  render(DRAW_RECT, colour, width, x1, y1, x2, y2);
  return 1;
}

extern "C" int gfx_oval(int colour, int x1, int y1, int x2, int y2, int width) {
  if (!runtime_started("gfx_oval")) return 1;
  order_corners(&x1, &y1, &x2, &y2);
  repair_width(&width);
  colour = gfx_check_colour(colour);
  if (state.logging_on) {
    if (width == 0)
      gfx_log("%s oval with bounding box (%d,%d) to (%d,%d), filled\n", colour_names[colour], x1,
              y1, x2, y2);
    else
      gfx_log("%s oval with bounding box (%d,%d) to (%d,%d), line width %d\n", colour_names[colour],
              x1, y1, x2, y2, width);
  }
  render(DRAW_OVAL, colour, width, x1, y1, x2, y2);
  return 1;
}

extern "C" int gfx_line(int colour, int x1, int y1, int x2, int y2, int width) {
  if (!runtime_started("gfx_line")) return 1;
  repair_width(&width);
  colour = gfx_check_colour(colour);
  if (state.logging_on)
    gfx_log("%s line from (%d,%d) to (%d,%d), width %d\n", colour_names[colour], x1, y1, x2, y2,
            width);
  render(DRAW_LINE, colour, width == 0 ? 1 : width, x1, y1, x2, y2);
  return 1;
}

// A text longer than the buffer is cut at 1023 characters; the result is still the full count
// that the formatting reported, as the standard formatted print into a buffer reports it.
extern "C" int gfx_text(int colour, int x, int y, int point_size, const char* format, ...) {
  if (!runtime_started("gfx_text")) return 0;
  if (format == nullptr) {
    gfx_log("Text NULL not possible, drawing no text\n");
    return 0;
  }
  char text[FORMAT_BUFFER_SIZE];
  int count;
  if (format != nullptr && std::strchr(format, '%') == nullptr) {
    // Nothing to format, as in most calls: the text as it stands, cut as formatting cuts it.
    const size_t length = std::strlen(format);
    const size_t kept = std::min(length, sizeof text - 1);
    std::memcpy(text, format, kept);
    text[kept] = '\0';
    count = length > INT_MAX ? -1 : static_cast<int>(length);
  } else {
    va_list args;
    va_start(args, format);
    count = vsnprintf(text, sizeof text, format, args);
    va_end(args);
  }
  if (count < 0) text[0] = '\0';

  if (point_size < 0) {
    gfx_log("ptsize of %d not possible, using ptsize %d\n", point_size, negated(point_size));
    point_size = negated(point_size);
  }
  if (point_size > 127) {
    gfx_log("ptsize of %d not possible, using ptsize %d\n", point_size, 127);
    point_size = 127;
  }
  colour = gfx_check_colour(colour);
  if (state.logging_on) gfx_log("%s text at (%d,%d), \"%s\"\n", colour_names[colour], x, y, text);

  size_t length = std::strlen(text);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length + 1);
  char* copy = static_cast<char*>(GlobalLock(block));
  if (copy != nullptr) {
    std::memcpy(copy, text, length + 1);
    GlobalUnlock(block);
  }
  int reference = text_block_register(block);
  render(DRAW_TEXT, colour, 0, x, y, point_size, reference);
  text_block_unregister(reference);
  GlobalFree(block);
  return count;
}

extern "C" int gfx_erase(void) {
  if (!runtime_started("gfx_erase")) return 1;
  if (state.logging_on) gfx_log("Clearing the graphics window\n");
  clear_surface();
  return 1;
}

}  // namespace vorla
