// The log ring, the text window that shows it, and the logging switch.
#include <string>

#include "runtime_test.h"

namespace {

using Log = RuntimeTest;

std::vector<uint32_t> text_window_pixels() {
  int width = 0;
  int height = 0;
  return headless::client_pixels(state.text_window, &width, &height);
}

bool all_white(const std::vector<uint32_t>& pixels) {
  for (uint32_t p : pixels)
    if (p != 0xFFFFFFu) return false;
  return true;
}

void repaint_text_window() {
  InvalidateRect(state.text_window, nullptr, TRUE);
  UpdateWindow(state.text_window);
}

TEST_F(Log, ReturnsTheFormattedCountIncludingTheNewline) {
  EXPECT_EQ(gfx_log("Illegal color %d; using RED.\n", 24), 29);
  start();
  EXPECT_EQ(gfx_log("Illegal color %d; using RED.\n", 24), 29);
  std::vector<std::string> expected = {"Illegal color 24; using RED.\n",
                                       "Illegal color 24; using RED.\n"};
  EXPECT_EQ(log_lines(), expected);
}

TEST_F(Log, RingKeepsTheNewest25Lines) {
  start();
  ObjectCounts empty = object_counts();
  for (int i = 1; i <= 25; ++i) gfx_log("line %d\n", i);
  EXPECT_EQ(state.log_ring.log_first, 0);
  EXPECT_EQ(state.log_ring.log_next, 0);
  ObjectCounts full = object_counts();
  EXPECT_EQ(full.memory, empty.memory + 25);

  gfx_log("line %d\n", 26);
  EXPECT_EQ(state.log_ring.log_first, 1);
  EXPECT_EQ(state.log_ring.log_next, 1);
  EXPECT_EQ(object_counts(), full);  // the oldest block was freed
  std::vector<std::string> lines = log_lines();
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines.front(), "line 2\n");
  EXPECT_EQ(lines.back(), "line 26\n");
}

TEST_F(Log, EmptyRingRepaintsNothing) {
  start();
  ASSERT_TRUE(headless::is_visible(state.text_window));
  repaint_text_window();
  std::vector<uint32_t> pixels = text_window_pixels();
  ASSERT_FALSE(pixels.empty());
  EXPECT_TRUE(all_white(pixels));
}

TEST_F(Log, RepaintDrawsTheRingOldestFirstWithTheNewestAtTheBottom) {
  start();
  gfx_log("first\n");
  gfx_log("second\n");
  gfx_log("third\n");
  std::vector<uint32_t> scrolled = text_window_pixels();
  ASSERT_FALSE(all_white(scrolled));
  repaint_text_window();
  EXPECT_EQ(text_window_pixels(), scrolled);

  // The same lines in another order make another picture.
  gfx_log("third\n");
  gfx_log("second\n");
  gfx_log("first\n");
  EXPECT_NE(text_window_pixels(), scrolled);
}

TEST_F(Log, RepaintKeepsTheLinesAsFormatted) {
  start();
  gfx_log("kept\n");
  repaint_text_window();
  repaint_text_window();
  EXPECT_EQ(log_lines().back(), "kept\n");
}

TEST_F(Log, RepaintLeavesNoObjectBehind) {
  start();
  for (int i = 0; i < 30; ++i) gfx_log("line %d\n", i);
  ObjectCounts before = object_counts();
  repaint_text_window();
  gfx_log("one more\n");
  EXPECT_EQ(object_counts(), before);
}

TEST_F(Log, OverlongLineIsCutAtTheBuffer) {
  start();
  std::string text(1500, 'x');
  EXPECT_EQ(gfx_log("%s", text.c_str()), 1500);
  EXPECT_EQ(log_lines().back().size(), 1023u);
}

TEST_F(Log, SetLoggingBeforeStartUpChangesNothing) {
  EXPECT_EQ(gfx_set_logging(0), 0);
  EXPECT_EQ(state.logging_on, 1);
  EXPECT_EQ(gfx_set_logging(1), 0);
}

TEST_F(Log, SetLoggingSetsTheSwitchTheCheckMarkAndShowsTheWindow) {
  start();
  EXPECT_TRUE(checked(CMD_LOGGING));
  gfx_show_log_window(0);
  EXPECT_EQ(gfx_set_logging(0), 1);
  EXPECT_EQ(state.logging_on, 0);
  EXPECT_FALSE(checked(CMD_LOGGING));
  EXPECT_FALSE(headless::is_visible(state.text_window));

  EXPECT_EQ(gfx_set_logging(5), 1);
  EXPECT_EQ(state.logging_on, 1);
  EXPECT_TRUE(checked(CMD_LOGGING));
  EXPECT_TRUE(headless::is_visible(state.text_window));

  gfx_set_logging(0);
  EXPECT_TRUE(headless::is_visible(state.text_window));
}

TEST_F(Log, ShowAndHideTheTextWindow) {
  start();
  EXPECT_NE(gfx_show_log_window(0), 0);  // it was visible
  EXPECT_FALSE(headless::is_visible(state.text_window));
  EXPECT_EQ(gfx_show_log_window(0), 0);
  EXPECT_EQ(gfx_show_log_window(7), 0);
  EXPECT_TRUE(headless::is_visible(state.text_window));
}

TEST_F(Log, LinesWrittenWhileHiddenAppearWhenShownAgain) {
  start();
  gfx_log("seen\n");
  std::vector<uint32_t> shown = text_window_pixels();
  gfx_show_log_window(0);
  gfx_log("hidden\n");
  gfx_show_log_window(1);
  repaint_text_window();
  EXPECT_NE(text_window_pixels(), shown);
  EXPECT_EQ(log_lines().back(), "hidden\n");
}

TEST_F(Log, TextWindowIsPlacedAcrossTheBottomThirdOfTheScreen) {
  headless::set_screen_size(1280, 1024);
  start();
  RECT frame;
  GetWindowRect(state.text_window, &frame);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 683);
  EXPECT_EQ(frame.right - frame.left, 1280);
  EXPECT_EQ(frame.bottom - frame.top, 341);
  GetWindowRect(state.draw_window, &frame);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 0);
  EXPECT_EQ(frame.right - frame.left, 601);
  EXPECT_EQ(frame.bottom - frame.top, 540);
  // Of the 25 lines kept, the window's height shows 24 whole ones here (as the reference says).
  RECT client;
  GetClientRect(state.text_window, &client);
  HDC dc = GetDC(state.text_window);
  SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  ReleaseDC(state.text_window, dc);
  EXPECT_EQ(client.bottom / (metrics.tmHeight + metrics.tmExternalLeading), 24);
}

}  // namespace

namespace {

// VORLA_LOG gets every line as it is logged, one line per call, from start-up on.
TEST_F(Log, CopiesEveryLineToTheFileThatVorlaLogNames) {
  const std::string path = testing::TempDir() + "vorla-log-copy.txt";
  setenv("VORLA_LOG", path.c_str(), 1);
  start();
  gfx_log("first %d\n", 1);
  gfx_circle(30, 0, 0, 5);
  gfx_log("no newline");
  unsetenv("VORLA_LOG");
  std::FILE* file = std::fopen(path.c_str(), "r");
  ASSERT_NE(file, nullptr);
  char text[256] = {};
  text[std::fread(text, 1, sizeof text - 1, file)] = '\0';
  std::fclose(file);
  EXPECT_STREQ(
      text, "first 1\nIllegal color 30; using RED.\nred circle at (0,0), radius 5\nno newline\n");
}

}  // namespace
