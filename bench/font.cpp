// The cost of GDI's text path: it creates and destroys a font for every text call, then asks for
// metrics, measures and draws, 150 calls a frame at ten frames a second.
#include "gdi/font.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

using namespace platform;

namespace {

const char kText[] = "Toppings: 12 / 200 !";  // 20 characters
constexpr int kLength = sizeof(kText) - 1;

void BM_CreateDestroy(benchmark::State& state) {
  const int height = -static_cast<int>(state.range(0));
  font_destroy(font_create(height, FW_NORMAL, false, "VORLA-font"));
  for (auto _ : state) {
    Font* font = font_create(height, FW_NORMAL, false, "VORLA-font");
    benchmark::DoNotOptimize(font);
    font_destroy(font);
  }
}

void BM_Metrics(benchmark::State& state) {
  Font* font = font_create(-static_cast<int>(state.range(0)), FW_NORMAL, false, "VORLA-font");
  TEXTMETRICA metrics;
  for (auto _ : state) {
    font_metrics(font, &metrics);
    benchmark::DoNotOptimize(metrics);
  }
  font_destroy(font);
}

void BM_Width(benchmark::State& state) {
  Font* font = font_create(-static_cast<int>(state.range(0)), FW_NORMAL, false, "VORLA-font");
  for (auto _ : state) benchmark::DoNotOptimize(font_text_width(font, kText, kLength));
  font_destroy(font);
}

void BM_Draw(benchmark::State& state) {
  Font* font = font_create(-static_cast<int>(state.range(0)), FW_NORMAL, false, "VORLA-font");
  std::vector<uint32_t> pixels(601 * 540, 0x00FFFFFF);
  Surface surface{pixels.data(), 601, 540, 601};
  const RECT clip{0, 0, 601, 540};
  for (auto _ : state) {
    font_draw_text(font, surface, clip, 100, 200, kText, kLength, 0x00FF0000);
    benchmark::ClobberMemory();
  }
  font_destroy(font);
}

// One text call as GDI makes it: a fresh font, its metrics, the extent, the drawing.
void BM_TextCall(benchmark::State& state) {
  const int height = -static_cast<int>(state.range(0));
  std::vector<uint32_t> pixels(601 * 540, 0x00FFFFFF);
  Surface surface{pixels.data(), 601, 540, 601};
  const RECT clip{0, 0, 601, 540};
  TEXTMETRICA metrics;
  for (auto _ : state) {
    Font* font = font_create(height, FW_NORMAL, false, "VORLA-font");
    font_metrics(font, &metrics);
    benchmark::DoNotOptimize(font_text_width(font, kText, kLength));
    font_draw_text(font, surface, clip, 100, 200, kText, kLength, 0x00FF0000);
    font_destroy(font);
    benchmark::ClobberMemory();
  }
}

// The first use of a face size: matching, loading and rendering every glyph of the string.
void BM_FirstUse(benchmark::State& state) {
  int height = 20;
  std::vector<uint32_t> pixels(601 * 540, 0x00FFFFFF);
  Surface surface{pixels.data(), 601, 540, 601};
  const RECT clip{0, 0, 601, 540};
  for (auto _ : state) {
    Font* font = font_create(-height, FW_NORMAL, false, "VORLA-font");
    font_draw_text(font, surface, clip, 100, 200, kText, kLength, 0x00FF0000);
    font_destroy(font);
    if (++height > 1000) height = 20;
  }
}

}  // namespace

BENCHMARK(BM_CreateDestroy)->Arg(11)->Arg(16)->Arg(18);
BENCHMARK(BM_Metrics)->Arg(11)->Arg(16)->Arg(18);
BENCHMARK(BM_Width)->Arg(11)->Arg(16)->Arg(18);
BENCHMARK(BM_Draw)->Arg(11)->Arg(16)->Arg(18);
BENCHMARK(BM_TextCall)->Arg(11)->Arg(16)->Arg(18);
BENCHMARK(BM_FirstUse)->Iterations(200);
