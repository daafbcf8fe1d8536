// Menu objects: what AppendMenuA keeps, and what CheckMenuItem and GetMenuState find.
#include "base/handles.h"
#include "test_menu_support.h"
#include "user/menu_parts.h"

namespace {

using namespace menu_test;

constexpr DWORD kMissing = static_cast<DWORD>(-1);

struct MenuItems : ::testing::Test {
  TestMenu menu = make_menu();
  void TearDown() override { cleanup(); }
};

UINT_PTR as_id(HMENU menu) {
  return reinterpret_cast<UINT_PTR>(menu);
}

TEST_F(MenuItems, GetMenuStateReportsFlagsAndSubmenuSizes) {
  EXPECT_EQ(GetMenuState(menu.run, kAnimate, MF_BYPOSITION), MF_STRING);
  EXPECT_EQ(GetMenuState(menu.run, kSeparator1, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(menu.run, 4, MF_BYCOMMAND), MF_CHECKED);
  EXPECT_EQ(GetMenuState(menu.run, kInfo1, MF_BYPOSITION), MF_GRAYED);
  // A popup item: its submenu's item count in the high byte, its flags in the low byte.
  EXPECT_EQ(GetMenuState(menu.bar, 0, MF_BYPOSITION), (13u << 8) | MF_POPUP);
  EXPECT_EQ(GetMenuState(menu.bar, 2, MF_BYPOSITION), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuState(menu.run, 77, MF_BYCOMMAND), static_cast<UINT>(-1));
  // A string item without a string becomes a separator.
  EXPECT_TRUE(AppendMenuA(menu.run, MF_STRING, 5, nullptr));
  EXPECT_EQ(GetMenuState(menu.run, 13, MF_BYPOSITION), MF_SEPARATOR);
}

TEST_F(MenuItems, CheckMenuItemReturnsThePreviousStateAndSearchesSubmenus) {
  EXPECT_EQ(CheckMenuItem(menu.bar, 4, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(GetMenuState(menu.run, 4, MF_BYCOMMAND), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(menu.bar, 4, MF_UNCHECKED), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(menu.bar, kRulerId, MF_CHECKED), MF_UNCHECKED);  // two levels down
  EXPECT_EQ(GetMenuState(menu.tools, 0, MF_BYPOSITION), MF_CHECKED);
  EXPECT_EQ(CheckMenuItem(menu.run, kPlayback, MF_BYPOSITION | MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(GetMenuState(menu.run, 6, MF_BYCOMMAND), MF_CHECKED);
  EXPECT_EQ(CheckMenuItem(menu.view, kGridId, MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(GetMenuState(menu.view, kGridId, MF_BYCOMMAND), MF_GRAYED | MF_CHECKED);
  // Missing items and bad handles change nothing.
  EXPECT_EQ(CheckMenuItem(menu.run, kGridId, MF_CHECKED), kMissing);  // not below Run
  EXPECT_EQ(CheckMenuItem(menu.bar, 77, MF_CHECKED), kMissing);
  EXPECT_EQ(CheckMenuItem(menu.run, 13, MF_BYPOSITION | MF_CHECKED), kMissing);
  EXPECT_EQ(CheckMenuItem(nullptr, 1, MF_CHECKED), kMissing);
  EXPECT_FALSE(AppendMenuA(nullptr, MF_STRING, 1, "x"));
  EXPECT_FALSE(AppendMenuA(menu.bar, MF_POPUP, 12345, "&Bad"));  // not a menu
  for (UINT position = 0; position < 13; ++position) {
    EXPECT_EQ(GetMenuState(menu.run, position, MF_BYPOSITION) & MF_CHECKED,
              position == kPlayback ? MF_CHECKED : 0u);
  }
}

TEST_F(MenuItems, DestroyMenuTakesSubmenusAndLeavesStaleHandles) {
  EXPECT_EQ(platform::handle_live_count(platform::HandleKind::menu), 4);
  EXPECT_TRUE(DestroyMenu(menu.bar));
  EXPECT_EQ(platform::handle_live_count(platform::HandleKind::menu), 0);
  EXPECT_FALSE(DestroyMenu(menu.run));
  EXPECT_EQ(GetMenuState(menu.tools, 0, MF_BYPOSITION), static_cast<UINT>(-1));
  EXPECT_EQ(CheckMenuItem(menu.run, 4, MF_CHECKED), kMissing);
  EXPECT_FALSE(AppendMenuA(menu.view, MF_STRING, 1, "&Late"));

  // A popup shared by two bars is destroyed once; the other bar's item then opens nothing.
  HMENU shared = CreatePopupMenu();
  HMENU first = CreateMenu();
  HMENU second = CreateMenu();
  ASSERT_TRUE(AppendMenuA(first, MF_POPUP, as_id(shared), "&A"));
  ASSERT_TRUE(AppendMenuA(second, MF_POPUP, as_id(shared), "&B"));
  EXPECT_TRUE(DestroyMenu(first));
  EXPECT_EQ(GetMenuState(second, 0, MF_BYPOSITION), static_cast<UINT>(MF_POPUP));
  EXPECT_TRUE(DestroyMenu(second));
  EXPECT_EQ(platform::handle_live_count(platform::HandleKind::menu), 0);
}

TEST_F(MenuItems, AMenuCannotOpenIntoItself) {
  EXPECT_FALSE(AppendMenuA(menu.bar, MF_POPUP, as_id(menu.bar), "&Self"));
  EXPECT_FALSE(AppendMenuA(menu.tools, MF_POPUP, as_id(menu.bar), "&Outer"));
  EXPECT_EQ(CheckMenuItem(menu.bar, 99, MF_CHECKED), kMissing);  // searches still end
}

TEST_F(MenuItems, LabelsShowMnemonicsAndLiteralAmpersands) {
  platform::ShownLabel label = platform::shown_label("Salt && &pepper &X");
  EXPECT_EQ(label.shown, "Salt & pepper X");
  EXPECT_EQ(label.mnemonic_index, 7);
  EXPECT_EQ(platform::shown_label("Trailing&").mnemonic_index, -1);
  platform::MenuItem item{0, 5, nullptr, "&record Script\tCtrl+R"};
  EXPECT_EQ(platform::item_shortcut(item), "Ctrl+R");
  EXPECT_EQ(platform::item_mnemonic(item), 'R');
}

}  // namespace
