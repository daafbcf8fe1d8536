// Menu objects: what AppendMenuA keeps, and what CheckMenuItem and GetMenuState find.
#include <gtest/gtest.h>

#include "handles.h"
#include "menu_objects.h"
#include "test_menu_support.h"

namespace {

using menu_test::make_menu;
using menu_test::TestMenu;

struct MenuItems : ::testing::Test {
  void TearDown() override { menu_test::cleanup(); }
};

constexpr DWORD kMissing = static_cast<DWORD>(-1);

UINT_PTR as_id(HMENU menu) {
  return reinterpret_cast<UINT_PTR>(menu);
}

TEST_F(MenuItems, AppendKeepsFlagsAndGetMenuStateReportsThem) {
  TestMenu menu = make_menu();
  EXPECT_EQ(GetMenuState(menu.run, menu_test::kAnimate, MF_BYPOSITION), MF_STRING);
  EXPECT_EQ(GetMenuState(menu.run, menu_test::kSeparator1, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(menu.run, 4, MF_BYCOMMAND), MF_CHECKED);
  EXPECT_EQ(GetMenuState(menu.run, menu_test::kInfo1, MF_BYPOSITION), MF_GRAYED);
  // A popup item: its submenu's item count in the high byte, its flags in the low byte.
  EXPECT_EQ(GetMenuState(menu.bar, 0, MF_BYPOSITION), (13u << 8) | MF_POPUP);
  EXPECT_EQ(GetMenuState(menu.bar, 2, MF_BYPOSITION), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuState(menu.run, 77, MF_BYCOMMAND), static_cast<UINT>(-1));

  // A string item without a string becomes a separator; the text of a separator is ignored.
  HMENU popup = CreatePopupMenu();
  EXPECT_TRUE(AppendMenuA(popup, MF_STRING, 5, nullptr));
  EXPECT_TRUE(AppendMenuA(popup, MF_SEPARATOR, 0, "ignored"));
  EXPECT_EQ(GetMenuState(popup, 0, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(platform::menu_object(popup)->items[1].text, "");
  DestroyMenu(popup);
}

TEST_F(MenuItems, CheckMenuItemReturnsThePreviousStateAndFindsItemsInSubmenus) {
  TestMenu menu = make_menu();
  // By command from the bar: Win32 searches the popups that open from it.
  EXPECT_EQ(CheckMenuItem(menu.bar, 4, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(GetMenuState(menu.run, 4, MF_BYCOMMAND), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(menu.bar, 4, MF_BYCOMMAND | MF_UNCHECKED), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(menu.run, 5, MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(GetMenuState(menu.run, menu_test::kRecord, MF_BYPOSITION), MF_CHECKED);
  // Two levels down, and by position in the popup itself.
  EXPECT_EQ(CheckMenuItem(menu.bar, menu_test::kRulerId, MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(GetMenuState(menu.tools, 0, MF_BYPOSITION), MF_CHECKED);
  EXPECT_EQ(CheckMenuItem(menu.run, menu_test::kPlayback, MF_BYPOSITION | MF_CHECKED),
            MF_UNCHECKED);
  EXPECT_EQ(GetMenuState(menu.run, 6, MF_BYCOMMAND), MF_CHECKED);
  // Checking keeps the other flags.
  EXPECT_EQ(CheckMenuItem(menu.run, menu_test::kGridId, MF_CHECKED), kMissing);
  EXPECT_EQ(CheckMenuItem(menu.view, menu_test::kGridId, MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(GetMenuState(menu.view, menu_test::kGridId, MF_BYCOMMAND), MF_GRAYED | MF_CHECKED);
}

TEST_F(MenuItems, MissingItemsAndBadHandlesFailWithoutChangingAnything) {
  TestMenu menu = make_menu();
  EXPECT_EQ(CheckMenuItem(menu.bar, 77, MF_CHECKED), kMissing);
  EXPECT_EQ(CheckMenuItem(menu.run, 13, MF_BYPOSITION | MF_CHECKED), kMissing);
  EXPECT_EQ(CheckMenuItem(nullptr, 1, MF_CHECKED), kMissing);
  EXPECT_FALSE(AppendMenuA(nullptr, MF_STRING, 1, "x"));
  EXPECT_FALSE(DestroyMenu(nullptr));
  // A popup item needs a live menu as its submenu.
  EXPECT_FALSE(AppendMenuA(menu.bar, MF_POPUP, 12345, "&Bad"));
  EXPECT_EQ(platform::menu_object(menu.bar)->items.size(), 2u);
  for (UINT position = 0; position < 13; ++position) {
    EXPECT_EQ(GetMenuState(menu.run, position, MF_BYPOSITION) & MF_CHECKED,
              position == menu_test::kLogging ? MF_CHECKED : 0u);
  }
}

TEST_F(MenuItems, DestroyMenuDestroysSubmenusAndLeavesStaleHandles) {
  int before = platform::handle_live_count(platform::HandleKind::menu);
  TestMenu menu = make_menu();
  EXPECT_EQ(platform::handle_live_count(platform::HandleKind::menu), before + 4);
  EXPECT_TRUE(DestroyMenu(menu.bar));
  EXPECT_EQ(platform::handle_live_count(platform::HandleKind::menu), before);
  EXPECT_FALSE(DestroyMenu(menu.run));
  EXPECT_EQ(GetMenuState(menu.tools, 0, MF_BYPOSITION), static_cast<UINT>(-1));
  EXPECT_EQ(CheckMenuItem(menu.run, 4, MF_CHECKED), kMissing);
  EXPECT_FALSE(AppendMenuA(menu.view, MF_STRING, 1, "&Late"));
}

TEST_F(MenuItems, SubmenusSharedOrDestroyedFirstAreSafe) {
  // One popup in two bars: the second destruction finds it gone.
  HMENU shared = CreatePopupMenu();
  AppendMenuA(shared, MF_STRING, 1, "&One");
  HMENU first = CreateMenu();
  HMENU second = CreateMenu();
  ASSERT_TRUE(AppendMenuA(first, MF_POPUP, as_id(shared), "&A"));
  ASSERT_TRUE(AppendMenuA(second, MF_POPUP, as_id(shared), "&B"));
  EXPECT_TRUE(DestroyMenu(first));
  EXPECT_EQ(GetMenuState(second, 0, MF_BYPOSITION), static_cast<UINT>(MF_POPUP));
  EXPECT_EQ(CheckMenuItem(second, 1, MF_CHECKED), kMissing);
  EXPECT_TRUE(DestroyMenu(second));
  EXPECT_EQ(platform::handle_live_count(platform::HandleKind::menu), 0);
}

TEST_F(MenuItems, AMenuCannotOpenIntoItself) {
  HMENU outer = CreateMenu();
  HMENU inner = CreatePopupMenu();
  EXPECT_FALSE(AppendMenuA(outer, MF_POPUP, as_id(outer), "&Self"));
  ASSERT_TRUE(AppendMenuA(outer, MF_POPUP, as_id(inner), "&Inner"));
  EXPECT_FALSE(AppendMenuA(inner, MF_POPUP, as_id(outer), "&Outer"));
  // Searches and destruction still end.
  EXPECT_EQ(CheckMenuItem(outer, 99, MF_CHECKED), kMissing);
  EXPECT_TRUE(DestroyMenu(outer));
  EXPECT_EQ(platform::handle_live_count(platform::HandleKind::menu), 0);
}

TEST_F(MenuItems, LabelsShowMnemonicsAndLiteralAmpersands) {
  platform::ShownLabel label = platform::shown_label("Advance one &frame");
  EXPECT_EQ(label.shown, "Advance one frame");
  EXPECT_EQ(label.mnemonic_index, 12);
  label = platform::shown_label("Salt && &Pepper &X");
  EXPECT_EQ(label.shown, "Salt & Pepper X");
  EXPECT_EQ(label.mnemonic_index, 7);
  label = platform::shown_label("Trailing&");
  EXPECT_EQ(label.shown, "Trailing&");
  EXPECT_EQ(label.mnemonic_index, -1);

  platform::MenuItem item;
  item.text = "&record Script\tCtrl+R";
  EXPECT_EQ(platform::item_label(item), "&record Script");
  EXPECT_EQ(platform::item_shortcut(item), "Ctrl+R");
  EXPECT_EQ(platform::item_mnemonic(item), 'R');
}

}  // namespace
