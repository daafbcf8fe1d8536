// The pieces of the Windows check that decide its verdict: where a text call's ink lies, which
// pixels count as text, the commands of an open Run menu found in a picture of it, and the
// session file both sides follow.
#include <cstdio>
#include <string>

#include "designer_harness.h"
#include "session/session.h"
#include "shots.h"
#include "text_ink.h"
#include "user/menu_parts.h"

using designer_test::drawing_window;
using designer_test::start_runtime;

TEST(WindowsCheck, InkBoxHoldsTheTextAloneAndAnEmptyTextHasNone) {
  start_runtime();
  const std::vector<text_ink::Box> boxes =
      text_ink::ink_boxes({{-285, 228, 11, "Add Scoop"}, {0, 0, 11, ""}, {0, 0, 11, "a\nb"}});
  ASSERT_EQ(boxes.size(), 3u);
  // The text stands on the anchor's row, just right of its column; the erased surface's frame
  // is not ink.
  const int column = state.origin_x - 285;
  const int row = state.origin_y - 228;
  EXPECT_GE(boxes[0].left, column);
  EXPECT_LT(boxes[0].right, column + 80);
  EXPECT_GT(boxes[0].top, row - 20);
  EXPECT_LE(boxes[0].bottom, row + 1);
  EXPECT_TRUE(boxes[1].empty());
  EXPECT_GT(boxes[2].bottom - boxes[2].top, 15) << "two lines";
}

TEST(WindowsCheck, TextBoxesHoldBothSystemsInkAndMaskTheComparison) {
  picture::Picture a{4, 3, std::vector<uint32_t>(12, 0x112233)};
  picture::Picture b = a;
  b.pixels[0] = 0;   // (0, 0): in the box
  b.pixels[11] = 0;  // (3, 2): outside
  const std::vector<picture::Rect> boxes =
      shots::text_boxes({{0, 0, 1, 1}, {}}, {{1, 0, 2, 2}, {}});
  ASSERT_EQ(boxes.size(), 1u) << "a call with no ink on either side has no box";
  EXPECT_EQ(shots::pixels_in(4, 3, boxes), 4);
  picture::Comparison result = picture::compare(a, b, boxes);
  EXPECT_EQ(result.differing_masked, 1);
  EXPECT_EQ(result.differing, 1);
  EXPECT_EQ(result.first, (std::vector<std::pair<int, int>>{{3, 2}}));
}

TEST(WindowsCheck, PopupCommandsAreFoundInAPictureOfTheRunMenu) {
  start_runtime();
  const RECT bar = platform::bar_item_rects(*platform::menu_object(GetMenu(drawing_window())))[0];
  headless::click_menu_area(drawing_window(), bar.left + 5, bar.top + 5);
  RECT client{};
  GetClientRect(drawing_window(), &client);
  const platform::PopupLayout layout =
      platform::popup_layout(*platform::menu_object(state.run_menu), bar, client.right);
  int width = 0;
  int height = 0;
  const std::vector<uint32_t> frame = headless::frame_pixels(drawing_window(), &width, &height);
  picture::Picture popup{
      layout.frame.right - layout.frame.left, layout.frame.bottom - layout.frame.top, {}};
  for (int row = layout.frame.top; row < layout.frame.bottom; ++row) {
    for (int column = layout.frame.left; column < layout.frame.right; ++column) {
      popup.pixels.push_back(frame[static_cast<size_t>(row) * width + column]);
    }
  }
  const std::vector<std::pair<int, int>> found = shots::popup_shortcuts(popup);
  ASSERT_EQ(found.size(), 8u);
  for (const session::MenuItem& item : session::kRunItems) {
    const RECT& rect = layout.items[static_cast<size_t>(item.position)];
    const int centre =
        layout.frame.top + (found[item.text_index].first + found[item.text_index].second) / 2;
    EXPECT_TRUE(centre >= rect.top && centre < rect.bottom) << item.name;
  }
}

// A session's steps come at the times its `at` and `gap` give; a line it cannot give is refused.
TEST(WindowsCheck, SessionFileGivesItsStepsTimesAndRefusesWhatItCannotGive) {
  const char* path = "session-test.txt";
  auto steps_of = [path](const char* text, const char* run = "") {
    FILE* file = std::fopen(path, "w");
    std::fputs(text, file);
    std::fclose(file);
    std::vector<session::Step> steps;
    if (!session::read_session(path, run, &steps)) steps.clear();
    return steps;
  };
  std::vector<session::Step> steps =
      steps_of("at 1000\ngap 300\nclick 1 -2  # enter\n\nframes 3\nmenu-keys Record\n");
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[1].at, 1300u);
  EXPECT_EQ(steps[2].at, 2200u);  // after the three frames
  steps = steps_of("run 1\nat 50\ntype q\nrun 2 event-monitor\nat 70\ncapture x\n", "2");
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].at, 70u);
  EXPECT_TRUE(steps_of("click 1\n").empty());
  EXPECT_TRUE(steps_of("menu-mouse Save\n").empty());
  EXPECT_TRUE(steps_of("ctrl HA\n").empty());
  std::remove(path);
}
