// The topping editor: clicks on the ice cream place, select and move toppings; the status
// line says what the next click does; the placed toppings are drawn over scoops and cone.
#include <cmath>
#include <iterator>

#include "designer.h"

namespace {

constexpr double SCOOP_RADIUS = 57.0;

// Scoop n (1 to 4) is centred on the vertical axis at this height.
int scoop_centre_y(int n) {
  return 25 + 57 * (n - 1);
}

// In floating point: a click from a script may carry any int, and the difference must not
// overflow.
bool within_scoop(int x, int y, int centre_y) {
  const double dx = x;
  const double dy = static_cast<double>(y) - centre_y;
  return std::sqrt(dx * dx + dy * dy) < SCOOP_RADIUS;
}

}  // namespace

// The lower half of the bottom scoop lies behind the cone and does not count.
int ice_cream_hit(int x, int y, int scoop_count) {
  if (within_scoop(x, y, scoop_centre_y(1)) && y > scoop_centre_y(1)) return 1;
  for (int n = 2; n <= scoop_count; ++n) {
    if (within_scoop(x, y, scoop_centre_y(n))) return 1;
  }
  return 0;
}

void handle_topping_click(int x, int y, DesignerState& state) {
  const int on_ice_cream = ice_cream_hit(x, y, state.scoop_count);
  if (state.edit_mode == MODE_ADD && state.topping_count < MAX_TOPPINGS) {
    if (!on_ice_cream) return;
    const int slot = state.topping_count;
    state.topping_x[slot] = x;
    state.topping_y[slot] = y;
    state.topping_kind[slot] = state.next_topping_kind;
    state.topping_colour[slot] = state.next_topping_colour;
    state.selected_topping = slot;
    ++state.topping_count;
    state.edit_mode = MODE_SELECTED;
  } else if (state.edit_mode == MODE_SELECTED) {
    if (!on_ice_cream) return;
    state.topping_x[state.selected_topping] = x;
    state.topping_y[state.selected_topping] = y;
  } else if (state.edit_mode == MODE_SELECT) {
    if (!on_ice_cream) return;
    state.selected_topping = find_nearest_topping(x, y, state.topping_x, state.topping_y);
    state.edit_mode = MODE_SELECTED;
  }
}

// Every slot takes part, placed or not. On a tie the later slot wins, so of two toppings on
// one spot the one placed later (the one drawn on top) is chosen.
int find_nearest_topping(int x, int y, const ToppingColumn& topping_x,
                         const ToppingColumn& topping_y) {
  int best = 0;
  double best_distance = 0.0;
  for (int i = 0; i < MAX_TOPPINGS; ++i) {
    const double dx = static_cast<double>(x) - topping_x[i];
    const double dy = static_cast<double>(y) - topping_y[i];
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (i == 0 || distance <= best_distance) {
      best = i;
      best_distance = distance;
    }
  }
  return best;
}

void draw_status_line(int edit_mode) {
  switch (edit_mode) {
    case MODE_ADD:
      gfx_text(4, -130, -215, 18, "Click on the cone to add a topping");
      break;
    case MODE_SELECT:
      gfx_text(15, -130, -215, 16, "Please select an object by clicking near it's origin");
      break;
    case MODE_SELECTED:
      gfx_text(2, -130, -215, 11,
               "Topping selected. Click cone to move it, or a button to alter it.");
      break;
    default:
      gfx_text(0, -130, -215, 18, "Status error -- this status code not implemented");
      break;
  }
}

// The drawing of each kind, from TOPPING_BERRY to TOPPING_M_DISC.
constexpr void (*kToppingDrawings[])(int x, int y, int colour) = {
    draw_berry,  draw_bear,   draw_r_disc,   draw_heart, draw_drop,
    draw_cherry, draw_cookie, draw_sprinkle, draw_chip,  draw_m_disc};
static_assert(std::size(kToppingDrawings) == TOPPING_M_DISC - TOPPING_BERRY + 1);

// In slot order, so a later topping lies over an earlier one.
void draw_toppings(const ToppingColumn& topping_x, const ToppingColumn& topping_y,
                   const ToppingColumn& topping_kind, const ToppingColumn& topping_colour,
                   int topping_count) {
  for (int i = 0; i < topping_count; ++i) {
    const int x = topping_x[i];
    const int y = topping_y[i];
    const int kind = topping_kind[i];
    if (kind >= TOPPING_BERRY && kind <= TOPPING_M_DISC) {
      kToppingDrawings[kind - TOPPING_BERRY](x, y, topping_colour[i]);
    } else {
      gfx_text(1, x - 2, y - 2, 9, "Oops");
    }
  }
}
