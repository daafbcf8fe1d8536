// The welcome screen before the designer and the farewell screen after it. Each runs its own
// event loop, steps a colour through all 24 colours, one step per event, and keeps only
// local values.
#include "designer.h"

namespace {

constexpr int COLOUR_COUNT = 24;

void draw_box_edges() {
  gfx_line(1, -79, -212, 79, -212, 2);
  gfx_line(23, 79, -212, 79, -186, 2);
  gfx_line(0, -79, -212, -79, -186, 2);
  gfx_line(0, -79, -186, 79, -186, 2);
}

void draw_welcome_frame() {
  gfx_rect(23, -300, -250, 300, 250, 0);
  // The frame's top and bottom lie beyond the area: only two vertical bands show.
  gfx_rect(1, -130, -280, 130, 280, 25);
  gfx_rect(22, -145, -280, -115, -180, 0);
  gfx_circle(22, -130, -180, 15);
  gfx_rect(22, 145, -280, 115, -180, 0);
  gfx_circle(22, 130, -180, 15);
  gfx_rect(22, -145, 190, -115, 250, 0);
  gfx_circle(22, -130, 190, 15);
  gfx_rect(22, 145, 190, 115, 250, 0);
  gfx_circle(22, 130, 190, 15);
}

void draw_welcome_cone() {
  gfx_circle(10, 0, 143, 57);
  gfx_circle(6, 0, 86, 57);
  gfx_circle(11, 0, 44, 57);
  gfx_triangle(14, 0, -175, -60, 25, 60, 25, 0);
}

// The samples have coordinates of their own; several differ from the topping drawings.
void draw_fixed_samples() {
  gfx_circle(0, -130, 150, 8);
  gfx_text(1, -131, 144, 10, "r");
  gfx_triangle(14, -120, 50, -130, 70, -140, 50, 0);
  gfx_line(14, -134, -15, -130, -39, 0);
  gfx_line(14, -135, -13, -131, -41, 0);
  gfx_line(14, -133, -17, -129, -40, 0);
  gfx_oval(2, -132, -39, -127, -50, 11);
  gfx_circle(2, -130, -150, 8);
  gfx_text(0, -133, -155, 10, "m");
  gfx_triangle(17, 121, 150, 141, 150, 131, 120, 0);
  gfx_triangle(3, 141, 160, 131, 150, 130, 162, 0);
  gfx_triangle(3, 148, 160, 137, 150, 144, 168, 0);
  gfx_triangle(3, 122, 160, 128, 150, 114, 164, 0);
  gfx_rect(4, 122, 60, 140, 55, 0);
  // A white oval over the left part of a yellow one leaves a crescent.
  gfx_oval(5, 144, -70, 118, -110, 0);
  gfx_oval(1, 135, -72, 118, -107, 0);
}

void draw_welcome_static() {
  draw_welcome_frame();
  draw_welcome_cone();
  gfx_rect(23, -80, -210, 80, -185, 0);
  gfx_text(0, -68, -209, 16, "Click Here to ENTER...");
  draw_box_edges();
  draw_fixed_samples();
}

// Drawn exactly over the previous turn's, so only the colour i changes.
void draw_welcome_cycling(int i) {
  // The two title columns, FLURMIKA and FLURMIAS, one text call per letter, top to bottom.
  // The sixth slot of each holds a blank before the I.
  gfx_text(i, -240, 190, 60, "F");
  gfx_text(i, -240, 130, 60, "L");
  gfx_text(i, -240, 70, 60, "U");
  gfx_text(i, -240, 10, 60, "R");
  gfx_text(i, -240, -50, 60, "M");
  gfx_text(i, -240, -110, 60, " I");
  gfx_text(i, -240, -170, 60, "K");
  gfx_text(i, -240, -230, 60, "A");
  gfx_text(i, 200, 190, 60, "F");
  gfx_text(i, 200, 130, 60, "L");
  gfx_text(i, 200, 70, 60, "U");
  gfx_text(i, 200, 10, 60, "R");
  gfx_text(i, 200, -50, 60, "M");
  gfx_text(i, 200, -110, 60, " I");
  gfx_text(i, 200, -170, 60, "A");
  gfx_text(i, 200, -230, 60, "S");
  gfx_text(i, -115, 200, 35, "WELCOME TO");
  gfx_circle(i, 0, 140, 8);
  gfx_text(1, -2, 138, 9, "m");
  // Heart.
  gfx_circle(i, -134, 120, 8);
  gfx_circle(i, -126, 120, 8);
  gfx_triangle(i, -140, 120, -120, 120, -130, 90, 0);
  // Cookie.
  gfx_circle(0, -130, 15, 15);
  gfx_circle(i, -130, 15, 12);
  gfx_text(1, -136, 12, 8, "oreo");
  // Berry.
  gfx_triangle(3, -136, -82, -142, -92, -130, -78, 0);
  gfx_triangle(3, -122, -82, -138, -92, -122, -78, 0);
  gfx_triangle(3, -118, -82, -132, -92, -130, -78, 0);
  gfx_oval(i, -136, -89, -128, -109, 11);
  gfx_circle(i, -138, -88, 7);
  gfx_circle(i, -126, -88, 7);
  gfx_circle(i, -133, -89, 7);
  // Drop.
  gfx_oval(i, 122, 91, 142, 85, 4);
  gfx_triangle(i, 141, 85, 132, 103, 121, 85, 0);
  // Bear.
  gfx_circle(i, 130, 15, 12);
  gfx_circle(i, 122, 28, 5);
  gfx_circle(i, 138, 28, 5);
  gfx_circle(1, 123, 16, 3);
  gfx_circle(1, 137, 16, 3);
  gfx_oval(i, 144, 2, 118, -44, 0);
  gfx_rect(i, 138, -5, 155, -13, 0);
  gfx_rect(i, 125, -5, 108, -13, 0);
  gfx_rect(i, 138, -30, 155, -38, 0);
  gfx_rect(i, 125, -30, 108, -38, 0);
  // Lettered disc.
  gfx_circle(i, 131, -150, 8);
  gfx_text(0, 129, -155, 10, "m");
}

// Written first on every farewell turn, over the scene of the turn before.
void draw_farewell_credit(int colour) {
  gfx_text(colour, -150, 10, 16, "Cone Designer, drawn with VORLA graphics");
}

void draw_farewell_scene(int px, int py) {
  gfx_rect(0, -300, -250, 300, 250, 0);
  gfx_rect(23, -80, -210, 80, -185, 0);
  gfx_text(4, -68, -209, 16, "Click Here to QUIT!!!");
  draw_box_edges();
  // The sign moves with +px, to the left.
  gfx_rect(4, px - 5, py - 90, px + 150, py - 110, 3);
  gfx_text(3, px + 10, py - 107, 12, "PLEASE COME AGAIN!");
  // The plane and its banner move with -px, to the right.
  gfx_oval(2, -px + 160, py + 250, -px + 175, py + 140, 0);
  gfx_oval(2, -px + 123, py + 220, -px + 132, py + 175, 0);
  gfx_oval(5, -px + 100, py + 190, -px + 210, py + 210, 0);
  gfx_triangle(4, -px + 105, py + 200, -px + 95, py + 185, -px + 95, py + 215, 0);
  gfx_circle(22, -px + 190, py + 200, 5);
  gfx_rect(4, -px + 97, py + 190, -px + 10, py + 210, 3);
  gfx_text(3, -px + 20, py + 193, 12, "THANK YOU");
}

}  // namespace

int screen_button_hit(int x, int y) {
  return x >= -80 && x <= 80 && y >= -210 && y <= -185;
}

void show_welcome_screen() {
  draw_welcome_static();
  int i = 0;
  bool done = false;
  while (!done) {
    draw_welcome_cycling(i);
    int x = 0;
    int y = 0;
    char key = 0;
    const int kind = gfx_next_event(&x, &y, &key);
    if ((kind == EVENT_MOUSE && screen_button_hit(x, y)) || kind == EVENT_QUIT) done = true;
    i = (i + 1) % COLOUR_COUNT;
  }
}

// The screen shows what the previous turn drew with this turn's credit line over it; the
// first thing seen is the erased surface with the credit line alone.
void show_farewell_screen() {
  gfx_erase();
  gfx_set_animation(ANIM_RUN);
  int colour = 0;
  int px = 250;
  int py = -35;
  bool done = false;
  while (!done) {
    draw_farewell_credit(colour);
    int x = 0;
    int y = 0;
    char key = 0;
    const int kind = gfx_next_event(&x, &y, &key);
    if (kind == EVENT_MOUSE && screen_button_hit(x, y)) done = true;
    if (kind == EVENT_PERIODIC) drift_step(px, py, DRIFT_LIMIT);
    if (kind == EVENT_QUIT) done = true;
    draw_farewell_scene(px, py);
    colour = (colour + 1) % COLOUR_COUNT;
  }
}
