// The menu as painted into a window's frame: bar, popup, check marks, grayed items,
// separators, mnemonics and the highlight.
#include <gtest/gtest.h>

#include "menu_paint.h"
#include "test_menu_support.h"

namespace {

using namespace menu_test;

struct MenuPaint : ::testing::Test {
  TestMenu menu = make_menu();
  HWND window = make_window(menu.bar);
  void TearDown() override { cleanup(); }

  void open_run() {
    click_bar_item(window, 0);
    ASSERT_TRUE(platform::menu_needs_paint(window));
  }
  platform::PopupLayout layout() { return run_layout(window, menu.run, 0); }

  // The check column of a popup item: left of the labels.
  RECT check_column(const platform::PopupLayout& l, int index) {
    RECT item = l.items[index];
    return RECT{item.left, item.top, l.text_x, item.bottom};
  }
};

TEST_F(MenuPaint, BarFillsTheTopRowsOnlyAndOnlyWhenTheWindowHasAMenu) {
  EXPECT_EQ(platform::menu_bar_height(window), 19);
  Frame frame = paint(window);
  RECT bar{0, 0, frame.width, 19};
  int silver = frame.count(bar, kSilver);
  int black = frame.count(bar, kBlack);
  EXPECT_EQ(silver + black, frame.width * 19);
  EXPECT_GT(black, 10);  // the titles
  EXPECT_EQ(frame.count(RECT{0, 19, frame.width, frame.height}, kSentinel),
            frame.width * (frame.height - 19));

  HWND plain = make_window(nullptr);
  EXPECT_EQ(platform::menu_bar_height(plain), 0);
  Frame untouched = paint(plain);
  EXPECT_EQ(untouched.count(RECT{0, 0, untouched.width, untouched.height}, kSentinel),
            untouched.width * untouched.height);
}

TEST_F(MenuPaint, MnemonicIsUnderlinedUnderItsLetterOnly) {
  // The same bar without the '&' differs only by the underline: one row, under the 'R'.
  HMENU plain_bar = CreateMenu();
  AppendMenuA(plain_bar, MF_STRING, 1, "Run");
  HMENU marked_bar = CreateMenu();
  AppendMenuA(marked_bar, MF_STRING, 1, "&Run");
  HWND plain = make_window(plain_bar);
  HWND marked = make_window(marked_bar);
  Frame without = paint(plain);
  Frame with = paint(marked);
  int ink_left = without.width, ink_bottom = -1;
  for (int y = 0; y < 19; ++y) {
    for (int x = 0; x < without.width; ++x) {
      if (without.at(x, y) != kBlack) continue;
      ink_left = std::min(ink_left, x);
      ink_bottom = std::max(ink_bottom, y);
    }
  }
  RECT diff{with.width, 19, -1, -1};
  for (int y = 0; y < 19; ++y) {
    for (int x = 0; x < with.width; ++x) {
      if (with.at(x, y) == without.at(x, y)) continue;
      EXPECT_EQ(with.at(x, y), kBlack);
      diff = RECT{std::min<LONG>(diff.left, x), std::min<LONG>(diff.top, y),
                  std::max<LONG>(diff.right, x + 1), std::max<LONG>(diff.bottom, y + 1)};
    }
  }
  EXPECT_EQ(diff.bottom - diff.top, 1) << "the underline is one row";
  EXPECT_GT(diff.top, ink_bottom) << "below the letters";
  EXPECT_LE(diff.top, ink_bottom + 3);
  int r_width = platform::font_text_width(platform::menu_font(), "R", 1);
  EXPECT_GE(diff.right - diff.left, r_width - 2);
  EXPECT_LE(diff.right - diff.left, r_width);
  EXPECT_LE(std::abs(diff.left - ink_left), 1) << "starting at the R";
}

TEST_F(MenuPaint, OpenPopupLiesUnderItsBarItemOverTheClientRows) {
  open_run();
  Frame frame = paint(window);
  EXPECT_FALSE(platform::menu_needs_paint(window));
  platform::PopupLayout l = layout();
  RECT run_item = platform::bar_item_rects(*platform::menu_object(menu.bar))[0];
  EXPECT_EQ(l.frame.left, run_item.left);
  EXPECT_EQ(l.frame.top, 19);
  // The open bar item is highlighted, white on navy.
  EXPECT_GT(frame.count(run_item, kNavy), 0);
  EXPECT_GT(frame.count(run_item, kWhite), 0);
  EXPECT_EQ(frame.count(run_item, kBlack), 0);
  // Raised border: light top-left, dark bottom-right; silver face inside.
  EXPECT_EQ(frame.at(l.frame.left, l.frame.top + 5), 0xDFDFDFu);
  EXPECT_EQ(frame.at(l.frame.left + 1, l.frame.top + 5), kWhite);
  EXPECT_EQ(frame.at(l.frame.right - 1, l.frame.top + 5), kBlack);
  EXPECT_EQ(frame.at(l.frame.right - 2, l.frame.top + 5), kGray);
  EXPECT_EQ(frame.at(l.frame.left + 5, l.frame.bottom - 1), kBlack);
  EXPECT_EQ(frame.at(l.frame.left + 2, l.frame.top + 2), kSilver);
  // Everything outside the popup keeps the client's pixels.
  int popup_area = (l.frame.right - l.frame.left) * (l.frame.bottom - l.frame.top);
  EXPECT_EQ(frame.count(RECT{0, 19, frame.width, frame.height}, kSentinel),
            frame.width * (frame.height - 19) - popup_area);
}

TEST_F(MenuPaint, CheckMarkOnlyOnCheckedItemsAndFollowsCheckMenuItem) {
  open_run();
  platform::PopupLayout l = layout();
  auto checked_rows = [&]() {
    Frame frame = paint(window);
    std::vector<int> rows;
    for (int i = 0; i < static_cast<int>(l.items.size()); ++i) {
      if (frame.count(check_column(l, i), kBlack) > 0) rows.push_back(i);
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
  open_run();
  platform::PopupLayout l = layout();
  Frame frame = paint(window);
  RECT info = l.items[kInfo1];
  EXPECT_GT(frame.count(info, kGray), 10);
  EXPECT_GT(frame.count(info, kWhite), 10);
  EXPECT_EQ(frame.count(info, kBlack), 0);
  RECT quit = l.items[kQuit];
  EXPECT_GT(frame.count(quit, kBlack), 10);
  EXPECT_EQ(frame.count(quit, kGray), 0);
  // A separator: a gray line with a white one under it, across the item, nothing else.
  RECT separator = l.items[kSeparator2];
  int width = separator.right - separator.left;
  int gray_row = -1;
  for (int y = separator.top; y < separator.bottom; ++y) {
    if (frame.count(RECT{separator.left, y, separator.right, y + 1}, kGray) >= width - 2) {
      gray_row = y;
    }
  }
  ASSERT_GE(gray_row, separator.top);
  EXPECT_GE(frame.count(RECT{separator.left, gray_row + 1, separator.right, gray_row + 2}, kWhite),
            width - 2);
  EXPECT_EQ(frame.count(separator, kGray) + frame.count(separator, kWhite) +
                frame.count(separator, kSilver),
            width * (separator.bottom - separator.top));
}

TEST_F(MenuPaint, HighlightFollowsTheMouseButNotOntoSeparators) {
  open_run();
  platform::PopupLayout l = layout();
  POINT halt = item_centre(l, kHalt);
  EXPECT_TRUE(platform::menu_mouse_move(window, halt.x, halt.y));
  EXPECT_TRUE(platform::menu_needs_paint(window));
  Frame frame = paint(window);
  RECT item = l.items[kHalt];
  int area = (item.right - item.left) * (item.bottom - item.top);
  EXPECT_EQ(frame.count(item, kNavy) + frame.count(item, kWhite), area);
  EXPECT_GT(frame.count(item, kWhite), 10);
  EXPECT_EQ(frame.count(l.items[kAnimate], kNavy), 0);

  POINT separator = item_centre(l, kSeparator1);
  platform::menu_mouse_move(window, separator.x, separator.y);
  frame = paint(window);
  for (size_t i = 0; i < l.items.size(); ++i) EXPECT_EQ(frame.count(l.items[i], kNavy), 0);

  // Windows 2000 shows the highlight on a grayed item too, with its text kept gray.
  POINT info = item_centre(l, kInfo2);
  platform::menu_mouse_move(window, info.x, info.y);
  frame = paint(window);
  EXPECT_GT(frame.count(l.items[kInfo2], kNavy), 0);
  EXPECT_GT(frame.count(l.items[kInfo2], kGray), 10);
  EXPECT_EQ(frame.count(l.items[kInfo2], kWhite), 0);
}

TEST_F(MenuPaint, PopupMovesLeftToStayInsideANarrowFrame) {
  RECT client{};
  GetClientRect(window, &client);
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 1, "A rather long item text that needs room\tCtrl+Shift+F12");
  AppendMenuA(bar, MF_STRING, 2, "&A very long first title so that the second sits far right");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Last");
  HWND narrow = make_window(bar);
  click_bar_item(narrow, 1);
  platform::PopupLayout l = run_layout(narrow, popup, 1);
  EXPECT_EQ(l.frame.right, client.right);
  Frame frame = paint(narrow);
  EXPECT_EQ(frame.at(frame.width - 1, l.frame.top + 3), kBlack);
}

}  // namespace
