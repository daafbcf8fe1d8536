// One full redraw of the designer screen, as made on every event (ten a second while animation
// runs): the scene, the buttons, the status line, the scoops and cone and every topping.
#include "designer.h"

#include <benchmark/benchmark.h>

#include "designer_states.h"
#include "headless.h"

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
