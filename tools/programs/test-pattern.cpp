// Draws a test pattern through every primitive, with logging on so that the log window fills
// with the calls' descriptions and a few repair warnings, then waits until the drawing window
// is closed. A hand tool for looking at the renderer and the log window on a real display.
#include "vorla.h"

namespace {

void draw_pattern() {
  gfx_erase();
  // The palette: 24 swatches in three rows of eight.
  for (int colour = 0; colour < 24; ++colour) {
    const int x = -280 + (colour % 8) * 40;
    const int y = 230 - (colour / 8) * 30;
    gfx_rect(colour, x, y, x + 34, y - 24, 0);
    gfx_rect(0, x, y, x + 34, y - 24, 1);
  }
  // Filled and outlined shapes, pens of growing width.
  const int widths[] = {0, 1, 2, 3, 4, 8};
  for (int i = 0; i < 6; ++i) {
    const int x = -280 + i * 50;
    gfx_rect(4, x, 120, x + 40, 90, widths[i]);
    gfx_oval(13, x, 80, x + 40, 50, widths[i]);
    gfx_triangle(19, x, 0, x + 40, 0, x + 20, 40, widths[i]);
  }
  gfx_circle(8, 150, 80, 30);
  gfx_circle(5, 150, 80, -10);  // repaired: radius 10
  // Lines in every direction from one centre, then wide lines.
  for (int i = 0; i < 16; ++i) {
    static const int dx[] = {60, 60, 60, 30, 0, -30, -60, -60, -60, -60, -60, -30, 0, 30, 60, 60};
    static const int dy[] = {0, 30, 60, 60, 60, 60, 60, 30, 0, -30, -60, -60, -60, -60, -60, -30};
    gfx_line(i % 2 ? 9 : 2, 200, -120, 200 + dx[i], -120 + dy[i], 0);
  }
  for (int w = 1; w <= 11; w += 2) gfx_line(20, -280 + w * 12, -60, -250 + w * 12, -140, w);
  gfx_rect(30, -100, -60, -40, -140, -2);  // repaired: red, width 2
  gfx_text(0, -280, -170, 14, "Text at %d points,\nsecond line", 14);
  gfx_text(6, -280, -215, 24, "VORLA %s", "graphics");
  gfx_text(0, 20, -215, -200, "ptsize %d", -200);  // repaired twice: 127
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  gfx_startup(instance, previous, command_line, show);
  gfx_set_logging(1);
  draw_pattern();
  int x = 0;
  int y = 0;
  char key = 0;
  while (gfx_next_event(&x, &y, &key) != EVENT_QUIT) {
  }
  gfx_shutdown();
  return 0;
}
