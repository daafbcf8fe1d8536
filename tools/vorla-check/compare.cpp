#include "compare.h"

#include <algorithm>

namespace check {
namespace {

constexpr uint32_t kLastShownFrame = 0xFF8C00;
constexpr uint32_t kBackground = 0x808080;
constexpr int kGap = 8;
constexpr int kFrame = 4;

}  // namespace

Picture difference_picture(const Picture& model, const Picture& student,
                           const std::vector<Rect>& masks, bool student_picture_is_last_shown) {
  const Picture differences = picture::difference(model, student, masks);
  const int panel_width = differences.width;
  const int panel_height = differences.height;
  Picture out;
  out.width = 3 * panel_width + 2 * kGap;
  out.height = panel_height;
  out.pixels.assign(static_cast<size_t>(out.width) * out.height, kBackground);
  auto paste = [&](int panel, const Picture& picture) {
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        out.pixels[static_cast<size_t>(y) * out.width + panel * (panel_width + kGap) + x] =
            picture.at(x, y) & 0xFFFFFF;
      }
    }
  };
  paste(0, model);
  paste(1, student);
  paste(2, differences);
  if (student_picture_is_last_shown) {
    for (int y = 0; y < panel_height; ++y) {
      for (int x = 0; x < panel_width; ++x) {
        if (x < kFrame || y < kFrame || x >= panel_width - kFrame || y >= panel_height - kFrame) {
          out.pixels[static_cast<size_t>(y) * out.width + panel_width + kGap + x] = kLastShownFrame;
        }
      }
    }
  }
  return out;
}

}  // namespace check
