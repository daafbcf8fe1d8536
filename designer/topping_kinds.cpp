// The ten topping drawings. Each is a fixed sequence of calls at offsets from the anchor
// (x, y); later calls paint over earlier ones, so the order is part of the look.
#include "designer.h"

// Three leaves over a body that is wide at the top: an oval under three circles. The black
// dot is covered by the first circle but still drawn.
void draw_berry(int x, int y, int c) {
  gfx_triangle(3, x - 4, y + 12, x - 10, y + 22, x, y + 8, 0);
  gfx_triangle(3, x + 8, y + 12, x - 8, y + 22, x, y + 8, 0);
  gfx_triangle(3, x + 12, y + 12, x - 2, y + 22, x, y + 8, 0);
  gfx_circle(0, x - 4, y + 5, 1);
  gfx_circle(c, x - 6, y + 8, 7);
  gfx_circle(c, x + 6, y + 8, 7);
  gfx_circle(c, x + 1, y + 9, 7);
  gfx_oval(c, x - 7, y + 15, x + 7, y - 15, 0);
}

// Standing upright, head at the anchor.
void draw_bear(int x, int y, int c) {
  gfx_circle(c, x, y, 12);
  gfx_circle(c, x - 8, y + 13, 5);
  gfx_circle(c, x + 8, y + 13, 5);
  gfx_circle(1, x + 4, y + 5, 2);
  gfx_circle(1, x - 4, y + 5, 2);
  gfx_triangle(1, x - 3, y - 3, x + 3, y - 3, x, y + 2, 0);
  gfx_oval(c, x + 12, y - 12, x - 12, y - 45, 0);
  gfx_rect(c, x + 10, y - 17, x + 20, y - 22, 0);
  gfx_rect(c, x + 10, y - 36, x + 20, y - 41, 0);
  gfx_rect(c, x - 10, y - 17, x - 20, y - 22, 0);
  gfx_rect(c, x - 10, y - 36, x - 20, y - 41, 0);
}

void draw_r_disc(int x, int y, int c) {
  gfx_circle(c, x, y, 8);
  gfx_text(1, x - 1, y - 6, 10, "r");
}

void draw_heart(int x, int y, int c) {
  gfx_circle(c, x - 8, y + 11, 7);
  gfx_circle(c, x + 8, y + 11, 7);
  gfx_triangle(c, x + 16, y + 12, x - 16, y + 12, x, y - 16, 0);
}

// A flat ring with the chip's triangle standing in it.
void draw_drop(int x, int y, int c) {
  gfx_oval(c, x - 7, y - 9, x + 7, y - 1, 4);
  gfx_triangle(c, x - 7, y - 7, x + 7, y - 7, x, y + 7, 0);
}

// A fan of stems rising from the anchor; the fruit is the outline of a narrow oval drawn
// with a line so wide that it fills.
void draw_cherry(int x, int y, int c) {
  gfx_line(14, x, y, x + 2, y + 20, 0);
  gfx_line(14, x, y, x + 3, y + 22, 0);
  gfx_line(14, x, y, x + 4, y + 22, 0);
  gfx_line(14, x, y, x + 5, y + 22, 0);
  gfx_line(14, x, y, x + 6, y + 20, 0);
  gfx_oval(c, x - 4, y - 13, x - 1, y - 2, 11);
}

void draw_cookie(int x, int y, int c) {
  gfx_circle(0, x, y, 15);
  gfx_circle(c, x, y, 12);
  gfx_text(1, x - 6, y - 3, 8, "oreo");
}

void draw_sprinkle(int x, int y, int c) {
  gfx_rect(c, x, y, x + 10, y + 3, 0);
}

void draw_chip(int x, int y, int c) {
  gfx_triangle(c, x - 7, y - 7, x + 7, y - 7, x, y + 7, 0);
}

// Not kind 4's disc: the letter sits at another offset and size.
void draw_m_disc(int x, int y, int c) {
  gfx_circle(c, x, y, 8);
  gfx_text(1, x - 2, y - 2, 9, "m");
}
