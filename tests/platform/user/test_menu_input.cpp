// Working the menu with the mouse and the keyboard, as Windows' menu loop does.
#include "test_menu_support.h"

namespace {

using namespace menu_test;
using platform::menu_key_down;
using platform::menu_key_up;
using platform::menu_mouse_down;
using platform::menu_mouse_move;

struct MenuInput : ::testing::Test {
  TestMenu menu = make_menu();
  HWND window = make_window(menu.bar);
  platform::PopupLayout run = popup_of(window, menu.run, 0);
  void TearDown() override { cleanup(); }

  bool click_item(int index) {
    POINT p = item_centre(run, index);
    return menu_mouse_down(window, p.x, p.y);
  }
  // A key pressed and released; true when the menu took both.
  bool press(int vk) {
    bool down = menu_key_down(window, vk);
    EXPECT_EQ(down, menu_key_up(window, vk)) << "key " << vk;
    return down;
  }
  // The Run popup shows when its border's dark right edge is painted.
  bool run_open() { return paint(window).at(run.frame.right - 1, run.frame.top + 4) == kBlack; }
  int highlighted() {
    Frame frame = paint(window);
    for (size_t i = 0; i < run.items.size(); ++i) {
      if (frame.count(run.items[i], kNavy) > 0) return static_cast<int>(i);
    }
    return -1;
  }
};

TEST_F(MenuInput, ClickOnTheBarOpensClickAgainOrElsewhereCloses) {
  click_bar_item(window, 0);
  EXPECT_TRUE(run_open());
  EXPECT_EQ(highlighted(), -1);
  click_bar_item(window, 0);
  EXPECT_TRUE(platform::menu_needs_paint(window));
  EXPECT_FALSE(run_open());
  click_bar_item(window, 0);
  EXPECT_TRUE(menu_mouse_down(window, run.frame.right + 20, 100)) << "the closing click is used up";
  EXPECT_FALSE(run_open());
  EXPECT_FALSE(menu_mouse_down(window, run.frame.right + 20, 100));
  EXPECT_TRUE(posted_commands(window).empty());
  std::vector<UINT> loop;
  for (const Received& r : received) {
    if (r.message == WM_ENTERMENULOOP || r.message == WM_EXITMENULOOP || r.message == WM_INITMENU ||
        r.message == WM_INITMENUPOPUP) {
      loop.push_back(r.message);
    }
  }
  EXPECT_EQ(loop,
            (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP,
                               WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP}));
}

TEST_F(MenuInput, ClickOnAnEnabledItemPostsItsIdOthersDoNothing) {
  click_bar_item(window, 0);
  EXPECT_TRUE(click_item(kInfo1));
  EXPECT_TRUE(click_item(kSeparator3));
  EXPECT_TRUE(run_open());
  EXPECT_TRUE(posted_commands(window).empty());
  EXPECT_TRUE(click_item(kRecord));
  EXPECT_FALSE(run_open());
  EXPECT_EQ(posted_commands(window), std::vector<WPARAM>{5});
  EXPECT_FALSE(menu_mouse_down(window, 100, 200)) << "idle: the client's clicks pass";
  EXPECT_FALSE(press('A'));
  // A grayed bar item's popup does not open.
  HMENU off = CreatePopupMenu();
  AppendMenuA(off, MF_STRING, 40, "&On");
  AppendMenuA(menu.bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(off), "&Off");
  click_bar_item(window, 2);
  EXPECT_TRUE(press(VK_DOWN));  // would pick "&On" if the popup were open
  EXPECT_TRUE(press(VK_RETURN));
  EXPECT_TRUE(posted_commands(window).empty());
}

TEST_F(MenuInput, MouseCarriesTheOpenPopupAlongTheBar) {
  click_bar_item(window, 0);
  EXPECT_TRUE(menu_mouse_move(window, bar_item(window, 1).left + 3, 8));
  EXPECT_FALSE(run_open());
  POINT zoom = item_centre(popup_of(window, menu.view, 1), 0);
  EXPECT_TRUE(menu_mouse_down(window, zoom.x, zoom.y));
  EXPECT_EQ(posted_commands(window), std::vector<WPARAM>{kZoomId});
}

TEST_F(MenuInput, EscClosesThePopupThenLeavesTheBar) {
  click_bar_item(window, 0);
  EXPECT_TRUE(press(VK_ESCAPE));
  EXPECT_FALSE(run_open());
  EXPECT_TRUE(press('X')) << "as in Windows the bar stays selected until a second Esc";
  EXPECT_TRUE(press(VK_ESCAPE));
  EXPECT_FALSE(press('X'));
  EXPECT_TRUE(posted_commands(window).empty());
}

TEST_F(MenuInput, AltThenMnemonicThenArrowsThenEnterChoosesTheItem) {
  EXPECT_TRUE(press(VK_MENU));
  EXPECT_FALSE(run_open());
  EXPECT_GT(paint(window).count(bar_item(window, 0), kNavy), 0) << "Alt selects the bar";
  EXPECT_TRUE(press('R'));
  EXPECT_EQ(highlighted(), kAnimate);
  EXPECT_TRUE(press(VK_DOWN));
  EXPECT_TRUE(press(VK_DOWN));
  EXPECT_EQ(highlighted(), kFrame);
  EXPECT_TRUE(press(VK_DOWN));
  EXPECT_EQ(highlighted(), kLogging) << "separators are skipped";
  EXPECT_TRUE(press(VK_RETURN));
  EXPECT_FALSE(run_open());
  EXPECT_EQ(posted_commands(window), std::vector<WPARAM>{4});
}

TEST_F(MenuInput, ArrowsWrapSkipGrayedItemsAndMoveAlongTheBar) {
  EXPECT_TRUE(press(VK_F10));
  EXPECT_TRUE(press(VK_DOWN));
  EXPECT_EQ(highlighted(), kAnimate);
  EXPECT_TRUE(press(VK_UP));
  EXPECT_EQ(highlighted(), kQuit) << "wrapped past the grayed lines";
  EXPECT_TRUE(press(VK_RIGHT));
  EXPECT_FALSE(run_open());
  EXPECT_TRUE(press(VK_DOWN));    // past grayed Grid to Tools,
  EXPECT_TRUE(press(VK_RETURN));  // which opens no command
  EXPECT_TRUE(press(VK_LEFT));
  EXPECT_EQ(highlighted(), kAnimate);
  EXPECT_TRUE(press(VK_RETURN));
  EXPECT_EQ(posted_commands(window), std::vector<WPARAM>{1});
}

TEST_F(MenuInput, AltWithALetterOpensAndAPopupMnemonicChooses) {
  EXPECT_TRUE(menu_key_down(window, VK_MENU));
  EXPECT_TRUE(press('R'));
  EXPECT_TRUE(menu_key_up(window, VK_MENU));
  EXPECT_TRUE(run_open()) << "the release of Alt does not close";
  EXPECT_TRUE(press('Q'));
  EXPECT_EQ(posted_commands(window), std::vector<WPARAM>{8});
  EXPECT_FALSE(run_open());
}

TEST_F(MenuInput, AltCountsOnlyAloneAndAltF4AndEarlierKeysAreTheWindows) {
  EXPECT_TRUE(menu_key_down(window, VK_MENU));
  EXPECT_FALSE(press('X')) << "no mnemonic: a system key for the window";
  EXPECT_TRUE(menu_key_up(window, VK_MENU));
  EXPECT_FALSE(press('X')) << "Alt with a key between selects nothing";
  EXPECT_FALSE(menu_key_down(window, VK_CONTROL));
  EXPECT_TRUE(press(VK_F10));
  EXPECT_TRUE(press(VK_DOWN));
  EXPECT_FALSE(menu_key_up(window, VK_CONTROL)) << "its key-down reached the application";
  EXPECT_TRUE(menu_key_down(window, VK_MENU));
  EXPECT_FALSE(press(VK_F1 + 3));
  EXPECT_TRUE(menu_key_up(window, VK_MENU));
  EXPECT_FALSE(run_open());
  EXPECT_FALSE(press('X'));
  EXPECT_TRUE(posted_commands(window).empty());
}

TEST_F(MenuInput, MenuOrWindowGoneWhileOpenIsHarmless) {
  click_bar_item(window, 0);
  DestroyMenu(menu.bar);
  EXPECT_EQ(platform::menu_bar_height(window), 0);
  EXPECT_FALSE(menu_mouse_down(window, 10, 30));
  EXPECT_FALSE(press(VK_RETURN));
  Frame frame = paint(window);
  EXPECT_EQ(frame.count(RECT{0, 0, frame.width, frame.height}, kSentinel),
            frame.width * frame.height);
  HWND second = make_window(make_menu().bar);
  click_bar_item(second, 0);
  DestroyWindow(second);
  EXPECT_FALSE(menu_mouse_down(second, 10, 5));
  EXPECT_FALSE(menu_key_down(second, VK_RETURN));
  EXPECT_FALSE(platform::menu_needs_paint(second));
}

}  // namespace
