// The runtime's costs on the headless display: each primitive through repair, command and
// renderer; a frame of about 150 mixed calls on the 601 x 540 surface as the designer draws
// one; and the processor time the event loop uses per second of (virtual) time while it
// waits, in run mode and halted.
#include <benchmark/benchmark.h>

#include <climits>
#include <cstring>
#include <ctime>
#include <vector>

#include "display/headless/headless.h"
#include "layer.h"
#include "runtime_state.h"

using namespace vorla;  // the runtime's insides

namespace {

void start_once() {
  static bool started = [] {
    headless::drive_from_code();
    platform::layer_choose_display("headless");
    gfx_startup(nullptr, nullptr, nullptr, SW_SHOWNORMAL);
    gfx_set_logging(0);
    gfx_show_log_window(0);
    gfx_erase();
    return true;
  }();
  (void)started;
}

void BM_circle(benchmark::State& state) {
  start_once();
  for (auto _ : state) gfx_circle(5, 10, 20, 30);
}
BENCHMARK(BM_circle);

void BM_triangle_filled(benchmark::State& state) {
  start_once();
  for (auto _ : state) gfx_triangle(6, -50, -40, 50, -40, 0, 50, 0);
}
BENCHMARK(BM_triangle_filled);

void BM_triangle_outlined(benchmark::State& state) {
  start_once();
  for (auto _ : state) gfx_triangle(6, -50, -40, 50, -40, 0, 50, 3);
}
BENCHMARK(BM_triangle_outlined);

void BM_rect_filled(benchmark::State& state) {
  start_once();
  for (auto _ : state) gfx_rect(7, -100, 80, 100, -80, 0);
}
BENCHMARK(BM_rect_filled);

void BM_rect_outlined(benchmark::State& state) {
  start_once();
  for (auto _ : state) gfx_rect(7, -100, 80, 100, -80, 2);
}
BENCHMARK(BM_rect_outlined);

void BM_oval_filled(benchmark::State& state) {
  start_once();
  for (auto _ : state) gfx_oval(8, -60, 30, 60, -30, 0);
}
BENCHMARK(BM_oval_filled);

void BM_oval_outlined(benchmark::State& state) {
  start_once();
  for (auto _ : state) gfx_oval(8, -60, 30, 60, -30, 3);
}
BENCHMARK(BM_oval_outlined);

void BM_line(benchmark::State& state) {
  start_once();
  for (auto _ : state) gfx_line(9, -200, -100, 200, 100, 1);
}
BENCHMARK(BM_line);

void BM_line_wide(benchmark::State& state) {
  start_once();
  for (auto _ : state) gfx_line(9, -200, -100, 200, 100, 4);
}
BENCHMARK(BM_line_wide);

void BM_text(benchmark::State& state) {
  start_once();
  for (auto _ : state) gfx_text(0, -280, 200, 14, "Scoops: %d  Toppings: %d", 3, 42);
}
BENCHMARK(BM_text);

void BM_erase(benchmark::State& state) {
  start_once();
  for (auto _ : state) gfx_erase();
}
BENCHMARK(BM_erase);

// What erase and present are measured against: writing and copying the surface's bytes.
std::vector<uint32_t> surface_sized(uint32_t pixel) {
  return std::vector<uint32_t>(static_cast<size_t>(SURFACE_WIDTH) * SURFACE_HEIGHT, pixel);
}

void BM_memset_surface(benchmark::State& state) {
  std::vector<uint32_t> pixels = surface_sized(0);
  for (auto _ : state) {
    std::memset(pixels.data(), 0xFF, pixels.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_memset_surface);

void BM_memcpy_surface(benchmark::State& state) {
  const std::vector<uint32_t> from = surface_sized(1);
  std::vector<uint32_t> to = surface_sized(0);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), to.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
  }
}
BENCHMARK(BM_memcpy_surface);

// A pass of the event loop that presents the drawing window after its pixels changed (one
// pixel set through its DC marks it): the window's whole frame is composed and shown.
void BM_present_pass(benchmark::State& state) {
  start_once();
  MSG message;
  for (auto _ : state) {
    SetPixel(vorla::state.window_dc, 0, 0, 0);
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  }
}
BENCHMARK(BM_present_pass);

// The costliest single calls known: an oval round the whole surface with pens of 1000, 100000
// and INT_MAX pixels, and an oval of 100000 pixels with a pen as wide (argument -1).
void BM_worst_oval(benchmark::State& state) {
  start_once();
  const int width = static_cast<int>(state.range(0));
  for (auto _ : state) {
    if (width < 0) {
      gfx_oval(-2, -35, 2, 100000, 100000, 100000);
    } else {
      gfx_oval(3, -300, 250, 300, -250, width);
    }
  }
}
BENCHMARK(BM_worst_oval)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(INT_MAX)
    ->Arg(-1)
    ->Unit(benchmark::kMillisecond);

// A pass of the event loop with no message, nothing drawn and nothing to present.
void BM_idle_pass(benchmark::State& state) {
  start_once();
  pump_one_message();
  for (auto _ : state) pump_one_message();
}
BENCHMARK(BM_idle_pass);

// A description in the log ring and the (hidden) text window, as with logging on.
void BM_circle_logged(benchmark::State& state) {
  start_once();
  vorla::state.logging_on = 1;
  for (auto _ : state) gfx_circle(5, 10, 20, 30);
  vorla::state.logging_on = 0;
}
BENCHMARK(BM_circle_logged);

// About 150 calls of every kind across the surface, then the copy to the window.
void draw_frame() {
  gfx_erase();
  gfx_rect(11, -300, 250, 300, 0, 0);
  gfx_rect(19, -300, 0, 300, -250, 0);
  for (int i = 0; i < 18; ++i) {
    int top = 240 - i * 27;
    gfx_rect(23, -295, top, -215, top - 24, 0);
    gfx_rect(0, -295, top, -215, top - 24, 1);
    gfx_text(0, -290, top - 20, 10, "Button %d", i);
  }
  for (int i = 0; i < 30; ++i) {
    gfx_circle(i % 24, -100 + i * 10, 50 + (i % 5) * 8, 4);
    gfx_triangle((i + 3) % 24, i * 8, -60, i * 8 + 6, -60, i * 8 + 3, -52, 0);
    gfx_line((i + 5) % 24, -150 + i * 12, -150, -140 + i * 12, -120, 1 + i % 3);
  }
  for (int i = 0; i < 4; ++i) gfx_oval(15 + i, -60, 20 + i * 40, 60, -10 + i * 40, 0);
  gfx_triangle(17, -50, -20, 50, -20, 0, -200, 0);
  gfx_text(0, -100, -230, 12, "Mode: add toppings");
  copy_surface_to_window();
}

void BM_frame(benchmark::State& state) {
  start_once();
  for (auto _ : state) draw_frame();
}
BENCHMARK(BM_frame);

double cpu_seconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Run mode: each event is one 100 ms tick of the virtual clock. The counter is the processor
// time the loop used per second of that time.
void BM_idle_run_mode(benchmark::State& state) {
  start_once();
  gfx_set_animation(ANIM_RUN);
  uint32_t begin_ms = headless::now_ms();
  double begin_cpu = cpu_seconds();
  for (auto _ : state) {
    int x, y;
    char key;
    gfx_next_event(&x, &y, &key);
  }
  double cpu = cpu_seconds() - begin_cpu;
  double virtual_s = (headless::now_ms() - begin_ms) / 1000.0;
  state.counters["cpu_ms_per_s"] = virtual_s > 0 ? cpu * 1000 / virtual_s : 0;
  gfx_set_animation(ANIM_HALT);
}
BENCHMARK(BM_idle_run_mode);

// Halted: the loop waits ten seconds for a click.
void BM_idle_halted(benchmark::State& state) {
  start_once();
  gfx_set_animation(ANIM_HALT);
  uint32_t begin_ms = headless::now_ms();
  double begin_cpu = cpu_seconds();
  for (auto _ : state) {
    headless::schedule(headless::now_ms() + 10000, [] {
      headless::click(vorla::state.draw_window, vorla::state.origin_x, vorla::state.origin_y);
    });
    int x, y;
    char key;
    gfx_next_event(&x, &y, &key);
  }
  double cpu = cpu_seconds() - begin_cpu;
  double virtual_s = (headless::now_ms() - begin_ms) / 1000.0;
  state.counters["cpu_ms_per_s"] = virtual_s > 0 ? cpu * 1000 / virtual_s : 0;
}
BENCHMARK(BM_idle_halted);

}  // namespace
