// The menu through the headless display, as the user meets it: the window system routes the
// input, composes the frame, and keeps the program's messages flowing while a popup is open.
#include <gtest/gtest.h>

#include "headless.h"
#include "test_menu_support.h"

namespace {

using namespace menu_test;

struct MenuHeadless : ::testing::Test {
  TestMenu menu = make_menu();
  HWND window = make_window(menu.bar);
  void TearDown() override { cleanup(); }

  // Dispatches everything queued; the procedure records it.
  void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  int count_of(UINT message) {
    int n = 0;
    for (const Received& r : received()) n += r.message == message ? 1 : 0;
    return n;
  }
  std::vector<WPARAM> commands() {
    std::vector<WPARAM> ids;
    for (const Received& r : received()) {
      if (r.message == WM_COMMAND) ids.push_back(r.wparam);
    }
    return ids;
  }
  void press(int vk) {
    headless::key_down(window, vk);
    headless::key_up(window, vk);
  }
  Frame frame() {
    Frame f;
    f.pixels = headless::frame_pixels(window, &f.width, &f.height);
    return f;
  }
};

TEST_F(MenuHeadless, PopupCoversTheFrameNotTheClientAndTimersKeepTicking) {
  SetTimer(window, 1, 100, nullptr);
  pump();
  int width = 0, height = 0;
  std::vector<uint32_t> client_before = headless::client_pixels(window, &width, &height);
  headless::click_menu_area(window, 8, 8);
  pump();
  platform::PopupLayout l = run_layout(window, menu.run, 0);
  Frame shown = frame();
  ASSERT_GT(shown.width, l.frame.right);
  EXPECT_EQ(shown.at(l.frame.right - 1, l.frame.top + 4), kBlack);
  EXPECT_EQ(shown.at(l.frame.left + 2, l.frame.top + 2), kSilver);
  EXPECT_EQ(headless::client_pixels(window, &width, &height), client_before);

  int ticks = count_of(WM_TIMER);
  for (int i = 0; i < 10; ++i) {
    headless::advance_ms(100);
    pump();
  }
  EXPECT_GE(count_of(WM_TIMER), ticks + 5) << "the application runs while the popup is open";

  // A click on an item, in client coordinates as the user gives it.
  POINT halt = item_centre(l, kHalt);
  headless::click(window, halt.x, halt.y - platform::menu_bar_height(window));
  pump();
  EXPECT_EQ(commands(), std::vector<WPARAM>{2});
  EXPECT_EQ(count_of(WM_LBUTTONDOWN) + count_of(WM_LBUTTONUP), 0);
  // Closed, the frame shows the client's own pixels where the popup was.
  Frame closed = frame();
  int x = l.frame.right - 1;
  int y = l.frame.top + 4;
  EXPECT_EQ(closed.at(x, y), client_before[(y - platform::menu_bar_height(window)) * width + x]);
}

TEST_F(MenuHeadless, KeyboardChoosesAndTheApplicationSeesNoKeysMeanwhile) {
  press(VK_MENU);
  press('R');
  press(VK_DOWN);
  press(VK_DOWN);
  press(VK_RETURN);
  pump();
  EXPECT_EQ(commands(), std::vector<WPARAM>{3});
  EXPECT_EQ(count_of(WM_KEYDOWN) + count_of(WM_KEYUP) + count_of(WM_CHAR) +
                count_of(WM_SYSKEYDOWN) + count_of(WM_SYSKEYUP),
            0);
  // Idle again: keys are the application's.
  headless::type_char(window, 'a');
  pump();
  EXPECT_EQ(count_of(WM_CHAR), 1);
}

}  // namespace
