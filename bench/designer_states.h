// The designer states that the frame benchmarks draw and that the designer frame test pins down.
#pragma once

#include "designer.h"

// Four scoops and `count` toppings of every kind in turn, spread over the ice cream.
inline DesignerState state_with_toppings(int count) {
  DesignerState state;
  state.scoop_count = 4;
  for (int i = 0; i < count; ++i) {
    state.topping_x[i] = i % 41 - 20;
    state.topping_y[i] = 30 + (i * 7) % 200;
    state.topping_kind[i] = TOPPING_BERRY + i % 10;
    state.topping_colour[i] = 2 + i % 22;
  }
  state.topping_count = count;
  state.edit_mode = MODE_SELECTED;
  return state;
}
