// The cone designer: its whole state and the operations of its screens. The state lives in
// WinMain and is lent by reference; nothing here keeps state of its own between calls.
#pragma once

#include <array>

#include "vorla.h"

inline constexpr int MAX_TOPPINGS = 200;

// What a click on the ice cream does.
enum EditMode : int {
  MODE_ADD = 1,       // places a new topping
  MODE_SELECT = 2,    // selects the nearest topping
  MODE_SELECTED = 3,  // moves the selected topping
};

// The ten kinds of topping, each one drawing.
enum : int {
  TOPPING_BERRY = 2,
  TOPPING_BEAR = 3,
  TOPPING_R_DISC = 4,
  TOPPING_HEART = 5,
  TOPPING_DROP = 6,
  TOPPING_CHERRY = 7,
  TOPPING_COOKIE = 8,
  TOPPING_SPRINKLE = 9,
  TOPPING_CHIP = 10,
  TOPPING_M_DISC = 11,
};

// Positions of the four drifting objects of the background scene.
struct Scenery {
  int rocket_x = 300;
  int rocket_y = -215;  // the rocket's base height, negated
  int sun_x = 250;
  int sun_y = 215;
  int clouds_x = 300;
  int clouds_y = 205;
  int boat_x = -230;
  int boat_y = -190;  // stepped on each lap but never drawn
};

// One value per topping slot.
using ToppingColumn = std::array<int, MAX_TOPPINGS>;

// A slot that was never written holds a berry of colour 0 far below the drawing area; the
// nearest-topping search and the topping buttons may act on it, so it needs a definite value.
// Placed toppings lie on the ice cream, a few hundred units from any click on it, so while one
// is placed a never-written slot is never the nearest.
inline constexpr int UNWRITTEN_TOPPING_X = 0;
inline constexpr int UNWRITTEN_TOPPING_Y = -1000000;

inline constexpr ToppingColumn filled_column(int value) {
  ToppingColumn column{};
  column.fill(value);
  return column;
}

// A default-constructed state is the state at start-up.
struct DesignerState {
  int scoop_count = 1;
  int scoop_colour1 = 0;  // the bottom scoop
  int scoop_colour2 = 0;
  int scoop_colour3 = 0;
  int scoop_colour4 = 0;  // the top scoop
  ToppingColumn topping_x = filled_column(UNWRITTEN_TOPPING_X);
  ToppingColumn topping_y = filled_column(UNWRITTEN_TOPPING_Y);
  ToppingColumn topping_kind = filled_column(TOPPING_BERRY);
  ToppingColumn topping_colour{};
  int topping_count = 0;
  int selected_topping = 0;
  EditMode edit_mode = MODE_ADD;
  int next_topping_colour = 2;
  int next_topping_kind = 2;
  Scenery scenery;
  int finished = 0;
};

// The designer loop's turn (designer_loop.cpp).
int quit_rectangle_hit(int x, int y);
void step_topping_cyclers(DesignerState& state);
void handle_designer_event(int kind, int x, int y, DesignerState& state);
void redraw_designer_screen(const DesignerState& state);

// The button column (button_panel.cpp).
void draw_button_panel();
int button_panel_hit(int x, int y);
void press_button(int x, int y, DesignerState& state);
void draw_bad_news();
int colour_step_up(int value);
int colour_step_down(int value);
void reseat_toppings(int scoop_count, const ToppingColumn& topping_x, ToppingColumn& topping_y);

// The topping editor (toppings.cpp).
int ice_cream_hit(int x, int y, int scoop_count);
void handle_topping_click(int x, int y, DesignerState& state);
int find_nearest_topping(int x, int y, const ToppingColumn& topping_x,
                         const ToppingColumn& topping_y);
void draw_status_line(int edit_mode);
void draw_toppings(const ToppingColumn& topping_x, const ToppingColumn& topping_y,
                   const ToppingColumn& topping_kind, const ToppingColumn& topping_colour,
                   int topping_count);

// The topping drawings, around the anchor (x, y) in colour c (topping_kinds.cpp).
void draw_berry(int x, int y, int c);
void draw_bear(int x, int y, int c);
void draw_r_disc(int x, int y, int c);
void draw_heart(int x, int y, int c);
void draw_drop(int x, int y, int c);
void draw_cherry(int x, int y, int c);
void draw_cookie(int x, int y, int c);
void draw_sprinkle(int x, int y, int c);
void draw_chip(int x, int y, int c);
void draw_m_disc(int x, int y, int c);

// The background scene, the scoops and the cone (scene.cpp).
void clear_drawing_area();
void draw_designer_scene(const Scenery& scenery);
void draw_scoops(int scoop_count, int scoop_colour1, int scoop_colour2, int scoop_colour3,
                 int scoop_colour4);
void draw_cone();
void advance_scenery(Scenery& scenery);
// One drift step: `moving` goes 3 to the left (or down); past `limit` it comes back from the
// other side with the same size, and `other` drops by 1.
void drift_step(int& moving, int& other, int limit);
// Where the sun, the clouds, the boat and the farewell figures leave the screen.
inline constexpr int DRIFT_LIMIT = -330;

// The screens before and after the designer (screens.cpp).
void show_welcome_screen();
void show_farewell_screen();
// Both screens leave on a click in the same button box.
int screen_button_hit(int x, int y);
