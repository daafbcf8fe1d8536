// Draws the designer's own cone (its start-up colours, with a second scoop added) with the
// runtime on the headless display and writes it as the desktop icon: PNG files of 48 and 256
// pixels with a transparent background, cone-designer-<size>.png in the folder given.
//   build/make-icon desktop
#include <cstdio>
#include <string>
#include <vector>

#include "designer.h"
#include "display/headless/headless.h"
#include "display/headless/picture.h"
#include "layer.h"
#include "runtime_state.h"

using namespace vorla;  // the runtime's insides

namespace {

// The square around the cone in centred coordinates: the top scoop's top (82 + 57) down to the
// cone's tip (-175), the scoops' 57-pixel radius well inside it.
constexpr int kTop = 140;
constexpr int kSide = 316;
constexpr int kLeft = -kSide / 2;

// The surface pixel as 0xAARRGGBB: the white of the erased surface is transparent.
uint32_t argb_at(int x, int y) {
  const COLORREF c = surface_pixel(state.origin_x + x, state.origin_y - y);
  if (c == RGB(255, 255, 255)) return 0;
  return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Each icon pixel averages the source pixels whose centres fall in its square, colours weighted
// by their opacity, so the cone's edge fades into the transparent background.
std::vector<uint32_t> scaled(const std::vector<uint32_t>& source, int size) {
  std::vector<uint32_t> icon(static_cast<size_t>(size) * size);
  for (int row = 0; row < size; ++row) {
    for (int col = 0; col < size; ++col) {
      double a = 0, r = 0, g = 0, b = 0;
      int count = 0;
      for (int y = row * kSide / size; y < (row + 1) * kSide / size; ++y) {
        for (int x = col * kSide / size; x < (col + 1) * kSide / size; ++x) {
          const uint32_t p = source[static_cast<size_t>(y) * kSide + x];
          const double alpha = (p >> 24) / 255.0;
          a += alpha;
          r += alpha * ((p >> 16) & 0xFF);
          g += alpha * ((p >> 8) & 0xFF);
          b += alpha * (p & 0xFF);
          ++count;
        }
      }
      if (a == 0) continue;
      auto channel = [](double v) { return static_cast<uint32_t>(v + 0.5); };
      icon[static_cast<size_t>(row) * size + col] = (channel(255 * a / count) << 24) |
                                                    (channel(r / a) << 16) | (channel(g / a) << 8) |
                                                    channel(b / a);
    }
  }
  return icon;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  headless::drive_from_code();
  platform::layer_choose_display("headless");
  static char no_arguments[] = "";
  gfx_startup(nullptr, nullptr, no_arguments, SW_SHOWNORMAL);
  gfx_set_logging(0);
  gfx_erase();
  DesignerState cone;
  cone.scoop_count = 2;
  draw_scoops(cone.scoop_count, cone.scoop_colour1, cone.scoop_colour2, cone.scoop_colour3,
              cone.scoop_colour4);
  draw_cone();

  std::vector<uint32_t> square(static_cast<size_t>(kSide) * kSide);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x)
      square[static_cast<size_t>(y) * kSide + x] = argb_at(kLeft + x, kTop - y);
  }
  for (int size : {48, 256}) {
    const std::string path =
        std::string(argv[1]) + "/cone-designer-" + std::to_string(size) + ".png";
    if (!picture::write_png(path, {size, size, scaled(square, size)}, true)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
