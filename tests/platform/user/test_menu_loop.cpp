// The menu loop ends the moment its menu goes, with WM_EXITMENULOOP then and not at the next
// input.
#include "test_menu_support.h"

namespace {

using namespace menu_test;

struct MenuLoop : ::testing::Test {
  TestMenu menu = make_menu();
  HWND window = make_window(menu.bar);
  size_t first = received.size();
  void TearDown() override { cleanup(); }

  size_t exits() const {
    return std::count_if(received.begin() + static_cast<ptrdiff_t>(first), received.end(),
                         [](const Received& r) { return r.message == WM_EXITMENULOOP; });
  }
};

TEST_F(MenuLoop, EndsAtOnceWhenItsBarIsReplacedOrDestroyedOrItsPopupDestroyed) {
  click_bar_item(window, 0);
  size_t seen = received.size();
  paint(window);
  EXPECT_TRUE(platform::menu_covers_client(window));
  EXPECT_EQ(received.size(), seen) << "what presenting asks sends nothing";

  TestMenu second = make_menu();
  SetMenu(window, second.bar);
  EXPECT_EQ(exits(), 1u);
  EXPECT_FALSE(platform::menu_covers_client(window));
  EXPECT_TRUE(platform::menu_needs_paint(window));

  click_bar_item(window, 1);
  DestroyMenu(second.view);
  EXPECT_EQ(exits(), 2u) << "the open popup destroyed";
  EXPECT_FALSE(platform::menu_covers_client(window));

  EXPECT_TRUE(platform::menu_key_down(window, VK_F10));
  platform::menu_key_up(window, VK_F10);
  SetMenu(window, nullptr);
  EXPECT_EQ(exits(), 3u) << "the selected bar taken away";

  SetMenu(window, menu.bar);
  click_bar_item(window, 0);
  DestroyMenu(menu.bar);
  EXPECT_EQ(exits(), 4u) << "the bar destroyed";
  EXPECT_FALSE(platform::menu_key_down(window, VK_ESCAPE));
  EXPECT_EQ(exits(), 4u);
}

}  // namespace
