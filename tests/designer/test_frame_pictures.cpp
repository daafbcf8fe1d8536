// The designer frame, pixel for pixel: whole redraws compared with pictures recorded from the
// drawing code as it was before its speed-ups (text in Arial's metric twin, the face "VORLA-font"
// maps to), so that no later change to the GDI under it alters one pixel. The pictures are
// tests/data/designer/<frame>.png. A frame that differs leaves <frame>-expected.png,
// <frame>-actual.png and <frame>-diff.png in the working directory; a picture that cannot be
// read leaves <frame>-actual.png, the frame as drawn now.
#include <string>
#include <vector>

#include "../../bench/designer_states.h"
#include "designer_harness.h"
#include "pictures.h"

namespace {

void expect_frame(const std::string& name, int toppings, int scenery_steps) {
  DesignerState state = state_with_toppings(toppings);
  for (int i = 0; i < scenery_steps; ++i) advance_scenery(state.scenery);
  redraw_designer_screen(state);
  std::vector<uint32_t> actual;
  for (int row = 0; row < SURFACE_HEIGHT; ++row) {
    for (int column = 0; column < SURFACE_WIDTH; ++column) {
      const COLORREF pixel = surface_pixel(column, row);
      actual.push_back(static_cast<uint32_t>(GetRValue(pixel)) << 16 |
                       static_cast<uint32_t>(GetGValue(pixel)) << 8 | GetBValue(pixel));
    }
  }
  test_pictures::Picture expected;
  std::string error;
  if (!test_pictures::read_png(std::string(VORLA_TEST_DATA) + "/designer/" + name + ".png",
                               &expected, &error)) {
    picture::write_png(name + "-actual.png", {SURFACE_WIDTH, SURFACE_HEIGHT, actual});
    ADD_FAILURE() << error << "; the frame as drawn now is in " << name << "-actual.png";
    return;
  }
  ASSERT_EQ(expected.width, SURFACE_WIDTH) << name;
  ASSERT_EQ(expected.height, SURFACE_HEIGHT) << name;
  std::string report;
  test_pictures::compare_pictures(name, SURFACE_WIDTH, SURFACE_HEIGHT, expected.pixels, actual,
                                  &report);
  if (!report.empty()) ADD_FAILURE() << name << ": " << report;
}

}  // namespace

TEST(DesignerFrame, PixelsAsReferencePictures) {
  designer_test::start_runtime();
  expect_frame("frame-0-toppings", 0, 0);
  expect_frame("frame-37-toppings", 37, 3);
  expect_frame("frame-200-toppings", 200, 11);
}
