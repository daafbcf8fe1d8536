// The designer frame, pixel for pixel: checksums of whole redraws recorded from the drawing code
// as it was before its speed-ups (text in Arial's metric twin, the face "VORLA-font" maps to), so
// that no later change to the GDI under it alters one pixel.
#include <cstdint>

#include "../../bench/designer_states.h"
#include "designer_harness.h"

namespace {

// FNV-1a over every surface pixel, row by row.
uint64_t surface_checksum() {
  uint64_t hash = 14695981039346656037ULL;
  for (int row = 0; row < SURFACE_HEIGHT; ++row) {
    for (int column = 0; column < SURFACE_WIDTH; ++column) {
      const COLORREF pixel = surface_pixel(column, row);
      for (int shift = 0; shift < 32; shift += 8) {
        hash = (hash ^ ((pixel >> shift) & 0xFF)) * 1099511628211ULL;
      }
    }
  }
  return hash;
}

uint64_t frame_checksum(int toppings, int scenery_steps) {
  DesignerState state = state_with_toppings(toppings);
  for (int i = 0; i < scenery_steps; ++i) advance_scenery(state.scenery);
  redraw_designer_screen(state);
  return surface_checksum();
}

}  // namespace

TEST(DesignerFrame, PixelsAsRecorded) {
  designer_test::start_runtime();
  EXPECT_EQ(frame_checksum(0, 0), 1695285630294551600ULL);
  EXPECT_EQ(frame_checksum(37, 3), 6282112977590765848ULL);
  EXPECT_EQ(frame_checksum(200, 11), 15748203089133562462ULL);
}
