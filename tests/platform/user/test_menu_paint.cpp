// The menu as painted into a window's frame: bar, popup, check marks, grayed items,
// separators, mnemonics and the highlight.
#include "test_menu_support.h"

namespace {

using namespace menu_test;

struct MenuPaint : ::testing::Test {
  TestMenu menu = make_menu();
  HWND window = make_window(menu.bar);
  void TearDown() override { cleanup(); }

  platform::PopupLayout open_run() {
    click_bar_item(window, 0);
    EXPECT_TRUE(platform::menu_needs_paint(window));
    return popup_of(window, menu.run, 0);
  }
};

TEST_F(MenuPaint, BarFillsTheTopRowsOnlyAndOnlyWhenTheWindowHasAMenu) {
  EXPECT_EQ(platform::menu_bar_height(window), 19);
  Frame frame = paint(window);
  RECT bar{0, 0, frame.width, 19};
  EXPECT_EQ(frame.count(bar, kSilver) + frame.count(bar, kBlack), frame.width * 19);
  EXPECT_GT(frame.count(bar, kBlack), 10);  // the titles
  EXPECT_EQ(frame.count(RECT{0, 19, frame.width, frame.height}, kSentinel),
            frame.width * (frame.height - 19));
  HWND plain = make_window(nullptr);
  EXPECT_EQ(platform::menu_bar_height(plain), 0);
  Frame untouched = paint(plain);
  EXPECT_EQ(untouched.count(RECT{0, 0, untouched.width, untouched.height}, kSentinel),
            untouched.width * untouched.height);
}

TEST_F(MenuPaint, MnemonicIsUnderlinedUnderItsLetterOnly) {
  // The same title without the '&' differs only by the underline: one row, under the 'R'.
  auto title_frame = [&](const char* title) {
    HMENU bar = CreateMenu();
    menus_made.push_back(bar);
    AppendMenuA(bar, MF_STRING, 1, title);
    SetMenu(window, bar);
    return paint(window);
  };
  Frame without = title_frame("Run");
  Frame with = title_frame("&Run");
  int ink_left = with.width, ink_bottom = -1;
  RECT diff{with.width, 19, -1, -1};
  for (int y = 0; y < 19; ++y) {
    for (int x = 0; x < with.width; ++x) {
      if (without.at(x, y) == kBlack) {
        ink_left = std::min(ink_left, x);
        ink_bottom = std::max(ink_bottom, y);
      }
      if (with.at(x, y) == without.at(x, y)) continue;
      EXPECT_EQ(with.at(x, y), kBlack);
      diff = RECT{std::min<LONG>(diff.left, x), std::min<LONG>(diff.top, y),
                  std::max<LONG>(diff.right, x + 1), std::max<LONG>(diff.bottom, y + 1)};
    }
  }
  EXPECT_EQ(diff.bottom - diff.top, 1);
  EXPECT_TRUE(diff.top > ink_bottom && diff.top <= ink_bottom + 3) << "just below the letters";
  int r_width = platform::font_text_width(platform::menu_font(), "R", 1);
  EXPECT_TRUE(diff.right - diff.left >= r_width - 2 && diff.right - diff.left <= r_width);
  EXPECT_LE(std::abs(diff.left - ink_left), 1) << "starting at the R";
}

TEST_F(MenuPaint, OpenPopupHasARaisedBorderUnderItsHighlightedBarItem) {
  platform::PopupLayout l = open_run();
  Frame frame = paint(window);
  EXPECT_FALSE(platform::menu_needs_paint(window));
  RECT run = bar_item(window, 0);
  EXPECT_EQ(l.frame.left, run.left);
  EXPECT_EQ(l.frame.top, 19);
  EXPECT_GT(frame.count(run, kNavy), 0);
  EXPECT_GT(frame.count(run, kWhite), 0);
  EXPECT_EQ(frame.count(run, kBlack), 0);
  EXPECT_EQ(frame.at(l.frame.left, l.frame.top + 5), 0xDFDFDFu);
  EXPECT_EQ(frame.at(l.frame.left + 1, l.frame.top + 5), kWhite);
  EXPECT_EQ(frame.at(l.frame.right - 1, l.frame.top + 5), kBlack);
  EXPECT_EQ(frame.at(l.frame.right - 2, l.frame.top + 5), kGray);
  EXPECT_EQ(frame.at(l.frame.left + 5, l.frame.bottom - 1), kBlack);
  EXPECT_EQ(frame.at(l.frame.left + 2, l.frame.top + 2), kSilver);
  int popup_area = (l.frame.right - l.frame.left) * (l.frame.bottom - l.frame.top);
  EXPECT_EQ(frame.count(RECT{0, 19, frame.width, frame.height}, kSentinel),
            frame.width * (frame.height - 19) - popup_area);
}

TEST_F(MenuPaint, CheckMarkOnlyOnCheckedItemsAndFollowsCheckMenuItem) {
  platform::PopupLayout l = open_run();
  auto checked_rows = [&]() {
    Frame frame = paint(window);
    std::vector<int> rows;
    for (int i = 0; i < static_cast<int>(l.items.size()); ++i) {
      RECT column{l.items[i].left, l.items[i].top, l.text_x, l.items[i].bottom};
      if (frame.count(column, kBlack) > 0) rows.push_back(i);
    }
    return rows;
  };
  EXPECT_EQ(checked_rows(), std::vector<int>{kLogging});
  CheckMenuItem(menu.bar, 4, MF_UNCHECKED);
  CheckMenuItem(menu.bar, 5, MF_CHECKED);
  CheckMenuItem(menu.bar, 6, MF_CHECKED);
  EXPECT_EQ(checked_rows(), (std::vector<int>{kRecord, kPlayback}));
}

TEST_F(MenuPaint, GrayedItemsAreEmbossedGrayAndSeparatorsEtched) {
  platform::PopupLayout l = open_run();
  Frame frame = paint(window);
  RECT info = l.items[kInfo1];
  EXPECT_GT(frame.count(info, kGray), 10);
  EXPECT_GT(frame.count(info, kWhite), 10);
  EXPECT_EQ(frame.count(info, kBlack), 0);
  EXPECT_GT(frame.count(l.items[kQuit], kBlack), 10);
  EXPECT_EQ(frame.count(l.items[kQuit], kGray), 0);
  // A separator: a gray line with a white one under it, across the item, nothing else.
  RECT sep = l.items[kSeparator2];
  int width = sep.right - sep.left;
  int gray_row = -1;
  for (int y = sep.top; y < sep.bottom; ++y) {
    if (frame.count(RECT{sep.left, y, sep.right, y + 1}, kGray) >= width - 2) gray_row = y;
  }
  ASSERT_GE(gray_row, sep.top);
  EXPECT_GE(frame.count(RECT{sep.left, gray_row + 1, sep.right, gray_row + 2}, kWhite), width - 2);
  EXPECT_EQ(frame.count(sep, kGray) + frame.count(sep, kWhite) + frame.count(sep, kSilver),
            width * (sep.bottom - sep.top));
}

TEST_F(MenuPaint, HighlightFollowsTheMouseButNotOntoSeparators) {
  platform::PopupLayout l = open_run();
  auto navy_items = [&]() {
    Frame frame = paint(window);
    std::vector<int> items;
    for (int i = 0; i < static_cast<int>(l.items.size()); ++i) {
      if (frame.count(l.items[i], kNavy) > 0) items.push_back(i);
    }
    return items;
  };
  POINT halt = item_centre(l, kHalt);
  EXPECT_TRUE(platform::menu_mouse_move(window, halt.x, halt.y));
  EXPECT_EQ(navy_items(), std::vector<int>{kHalt});
  Frame frame = paint(window);
  RECT item = l.items[kHalt];
  EXPECT_EQ(frame.count(item, kNavy) + frame.count(item, kWhite),
            (item.right - item.left) * (item.bottom - item.top));
  POINT separator = item_centre(l, kSeparator1);
  platform::menu_mouse_move(window, separator.x, separator.y);
  EXPECT_TRUE(navy_items().empty());
  // As in Windows 2000 a grayed item shows the highlight too, its text still gray.
  POINT info = item_centre(l, kInfo2);
  platform::menu_mouse_move(window, info.x, info.y);
  EXPECT_EQ(navy_items(), std::vector<int>{kInfo2});
  frame = paint(window);
  EXPECT_GT(frame.count(l.items[kInfo2], kGray), 10);
  EXPECT_EQ(frame.count(l.items[kInfo2], kWhite), 0);
}

TEST_F(MenuPaint, PopupMovesLeftToStayInsideTheFrame) {
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 1, "A rather long item text that needs room\tCtrl+Shift+F12");
  AppendMenuA(GetMenu(window), MF_STRING, 2, "&A long title so that the next sits far right");
  AppendMenuA(GetMenu(window), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Last");
  click_bar_item(window, 3);
  platform::PopupLayout l = popup_of(window, popup, 3);
  Frame frame = paint(window);
  EXPECT_LT(l.frame.left, bar_item(window, 3).left);
  EXPECT_EQ(l.frame.right, frame.width);
  EXPECT_EQ(frame.at(frame.width - 1, l.frame.top + 3), kBlack);
}

}  // namespace
