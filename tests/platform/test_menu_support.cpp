#include "test_menu_support.h"

#include <gtest/gtest.h>

namespace menu_test {
namespace {

LRESULT CALLBACK record_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  received().push_back(Received{message, wparam, lparam});
  return DefWindowProcA(window, message, wparam, lparam);
}

std::vector<HWND> windows_made;
std::vector<HMENU> menus_made;

}  // namespace

TestMenu make_menu() {
  TestMenu menu;
  menu.bar = CreateMenu();
  menu.run = CreatePopupMenu();
  AppendMenuA(menu.run, MF_STRING, 1, "&Animate\tCtrl+A");
  AppendMenuA(menu.run, MF_STRING, 2, "&Halt animation\tCtrl+H");
  AppendMenuA(menu.run, MF_STRING, 3, "Advance one &frame\tCtrl+F");
  AppendMenuA(menu.run, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.run, MF_CHECKED, 4, "&Logging\tCtrl+L");
  AppendMenuA(menu.run, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.run, MF_STRING, 5, "&Record Script\tCtrl+R");
  AppendMenuA(menu.run, MF_STRING, 6, "&Playback Script\tCtrl+P");
  AppendMenuA(menu.run, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.run, MF_STRING, 8, "&Quit\tCtrl+Q");
  AppendMenuA(menu.run, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.run, MF_GRAYED, kInfoId, "MAC: mac@example.com");
  AppendMenuA(menu.run, MF_GRAYED, kInfoId, "WINDOWS: windows@example.com");
  menu.view = CreatePopupMenu();
  menu.tools = CreatePopupMenu();
  AppendMenuA(menu.tools, MF_STRING, kRulerId, "&Ruler");
  AppendMenuA(menu.view, MF_STRING, kZoomId, "&Zoom");
  AppendMenuA(menu.view, MF_GRAYED, kGridId, "&Grid");
  AppendMenuA(menu.view, MF_POPUP, reinterpret_cast<UINT_PTR>(menu.tools), "&Tools");
  AppendMenuA(menu.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu.run), "&Run");
  AppendMenuA(menu.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu.view), "&View");
  menus_made.push_back(menu.bar);
  return menu;
}

std::vector<Received>& received() {
  static std::vector<Received> messages;
  return messages;
}

HWND make_window(HMENU menu) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = record_proc;
    wc.lpszClassName = "MenuTestWindow";
    registered = RegisterClassA(&wc) != 0;
  }
  HWND window = CreateWindowExA(0, "MenuTestWindow", "Menu test", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                                320, nullptr, nullptr, nullptr, nullptr);
  if (menu) SetMenu(window, menu);
  ShowWindow(window, SW_SHOW);
  windows_made.push_back(window);
  return window;
}

void cleanup() {
  // A window takes its menu with it.
  for (HWND window : windows_made) DestroyWindow(window);
  for (HMENU menu : menus_made) DestroyMenu(menu);
  windows_made.clear();
  menus_made.clear();
}

std::vector<WPARAM> posted_commands(HWND window) {
  std::vector<WPARAM> ids;
  MSG msg;
  while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_COMMAND) {
      EXPECT_EQ(msg.lParam, 0);
      ids.push_back(msg.wParam);
    } else {
      DispatchMessageA(&msg);  // a WM_PAINT stays queued until the window has painted
    }
  }
  return ids;
}

int Frame::count(const RECT& r, uint32_t pixel) const {
  int n = 0;
  for (int y = std::max<int>(0, r.top); y < std::min<int>(height, r.bottom); ++y) {
    for (int x = std::max<int>(0, r.left); x < std::min<int>(width, r.right); ++x) {
      n += at(x, y) == pixel ? 1 : 0;
    }
  }
  return n;
}

Frame paint(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  Frame frame;
  frame.width = client.right;
  frame.height = platform::menu_bar_height(window) + client.bottom;
  frame.pixels.assign(static_cast<size_t>(frame.width) * frame.height, kSentinel);
  platform::menu_paint(window, frame.surface());
  return frame;
}

platform::PopupLayout run_layout(HWND window, HMENU popup, int bar_index) {
  RECT client{};
  GetClientRect(window, &client);
  platform::Menu* bar = platform::menu_object(GetMenu(window));
  std::vector<RECT> rects = platform::bar_item_rects(*bar);
  return platform::popup_layout(*platform::menu_object(popup), rects[bar_index], client.right);
}

void click_bar_item(HWND window, int bar_index) {
  platform::Menu* bar = platform::menu_object(GetMenu(window));
  RECT r = platform::bar_item_rects(*bar)[bar_index];
  EXPECT_TRUE(platform::menu_mouse_down(window, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

POINT item_centre(const platform::PopupLayout& layout, int index) {
  const RECT& r = layout.items[index];
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace menu_test
