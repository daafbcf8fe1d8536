// The designer screen's background scene with its four drifting objects, the scoops and the
// cone. Nothing is kept between turns: all of it is drawn again on every turn.
#include "designer.h"

namespace {

constexpr int SKY = 11;
constexpr int SCOOP_RADIUS = 57;

// The rocket's stored height is its base height negated, so it rises while the value falls.
constexpr int ROCKET_LIMIT = -280;

void draw_sun_and_clouds(const Scenery& s) {
  gfx_circle(5, s.sun_x, s.sun_y, 20);
  const int cx = s.clouds_x;
  const int cy = s.clouds_y;
  gfx_oval(1, cx - 40, cy, cx - 58, cy - 6, 0);
  gfx_oval(1, cx - 80, cy + 22, cx - 98, cy + 16, 0);
  gfx_oval(1, cx + 20, cy + 12, cx - 12, cy + 16, 0);
}

void draw_hills_and_lake() {
  gfx_triangle(17, -300, -124, 300, -124, 0, 200, 0);
  gfx_triangle(20, -450, -124, 100, -124, -225, 166, 0);
  gfx_triangle(21, -100, -124, 300, -124, 300, 166, 0);
  gfx_rect(4, -300, -124, 300, -250, 0);
  gfx_rect(14, -300, -124, 300, -134, 0);
}

void draw_castle() {
  gfx_rect(5, 100, -123, 120, -80, 0);
  gfx_rect(17, 120, -123, 150, -80, 0);
  gfx_triangle(3, 120, -80, 150, -80, 135, -50, 0);
  gfx_line(0, 135, -50, 135, -43, 2);
  gfx_rect(13, 135, -43, 139, -40, 0);
  gfx_rect(5, 150, -123, 170, -80, 0);
  gfx_triangle(2, 150, -80, 170, -80, 160, -70, 0);
  gfx_line(0, 135, -115, 135, -98, 8);
  gfx_triangle(2, 100, -80, 120, -80, 110, -70, 0);
}

// The boat sails at fixed heights: only its left end drifts.
void draw_boat(int bx) {
  gfx_oval(2, bx, -190, bx + 50, -170, 0);
  gfx_triangle(5, bx, -175, bx + 50, -175, bx + 25, -130, 0);
  gfx_line(0, bx + 25, -174, bx + 25, -130, 3);
}

// r is the rocket's horizontal reference, h its base height. The banner box shares the
// body's columns, so box and body read as one upright figure.
void draw_rocket(int r, int h) {
  gfx_rect(0, r - 90, h - 5, r - 110, h + 96, 3);
  gfx_text(0, r - 103, h + 85, 10, "Q");
  gfx_text(0, r - 103, h + 75, 10, "E");
  gfx_text(0, r - 103, h + 65, 10, "B");
  // The slot at h + 55 stays empty: the gap between the two words.
  gfx_text(0, r - 103, h + 45, 10, "R");
  gfx_text(0, r - 103, h + 35, 10, "0");
  gfx_text(0, r - 105, h + 25, 9, "C");
  gfx_text(0, r - 103, h + 15, 10, "K");
  gfx_text(0, r - 103, h + 5, 10, "S");
  gfx_text(0, r - 103, h - 5, 10, "!");
  gfx_oval(2, r - 150, h + 160, r - 50, h + 175, 0);
  gfx_oval(22, r - 90, h + 100, r - 110, h + 210, 0);
  gfx_triangle(4, r - 100, h + 105, r - 85, h + 95, r - 115, h + 95, 0);
  gfx_circle(0, r - 100, h + 190, 5);
  gfx_triangle(4, r - 100, h + 110, r - 85, h + 95, r - 115, h + 95, 0);
}

// Drawn after the rocket, so the rocket passes behind it.
void draw_status_box() {
  gfx_rect(23, -150, -190, 180, -230, 0);
  gfx_line(1, -140, -195, -140, -225, 1);
  gfx_line(1, 170, -195, -140, -195, 1);
  gfx_line(9, 170, -225, 170, -195, 1);
  gfx_line(9, 170, -225, -140, -225, 1);
}

}  // namespace

void clear_drawing_area() {
  gfx_rect(SKY, -300, -250, 300, 250, 0);
}

void draw_designer_scene(const Scenery& scenery) {
  gfx_rect(SKY, -300, -250, 300, 250, 0);
  draw_sun_and_clouds(scenery);
  draw_hills_and_lake();
  draw_castle();
  draw_boat(scenery.boat_x);
  draw_rocket(scenery.rocket_x, -scenery.rocket_y);
  draw_status_box();
}

// Top scoop first, so each lower scoop lies over the one above it. The offsets are added
// without reduction: a sum above 23 reaches the colour check and is drawn red.
void draw_scoops(int scoop_count, int scoop_colour1, int scoop_colour2, int scoop_colour3,
                 int scoop_colour4) {
  if (scoop_count >= 4) gfx_circle(scoop_colour4 + 3, 0, 196, SCOOP_RADIUS);
  if (scoop_count >= 3) gfx_circle(scoop_colour3 + 0, 0, 139, SCOOP_RADIUS);
  if (scoop_count >= 2) gfx_circle(scoop_colour2 + 8, 0, 82, SCOOP_RADIUS);
  gfx_circle(scoop_colour1 + 11, 0, 25, SCOOP_RADIUS);
}

// Drawn after the scoops: it covers the lower half of the bottom one.
void draw_cone() {
  gfx_triangle(14, 0, -175, -60, 25, 60, 25, 0);
}

void drift_step(int& moving, int& other, int limit) {
  moving -= 3;
  if (moving < limit) {
    moving = -moving;
    other -= 1;
  }
}

void advance_scenery(Scenery& scenery) {
  drift_step(scenery.rocket_y, scenery.rocket_x, ROCKET_LIMIT);
  drift_step(scenery.sun_x, scenery.sun_y, DRIFT_LIMIT);
  drift_step(scenery.clouds_x, scenery.clouds_y, DRIFT_LIMIT);
  drift_step(scenery.boat_x, scenery.boat_y, DRIFT_LIMIT);
}
