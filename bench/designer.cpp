// One full redraw of the designer screen, as made on every event (ten a second while animation
// runs): the scene, the buttons, the status line, the scoops and cone and every topping.
#include "designer.h"

#include <benchmark/benchmark.h>

#include "display/headless/headless.h"

namespace {

void start_runtime_once() {
  static bool started = false;
  if (started) return;
  // Named here so that the linker takes the headless display before the window system that
  // needs it.
  headless::set_screen_size(1024, 768);
  static char no_arguments[] = "";
  gfx_startup(nullptr, nullptr, no_arguments, SW_SHOWNORMAL);
  gfx_set_logging(0);
  started = true;
}

// Four scoops and `count` toppings of every kind in turn, spread over the ice cream.
DesignerState state_with_toppings(int count) {
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

void BM_DesignerRedraw(benchmark::State& bench) {
  start_runtime_once();
  DesignerState state = state_with_toppings(static_cast<int>(bench.range(0)));
  for (auto _ : bench) {
    redraw_designer_screen(state);
    advance_scenery(state.scenery);
  }
}
BENCHMARK(BM_DesignerRedraw)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
