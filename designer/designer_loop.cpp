// One turn of the designer loop: route the event, then draw the whole screen again.
#include "designer.h"

// The left part of the QUIT button, reaching two units further left and one unit further down
// than the button column's click region.
int quit_rectangle_hit(int x, int y) {
  return x >= -296 && x <= -205 && y >= -205 && y <= -180;
}

void step_topping_cyclers(DesignerState& state) {
  state.next_topping_colour = state.next_topping_colour >= 23 ? 2 : state.next_topping_colour + 1;
  state.next_topping_kind =
      state.next_topping_kind >= TOPPING_M_DISC ? TOPPING_BERRY : state.next_topping_kind + 1;
}

void handle_designer_event(int kind, int x, int y, DesignerState& state) {
  switch (kind) {
    case EVENT_MOUSE:
      // The turn goes on after a hit in the quit rectangle: the click still reaches the
      // column or the topping editor.
      if (quit_rectangle_hit(x, y)) state.finished = 1;
      if (button_panel_hit(x, y)) {
        press_button(x, y, state);
      } else {
        // Every click outside the column steps the cyclers, whatever it lands on.
        step_topping_cyclers(state);
        handle_topping_click(x, y, state);
      }
      break;
    case EVENT_PERIODIC:
      advance_scenery(state.scenery);
      break;
    case EVENT_QUIT:
      state.finished = 1;
      break;
    default:
      break;
  }
}

void redraw_designer_screen(const DesignerState& state) {
  clear_drawing_area();
  draw_designer_scene(state.scenery);
  draw_button_panel();
  draw_status_line(state.edit_mode);
  draw_scoops(state.scoop_count, state.scoop_colour1, state.scoop_colour2, state.scoop_colour3,
              state.scoop_colour4);
  draw_cone();
  draw_toppings(state.topping_x, state.topping_y, state.topping_kind, state.topping_colour,
                state.topping_count);
}
