// Start-up: the two windows' places and sizes, and start-up from a previous instance.
#include "runtime_test.h"

namespace {

using Windows = RuntimeTest;

TEST_F(Windows, WindowsOnA1024By768Screen) {
  start();
  EXPECT_EQ(headless::find_window("VORLA Graphics"), draw_window);
  EXPECT_EQ(headless::find_window("VORLA Text"), text_window);
  RECT frame;
  GetWindowRect(text_window, &frame);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 513);
  EXPECT_EQ(frame.right - frame.left, 1024);
  EXPECT_EQ(frame.bottom - frame.top, 256);
  EXPECT_TRUE(headless::is_visible(draw_window));
  EXPECT_TRUE(headless::is_visible(text_window));
  EXPECT_EQ(surface_dirty, 1);  // the first pass copies the surface even if nothing was drawn
}

TEST_F(Windows, PreviousInstanceRegistersNoClass) {
  // Nothing registered the classes before, so no window can be made from them.
  EXPECT_EQ(gfx_startup(nullptr, reinterpret_cast<HINSTANCE>(1), nullptr, SW_SHOWNORMAL), 1);
  EXPECT_EQ(draw_window, nullptr);
  EXPECT_EQ(text_window, nullptr);
  EXPECT_EQ(gfx_set_animation(ANIM_RUN), 0);
}

TEST_F(Windows, ShutDownGivesBackTheWindowDeviceContext) {
  start();
  ObjectCounts running = object_counts();
  EXPECT_EQ(gfx_shutdown(), 1);
  ObjectCounts after = object_counts();
  EXPECT_EQ(after.dc, running.dc - 1);
  EXPECT_EQ(after.bitmap, running.bitmap);
}

}  // namespace
