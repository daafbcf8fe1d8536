// One full redraw of the designer screen, as made on every event (ten a second while animation
// runs): the scene, the buttons, the status line, the scoops and cone and every topping, at 0 to
// 200 toppings (the cost of one more topping is the slope), and over 100,000 frames (what grows
// with time, in memory and in handles). Where Cairo is installed the same redraw also goes to
// Cairo, for a yardstick read in the same run: the renderer's hook sends every drawing command
// the designer makes to a Cairo image of the surface's size instead of the GDI surface.
#include "designer.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/handles.h"
#include "designer_states.h"
#include "display/headless/headless.h"
#include "layer.h"

#if defined(VORLA_BENCH_CAIRO)
#include <cairo.h>

#include "runtime_state.h"

using namespace vorla;  // the runtime's insides

namespace {

cairo_t* cairo_target = nullptr;  // while set, drawing commands go to Cairo

double column_of(int x) {
  return static_cast<double>(vorla::state.origin_x) + x;
}
double row_of(int y) {
  return static_cast<double>(vorla::state.origin_y) - y;
}

// The same figures as the GDI renderer draws: boxes that include their lower-right corner,
// width 0 filled, otherwise a band of that width; lines with round caps; no anti-aliasing.
void cairo_render(cairo_t* cr, const DrawCommand& c) {
  const COLORREF colour = c.colour >= 0 && c.colour < COLOUR_COUNT ? colour_rgb[c.colour] : 0;
  cairo_set_source_rgb(cr, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0,
                       GetBValue(colour) / 255.0);
  const double left = column_of(c.x1);
  const double top = row_of(c.y1);
  const double right = column_of(c.x2) + 1;
  const double bottom = row_of(c.y2) + 1;
  const auto finish = [&] {
    if (c.width == 0) {
      cairo_fill(cr);
    } else {
      cairo_set_line_width(cr, c.width);
      cairo_stroke(cr);
    }
  };
  switch (c.kind) {
    case DRAW_RECT:
      if (c.width == 0) {
        cairo_rectangle(cr, left, top, right - left, bottom - top);
      } else {
        cairo_rectangle(cr, left + 0.5, top + 0.5, right - left - 1, bottom - top - 1);
      }
      finish();
      break;
    case DRAW_OVAL:
      cairo_save(cr);
      cairo_translate(cr, (left + right) / 2, (top + bottom) / 2);
      cairo_scale(cr, std::max(right - left, 1.0) / 2, std::max(bottom - top, 1.0) / 2);
      cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
      cairo_restore(cr);
      finish();
      break;
    case DRAW_TRIANGLE:
      cairo_move_to(cr, column_of(c.x1) + 0.5, row_of(c.y1) + 0.5);
      cairo_line_to(cr, column_of(c.x2) + 0.5, row_of(c.y2) + 0.5);
      cairo_line_to(cr, column_of(c.x3) + 0.5, row_of(c.y3) + 0.5);
      cairo_close_path(cr);
      finish();
      break;
    case DRAW_LINE:
      cairo_move_to(cr, column_of(c.x1) + 0.5, row_of(c.y1) + 0.5);
      cairo_line_to(cr, column_of(c.x2) + 0.5, row_of(c.y2) + 0.5);
      cairo_set_line_width(cr, std::max(c.width, 1));
      cairo_stroke(cr);
      break;
    case DRAW_PIXEL:
      cairo_rectangle(cr, left, top, 1, 1);
      cairo_fill(cr);
      break;
    case DRAW_TEXT: {
      HGLOBAL block = text_block_lookup(c.y2);
      const char* text = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
      if (!text) break;
      cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
      cairo_set_font_size(cr, c.x2);
      cairo_font_extents_t extents;
      cairo_font_extents(cr, &extents);
      // Line by line, the first one above the anchor, as the renderer places them.
      double baseline = row_of(c.y1) - extents.height + extents.ascent;
      for (const char* line = text;;) {
        const char* end = std::strchr(line, '\n');
        const std::string piece(line, end ? end : line + std::strlen(line));
        cairo_move_to(cr, left, baseline);
        cairo_show_text(cr, piece.c_str());
        if (!end) break;
        line = end + 1;
        baseline += extents.height;
      }
      GlobalUnlock(block);
      break;
    }
    default:
      break;
  }
}

bool render_to_cairo(const DrawCommand* command) {
  if (!cairo_target) return false;
  cairo_render(cairo_target, *command);
  return true;
}

}  // namespace
#endif

namespace {

void start_runtime_once() {
  static bool started = false;
  if (started) return;
  headless::drive_from_code();
  platform::layer_choose_display("headless");
  static char no_arguments[] = "";
  gfx_startup(nullptr, nullptr, no_arguments, SW_SHOWNORMAL);
  gfx_set_logging(0);
#if defined(VORLA_BENCH_CAIRO)
  vorla::state.render_hook = render_to_cairo;
#endif
  started = true;
}

void BM_DesignerRedraw(benchmark::State& bench) {
  start_runtime_once();
  DesignerState state = state_with_toppings(static_cast<int>(bench.range(0)));
  redraw_designer_screen(state);  // glyphs rendered once, as in a running program
  for (auto _ : bench) {
    redraw_designer_screen(state);
    advance_scenery(state.scenery);
  }
}
BENCHMARK(BM_DesignerRedraw)
    ->Arg(0)
    ->Arg(50)
    ->Arg(100)
    ->Arg(150)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);

// The resident set in kilobytes, from /proc/self/statm.
double resident_kb() {
  long pages_total = 0;
  long pages_resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages_total, &pages_resident) != 2) pages_resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(pages_resident) * (static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024);
}

int live_handles() {
  int count = 0;
  for (platform::HandleKind kind :
       {platform::HandleKind::pen, platform::HandleKind::brush, platform::HandleKind::font,
        platform::HandleKind::bitmap, platform::HandleKind::dc, platform::HandleKind::memory}) {
    count += platform::handle_live_count(kind);
  }
  return count;
}

// 100,000 frames of 200 toppings, the scene drifting: what the resident set and the live handles
// grew by between the first 1,000 frames and the last.
void BM_DesignerRedrawLongRun(benchmark::State& bench) {
  start_runtime_once();
  DesignerState state = state_with_toppings(200);
  for (int i = 0; i < 1000; ++i) {
    redraw_designer_screen(state);
    advance_scenery(state.scenery);
  }
  const double rss = resident_kb();
  const int handles = live_handles();
  for (auto _ : bench) {
    redraw_designer_screen(state);
    advance_scenery(state.scenery);
  }
  bench.counters["rss_growth_kb"] = resident_kb() - rss;
  bench.counters["handle_growth"] = live_handles() - handles;
}
BENCHMARK(BM_DesignerRedrawLongRun)->Iterations(100000)->Unit(benchmark::kMillisecond);

#if defined(VORLA_BENCH_CAIRO)
// The same redraw into a Cairo image of the surface's size, without anti-aliasing.
void BM_DesignerRedrawCairo(benchmark::State& bench) {
  start_runtime_once();
  cairo_surface_t* image =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, SURFACE_WIDTH, SURFACE_HEIGHT);
  cairo_t* cr = cairo_create(image);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(cr, options);
  DesignerState state = state_with_toppings(static_cast<int>(bench.range(0)));
  cairo_target = cr;
  redraw_designer_screen(state);
  for (auto _ : bench) {
    redraw_designer_screen(state);
    advance_scenery(state.scenery);
  }
  cairo_target = nullptr;
  cairo_surface_flush(image);
  // VORLA_CAIRO_PNG=file keeps the last picture, to compare it with the GDI surface by eye.
  if (const char* png = std::getenv("VORLA_CAIRO_PNG")) cairo_surface_write_to_png(image, png);
  cairo_font_options_destroy(options);
  cairo_destroy(cr);
  cairo_surface_destroy(image);
}
BENCHMARK(BM_DesignerRedrawCairo)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
