// The designer frame benchmark of bench/designer.cpp, compiled for the page: the same redraw of
// the same states, timed in the browser by its own clock (Google Benchmark has no WebAssembly
// build here). For 0 and 200 toppings it prints one line,
//   BM_DesignerRedraw/N <median> ms (5 repetitions of at least 0.3 s each)
// and then "done". tools/web-bench.sh runs it in headless Chromium beside the native benchmark.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "designer_states.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  static char no_arguments[] = "";
  gfx_startup(nullptr, nullptr, no_arguments, SW_SHOWNORMAL);
  gfx_set_logging(0);
  // A second of both frames first: the glyphs and shapes are made once, and the browser has
  // compiled the hot code with its optimising compiler (it starts with a quick one).
  for (int toppings : {0, 200}) {
    const DesignerState state = state_with_toppings(toppings);
    for (const double start = emscripten_get_now(); emscripten_get_now() - start < 500;) {
      redraw_designer_screen(state);
    }
  }
  for (int toppings : {0, 200}) {
    DesignerState state = state_with_toppings(toppings);
    std::vector<double> per_frame;
    for (int repetition = 0; repetition < 5; ++repetition) {
      const double start = emscripten_get_now();
      double now = start;
      int frames = 0;
      while (now - start < 300) {
        redraw_designer_screen(state);
        advance_scenery(state.scenery);
        ++frames;
        now = emscripten_get_now();
      }
      per_frame.push_back((now - start) / frames);
    }
    std::sort(per_frame.begin(), per_frame.end());
    std::printf("BM_DesignerRedraw/%d %.4f ms\n", toppings, per_frame[2]);
  }
  std::printf("done\n");
  return 0;
}
