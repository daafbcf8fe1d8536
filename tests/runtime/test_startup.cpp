// Start-up: the two windows' places and sizes, and start-up from a previous instance.
#include "runtime_test.h"

namespace {

using Windows = RuntimeTest;

TEST_F(Windows, WindowsOnA1024By768Screen) {
  start();
  EXPECT_EQ(headless::find_window("VORLA Graphics"), state.draw_window);
  EXPECT_EQ(headless::find_window("VORLA Text"), state.text_window);
  RECT frame;
  GetWindowRect(state.text_window, &frame);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 513);
  EXPECT_EQ(frame.right - frame.left, 1024);
  EXPECT_EQ(frame.bottom - frame.top, 256);
  EXPECT_TRUE(headless::is_visible(state.draw_window));
  EXPECT_TRUE(headless::is_visible(state.text_window));
  EXPECT_EQ(state.surface_dirty, 1);  // the first pass copies the surface even if nothing was drawn
}

TEST_F(Windows, PreviousInstanceRegistersNoClass) {
  // Nothing registered the classes before, so no window can be made from them.
  EXPECT_EQ(gfx_startup(nullptr, reinterpret_cast<HINSTANCE>(1), nullptr, SW_SHOWNORMAL), 1);
  EXPECT_EQ(state.draw_window, nullptr);
  EXPECT_EQ(state.text_window, nullptr);
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

namespace {

// A program that forgot gfx_startup is told once, naming its first call; its drawing does
// nothing, and gfx_next_event, which would wait for ever, ends it.
TEST_F(Windows, CallsBeforeStartUpAreSaidOnceAndWaitingEndsTheProgram) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(gfx_circle(COLOUR_RED, 0, 0, 10), 1);
  EXPECT_EQ(gfx_text(COLOUR_RED, 0, 0, 10, "hi"), 0);
  EXPECT_EQ(gfx_set_animation(ANIM_RUN), 0);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said,
            "gfx_circle was called before gfx_startup: it does nothing until gfx_startup has made "
            "the windows\n");
  EXPECT_EQ(log_lines(), std::vector<std::string>{said});
  int x = 0;
  int y = 0;
  char key = 0;
  EXPECT_EXIT(gfx_next_event(&x, &y, &key), testing::ExitedWithCode(1),
              "gfx_next_event was called before gfx_startup: there is no window for events to "
              "come from, so the program ends");
}

// Null pointers are accepted: gfx_next_event stores only what it was given a place for, and a
// null text or log format is a repair with its log line.
TEST_F(Windows, NullPointersAreAccepted) {
  start();
  gfx_set_logging(0);
  headless::type_char(state.draw_window, 'k');
  EXPECT_EQ(gfx_next_event(nullptr, nullptr, nullptr), EVENT_KBD);
  const size_t mark = log_lines().size();
  EXPECT_EQ(gfx_text(COLOUR_RED, 0, 0, 10, nullptr), 0);
  EXPECT_EQ(gfx_log(nullptr), 0);
  EXPECT_EQ(log_lines_since(mark),
            (std::vector<std::string>{"Text NULL not possible, drawing no text\n",
                                      "Log line NULL not possible, logging no line\n"}));
}

}  // namespace
