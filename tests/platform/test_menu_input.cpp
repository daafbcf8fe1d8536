// Working the menu with the mouse and the keyboard, as Windows' menu loop does.
#include <gtest/gtest.h>

#include "test_menu_support.h"

namespace {

using namespace menu_test;
using platform::menu_key_down;
using platform::menu_key_up;
using platform::menu_mouse_down;
using platform::menu_mouse_move;

constexpr int kVkF4 = VK_F1 + 3;

struct MenuInput : ::testing::Test {
  TestMenu menu = make_menu();
  HWND window = make_window(menu.bar);
  void TearDown() override { cleanup(); }

  platform::PopupLayout run() { return run_layout(window, menu.run, 0); }
  bool click_item(int index) {
    POINT p = item_centre(run(), index);
    return menu_mouse_down(window, p.x, p.y);
  }
  // A key pressed and released; true when the menu took both.
  bool press(int vk) {
    bool down = menu_key_down(window, vk);
    bool up = menu_key_up(window, vk);
    EXPECT_EQ(down, up) << "key " << vk;
    return down;
  }
  // Whether the Run popup shows: its border's dark right edge is painted.
  bool run_open() {
    Frame frame = paint(window);
    platform::PopupLayout l = run();
    return frame.at(l.frame.right - 1, l.frame.top + 4) == kBlack;
  }
  // The highlighted item of the Run popup, or -1.
  int highlighted() {
    Frame frame = paint(window);
    platform::PopupLayout l = run();
    for (size_t i = 0; i < l.items.size(); ++i) {
      if (frame.count(l.items[i], kNavy) > 0) return static_cast<int>(i);
    }
    return -1;
  }
  std::vector<UINT> menu_messages() {
    std::vector<UINT> messages;
    for (const Received& r : received()) {
      if (r.message == WM_ENTERMENULOOP || r.message == WM_EXITMENULOOP ||
          r.message == WM_INITMENU || r.message == WM_INITMENUPOPUP) {
        messages.push_back(r.message);
      }
    }
    return messages;
  }
};

TEST_F(MenuInput, ClickOnTheBarOpensAndClickAgainCloses) {
  EXPECT_FALSE(run_open());
  click_bar_item(window, 0);
  EXPECT_TRUE(run_open());
  EXPECT_EQ(highlighted(), -1);
  click_bar_item(window, 0);
  EXPECT_TRUE(platform::menu_needs_paint(window));
  EXPECT_FALSE(run_open());
  EXPECT_TRUE(posted_commands(window).empty());
  EXPECT_EQ(menu_messages(),
            (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP}));
}

TEST_F(MenuInput, ClickOnAnItemClosesThePopupAndPostsItsId) {
  click_bar_item(window, 0);
  EXPECT_TRUE(click_item(kRecord));
  EXPECT_FALSE(run_open());
  EXPECT_EQ(posted_commands(window), std::vector<WPARAM>{5});
  // The menu is idle again: the client's clicks and keys are the application's.
  EXPECT_FALSE(menu_mouse_down(window, 100, 200));
  EXPECT_FALSE(press('A'));
}

TEST_F(MenuInput, GrayedItemsAndSeparatorsCannotBeChosen) {
  click_bar_item(window, 0);
  EXPECT_TRUE(click_item(kInfo1));
  EXPECT_TRUE(click_item(kSeparator3));
  EXPECT_TRUE(run_open());
  EXPECT_TRUE(posted_commands(window).empty());
  // A grayed bar item's popup does not open either.
  AppendMenuA(menu.bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(CreatePopupMenu()),
              "&Off");
  click_bar_item(window, 2);
  EXPECT_FALSE(run_open());
  EXPECT_TRUE(posted_commands(window).empty());
}

TEST_F(MenuInput, ClickElsewhereClosesAndIsUsedUp) {
  click_bar_item(window, 0);
  platform::PopupLayout l = run();
  EXPECT_TRUE(menu_mouse_down(window, l.frame.right + 20, l.frame.top + 30));
  EXPECT_FALSE(run_open());
  EXPECT_TRUE(posted_commands(window).empty());
  EXPECT_FALSE(menu_mouse_down(window, l.frame.right + 20, l.frame.top + 30));
}

TEST_F(MenuInput, MouseCarriesTheOpenPopupAlongTheBar) {
  click_bar_item(window, 0);
  RECT view = platform::bar_item_rects(*platform::menu_object(menu.bar))[1];
  EXPECT_TRUE(menu_mouse_move(window, view.left + 3, 8));
  EXPECT_FALSE(run_open());
  platform::PopupLayout l = run_layout(window, menu.view, 1);
  POINT zoom = item_centre(l, 0);
  EXPECT_TRUE(menu_mouse_down(window, zoom.x, zoom.y));
  EXPECT_EQ(posted_commands(window), std::vector<WPARAM>{kZoomId});
}

TEST_F(MenuInput, EscClosesThePopupThenLeavesTheBar) {
  click_bar_item(window, 0);
  EXPECT_TRUE(press(VK_ESCAPE));
  EXPECT_FALSE(run_open());
  // As in Windows the bar item stays selected until a second Esc.
  EXPECT_TRUE(press('X'));
  EXPECT_TRUE(press(VK_ESCAPE));
  EXPECT_FALSE(press('X'));
  EXPECT_TRUE(posted_commands(window).empty());
}

TEST_F(MenuInput, AltThenMnemonicThenArrowsThenEnterChoosesTheItem) {
  EXPECT_TRUE(press(VK_MENU));
  EXPECT_FALSE(run_open());
  Frame frame = paint(window);
  RECT run_item = platform::bar_item_rects(*platform::menu_object(menu.bar))[0];
  EXPECT_GT(frame.count(run_item, kNavy), 0) << "Alt selects the bar";
  EXPECT_TRUE(press('R'));
  EXPECT_TRUE(run_open());
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

TEST_F(MenuInput, ArrowsWrapAndSkipGrayedItems) {
  EXPECT_TRUE(press(VK_F10));
  EXPECT_TRUE(press(VK_DOWN));
  EXPECT_EQ(highlighted(), kAnimate);
  EXPECT_TRUE(press(VK_UP));
  EXPECT_EQ(highlighted(), kQuit) << "wrapped past the grayed lines";
  EXPECT_TRUE(press(VK_DOWN));
  EXPECT_EQ(highlighted(), kAnimate);
  // Right opens the next bar item's popup; Left comes back.
  EXPECT_TRUE(press(VK_RIGHT));
  EXPECT_FALSE(run_open());
  EXPECT_TRUE(press(VK_DOWN));    // Zoom, then past grayed Grid to Tools
  EXPECT_TRUE(press(VK_RETURN));  // Tools opens another popup: nothing is chosen
  EXPECT_TRUE(press(VK_LEFT));
  EXPECT_EQ(highlighted(), kAnimate);
  EXPECT_TRUE(press(VK_RETURN));
  EXPECT_EQ(posted_commands(window), std::vector<WPARAM>{1});
}

TEST_F(MenuInput, MnemonicsChooseAndAltWithLetterOpens) {
  EXPECT_TRUE(menu_key_down(window, VK_MENU));
  EXPECT_TRUE(menu_key_down(window, 'R'));
  EXPECT_TRUE(menu_key_up(window, 'R'));
  EXPECT_TRUE(menu_key_up(window, VK_MENU));
  EXPECT_TRUE(run_open()) << "Alt+R opens, and the release of Alt does not close";
  EXPECT_TRUE(press('Q'));
  EXPECT_EQ(posted_commands(window), std::vector<WPARAM>{8});
  EXPECT_FALSE(run_open());
}

TEST_F(MenuInput, AltIsOnlyAMenuKeyWhenPressedAlone) {
  // Alt with another key between its press and release selects nothing.
  EXPECT_TRUE(menu_key_down(window, VK_MENU));
  EXPECT_TRUE(press('X'));
  EXPECT_TRUE(menu_key_up(window, VK_MENU));
  EXPECT_FALSE(press('X'));
  // Alt+F4 belongs to the window, even with the menu working.
  EXPECT_TRUE(press(VK_F10));
  EXPECT_TRUE(menu_key_down(window, VK_MENU));
  EXPECT_FALSE(menu_key_down(window, kVkF4));
  EXPECT_FALSE(menu_key_up(window, kVkF4));
  EXPECT_TRUE(menu_key_up(window, VK_MENU));
  EXPECT_FALSE(run_open());
  EXPECT_FALSE(press('X'));
  // Ordinary and Ctrl keys pass while the menu is idle.
  EXPECT_FALSE(press(VK_CONTROL));
  EXPECT_TRUE(posted_commands(window).empty());
}

TEST_F(MenuInput, KeyHeldSinceBeforeTheMenuIsReleasedToTheApplication) {
  EXPECT_FALSE(menu_key_down(window, VK_CONTROL));
  EXPECT_TRUE(press(VK_F10));
  EXPECT_TRUE(press(VK_DOWN));
  EXPECT_FALSE(menu_key_up(window, VK_CONTROL)) << "its key-down reached the application";
  EXPECT_TRUE(run_open());
}

TEST_F(MenuInput, MenuChangedOrWindowGoneWhileOpenIsHarmless) {
  click_bar_item(window, 0);
  DestroyMenu(menu.bar);
  EXPECT_EQ(platform::menu_bar_height(window), 0);
  EXPECT_FALSE(menu_mouse_down(window, 10, 30));
  EXPECT_FALSE(press(VK_RETURN));
  Frame frame = paint(window);
  EXPECT_EQ(frame.count(RECT{0, 0, frame.width, frame.height}, kSentinel),
            frame.width * frame.height);

  TestMenu other = make_menu();
  HWND second = make_window(other.bar);
  click_bar_item(second, 0);
  platform::menu_window_destroyed(second);
  DestroyWindow(second);
  EXPECT_FALSE(menu_mouse_down(second, 10, 5));
  EXPECT_FALSE(menu_key_down(second, VK_RETURN));
  EXPECT_FALSE(platform::menu_needs_paint(second));
  EXPECT_TRUE(posted_commands(second).empty());
}

}  // namespace
