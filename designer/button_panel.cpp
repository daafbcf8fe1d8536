// The column of eighteen buttons along the left edge of the designer screen.
#include <cstdlib>

#include "designer.h"

namespace {

constexpr int BUTTON_COUNT = 18;

// Toppings above this height sit on scoop 2 or higher, whatever the count.
constexpr int RESEAT_THRESHOLD = 82;

// Button k's label sits at height 228 - 25k. Each scoop's two colour buttons are labelled in
// the colour that scoop shows at value 0.
void draw_button_labels() {
  gfx_text(19, -285, 228, 11, "Add Scoop");
  gfx_text(2, -285, 203, 11, "Remove Scoop");
  gfx_text(11, -285, 178, 11, "Ice Cream Color 1");
  gfx_text(11, -285, 153, 11, "Previous Color 1");
  gfx_text(8, -285, 128, 11, "Ice Cream Color 2");
  gfx_text(8, -285, 103, 11, "Previous Color 2");
  gfx_text(0, -285, 78, 11, "Ice Cream Color 3");
  gfx_text(0, -285, 53, 11, "Previous Color 3");
  gfx_text(3, -285, 28, 11, "Ice Cream Color 4");
  gfx_text(3, -285, 3, 11, "Previous Color 4");
  gfx_text(4, -285, -22, 11, "Add Topping");
  gfx_text(0, -285, -47, 11, "Remove Topping(s)");
  gfx_text(9, -285, -72, 11, "Change Top Color");
  gfx_text(9, -285, -97, 11, "Previous Top Color");
  gfx_text(14, -285, -122, 11, "Change Topping");
  gfx_text(14, -285, -147, 11, "Previous Topping");
  gfx_text(15, -285, -172, 11, "Select Topping");
  gfx_text(17, -285, -197, 11, "QUIT");
}

int kind_step_down(int kind) {
  return kind == TOPPING_BERRY ? TOPPING_M_DISC : kind - 1;
}
int kind_step_up(int kind) {
  return kind == TOPPING_M_DISC ? TOPPING_BERRY : kind + 1;
}

}  // namespace

void draw_button_panel() {
  gfx_rect(23, -296, 250, -190, -205, 0);
  // Light top and left edges, dark bottom and right edges: each button looks raised.
  for (int k = 0; k < BUTTON_COUNT; ++k) {
    const int top = 245 - 25 * k;
    const int bottom = 224 - 25 * k;
    gfx_line(1, -293, top, -193, top, 1);
    gfx_line(1, -293, top, -293, bottom, 1);
    gfx_line(9, -292, bottom, -192, bottom, 1);
    gfx_line(9, -192, top, -192, bottom, 1);
  }
  draw_button_labels();
}

// The click region reaches four units right of the gray background.
int button_panel_hit(int x, int y) {
  return x > -295 && x < -185 && y > -205 && y < 245;
}

void draw_bad_news() {
  gfx_text(2, 0, 0, 16, "BAAAADDD NEWS!");
}

int colour_step_up(int value) {
  return value == 23 ? 0 : value + 1;
}
int colour_step_down(int value) {
  return value == 0 ? 23 : value - 1;
}

// The moved toppings line up along two 45-degree lines falling away from the top of the
// highest remaining scoop. Every slot is moved, placed or not.
void reseat_toppings(int scoop_count, const ToppingColumn& topping_x, ToppingColumn& topping_y) {
  const int top = 57 * scoop_count + 25;
  for (int i = 0; i < MAX_TOPPINGS; ++i) {
    if (topping_y[i] > RESEAT_THRESHOLD) topping_y[i] = top - std::abs(topping_x[i]);
  }
}

// The scoops' colours, bottom to top, as buttons 2 to 9 step them.
constexpr int DesignerState::*kScoopColours[] = {
    &DesignerState::scoop_colour1, &DesignerState::scoop_colour2, &DesignerState::scoop_colour3,
    &DesignerState::scoop_colour4};

void press_button(int /*x*/, int y, DesignerState& state) {
  // The three-unit gap under each drawn button belongs to that button.
  const int k = (245 - y) / 25;
  const int slot = state.selected_topping;
  switch (k) {
    case 0:
      if (state.scoop_count < 4) ++state.scoop_count;
      break;
    case 1:
      if (state.scoop_count > 1) --state.scoop_count;
      reseat_toppings(state.scoop_count, state.topping_x, state.topping_y);
      break;
    case 2:  // up and down the colour of the bottom scoop, then of each scoop above it
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9: {
      int& colour = state.*kScoopColours[(k - 2) / 2];
      colour = k % 2 == 0 ? colour_step_up(colour) : colour_step_down(colour);
      break;
    }
    case 10:
      state.edit_mode = MODE_ADD;
      break;
    case 11:
      if (state.topping_count > 0) --state.topping_count;
      break;
    case 12:
      state.topping_colour[slot] = colour_step_up(state.topping_colour[slot]);
      break;
    case 13:
      state.topping_colour[slot] = colour_step_down(state.topping_colour[slot]);
      break;
    case 14:
      state.topping_kind[slot] = kind_step_down(state.topping_kind[slot]);
      break;
    case 15:
      state.topping_kind[slot] = kind_step_up(state.topping_kind[slot]);
      break;
    case 16:
      state.edit_mode = MODE_SELECT;
      break;
    case 17:
      show_farewell_screen();
      state.finished = 1;
      break;
    default:
      draw_bad_news();
      break;
  }
}
