// The menu loop ends the moment its menu goes, with WM_EXITMENULOOP then and not at the next
// input; and menu painting goes through a DC that it leaves as it found it.
#include "base/handles.h"
#include "platform/gdi/test_canvas.h"
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

TEST_F(MenuLoop, PaintingThroughADcDrawsTheFrameAndLeavesTheDcAsItWas) {
  click_bar_item(window, 0);
  platform::PopupLayout l = popup_of(window, menu.run, 0);
  POINT logging = item_centre(l, kLogging);
  platform::menu_mouse_move(window, logging.x, logging.y);
  Frame frame = paint(window);

  gdi_test::Canvas canvas(frame.width, l.frame.bottom);
  gdi_test::Tools tools(canvas.dc, 3, gdi_test::kRed, gdi_test::kBlue);
  HGDIOBJ font = GetStockObject(ANSI_FIXED_FONT);
  SelectObject(canvas.dc, font);
  MoveToEx(canvas.dc, 7, 9, nullptr);
  SetTextColor(canvas.dc, gdi_test::kGreen);
  using platform::handle_live_count, platform::HandleKind;
  auto objects = [] {
    return handle_live_count(HandleKind::dc) + handle_live_count(HandleKind::pen) +
           handle_live_count(HandleKind::brush) + handle_live_count(HandleKind::font);
  };
  int before = objects();
  platform::menu_paint(window, canvas.dc, frame.width);
  EXPECT_EQ(objects(), before);
  POINT position{};
  MoveToEx(canvas.dc, 0, 0, &position);
  EXPECT_EQ(position.x, 7);
  EXPECT_EQ(position.y, 9);
  EXPECT_EQ(GetTextColor(canvas.dc), gdi_test::kGreen);
  EXPECT_EQ(GetBkMode(canvas.dc), OPAQUE);
  EXPECT_EQ(SelectObject(canvas.dc, tools.pen), tools.pen);
  EXPECT_EQ(SelectObject(canvas.dc, font), font);
  int differing = 0;
  for (int y = 0; y < l.frame.bottom; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      bool menu = y < 19 || platform::rect_contains(l.frame, x, y);
      differing += menu && canvas.at(x, y) != platform::colorref_from_pixel(frame.at(x, y));
    }
  }
  EXPECT_EQ(differing, 0);
}

TEST_F(MenuLoop, APopupWiderThanTheWindowIsCutAtItsEdge) {
  TestMenu wide = make_menu();
  AppendMenuA(wide.bar, MF_STRING, 50, "A &title past the right edge");
  HWND narrow = CreateWindowExA(0, "MenuTestWindow", "Narrow", WS_OVERLAPPEDWINDOW, 0, 0, 90, 200,
                                nullptr, wide.bar, nullptr, nullptr);
  windows_made.push_back(narrow);
  click_bar_item(narrow, 0);
  Frame frame = paint(narrow);
  platform::PopupLayout l = popup_of(narrow, wide.run, 0);
  ASSERT_GT(l.frame.right, frame.width);
  EXPECT_EQ(frame.at(0, 30), 0xDFDFDFu) << "its left edge";
  EXPECT_EQ(frame.at(frame.width - 1, l.frame.top + 1), kWhite) << "its inner top edge";
}

}  // namespace
