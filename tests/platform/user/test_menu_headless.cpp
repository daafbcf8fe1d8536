// The menu through the headless display, as the user meets it: the window system routes the
// input, composes the frame, and keeps the program's messages flowing while a popup is open.
#include "display/headless/headless.h"
#include "test_menu_support.h"

namespace {

using namespace menu_test;

struct MenuHeadless : ::testing::Test {
  TestMenu menu = make_menu();
  HWND window = make_window(menu.bar);
  void TearDown() override { cleanup(); }

  void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  std::vector<WPARAM> got(std::vector<UINT> messages) {
    std::vector<WPARAM> wparams;
    for (const Received& r : received) {
      if (std::find(messages.begin(), messages.end(), r.message) != messages.end()) {
        wparams.push_back(r.wparam);
      }
    }
    return wparams;
  }
  void press(int vk) {
    headless::key_down(window, vk);
    headless::key_up(window, vk);
  }
};

TEST_F(MenuHeadless, PopupCoversTheFrameNotTheClientAndTimersKeepTicking) {
  SetTimer(window, 1, 100, nullptr);
  pump();
  int width = 0, height = 0;
  std::vector<uint32_t> client = headless::client_pixels(window, &width, &height);
  headless::click_menu_area(window, 8, 8);
  for (int i = 0; i < 10; ++i) {
    headless::advance_ms(100);
    pump();
  }
  EXPECT_GE(got({WM_TIMER}).size(), 5u) << "the application runs while the popup is open";
  platform::PopupLayout l = popup_of(window, menu.run, 0);
  int x = l.frame.right - 1;
  int y = l.frame.top + 4;
  std::vector<uint32_t> frame = headless::frame_pixels(window, &width, &height);
  EXPECT_EQ(frame[y * width + x], kBlack);
  EXPECT_EQ(headless::client_pixels(window, &width, &height), client);

  POINT halt = item_centre(l, kHalt);
  headless::click(window, halt.x, halt.y - platform::menu_bar_height(window));
  pump();
  EXPECT_EQ(got({WM_COMMAND}), std::vector<WPARAM>{2});
  EXPECT_TRUE(got({WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
  frame = headless::frame_pixels(window, &width, &height);
  EXPECT_EQ(frame[y * width + x], client[(y - 19) * width + x]) << "closed, the client shows";
}

TEST_F(MenuHeadless, KeyboardChoosesAndTheApplicationSeesNoKeysMeanwhile) {
  for (int vk : {VK_MENU, int{'R'}, VK_DOWN, VK_DOWN, VK_RETURN}) press(vk);
  pump();
  EXPECT_EQ(got({WM_COMMAND}), std::vector<WPARAM>{3});
  EXPECT_TRUE(got({WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP}).empty());
  headless::type_char(window, 'a');
  pump();
  EXPECT_EQ(got({WM_CHAR}), std::vector<WPARAM>{'a'}) << "idle again: keys are the program's";
}

}  // namespace

namespace {

// A screen rectangle from GetMenuItemRect, in the frame's coordinates.
RECT in_frame(HWND window, RECT r) {
  POINT from{r.left, r.top};
  POINT to{r.right, r.bottom};
  ScreenToClient(window, &from);
  ScreenToClient(window, &to);
  const int bar = platform::menu_bar_height(window);
  return RECT{from.x, from.y + bar, to.x, to.y + bar};
}

bool same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

// AltGr (Ctrl and Alt) types the layout's characters; Alt alone with a letter is the menu's.
TEST_F(MenuHeadless, AltGrTypesAndLeavesTheMenuAlone) {
  headless::key_down(window, VK_CONTROL, "");
  headless::key_down(window, VK_MENU, "");
  headless::key_down(window, 'R', "\xc2\xae");  // the registered sign
  headless::key_up(window, 'R');
  headless::key_up(window, VK_MENU);
  headless::key_up(window, VK_CONTROL);
  pump();
  EXPECT_EQ(got({WM_CHAR, WM_SYSCHAR}), std::vector<WPARAM>{0xAE});
  EXPECT_TRUE(got({WM_INITMENUPOPUP, WM_COMMAND}).empty());
  headless::key_down(window, VK_MENU);
  press('R');
  headless::key_up(window, VK_MENU);
  pump();
  EXPECT_EQ(got({WM_INITMENUPOPUP}).size(), 1u);
}

TEST_F(MenuHeadless, MenuItemRectsAreWhereTheMouseFindsThem) {
  RECT r{};
  ASSERT_TRUE(GetMenuItemRect(window, menu.bar, 1, &r));
  EXPECT_TRUE(same(in_frame(window, r), bar_item(window, 1)));
  EXPECT_FALSE(GetMenuItemRect(window, menu.run, 1, &r)) << "the popup is closed";
  click_bar_item(window, 0);
  ASSERT_TRUE(GetMenuItemRect(window, menu.run, 1, &r));
  EXPECT_TRUE(same(in_frame(window, r), popup_of(window, menu.run, 0).items[1]));
  POINT client{0, 0};
  ASSERT_TRUE(ClientToScreen(window, &client));
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_EQ(client.x, outer.left + GetSystemMetrics(SM_CXFRAME));
  EXPECT_EQ(client.y, outer.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) +
                          GetSystemMetrics(SM_CYMENU));
}
