// Menus for the menu tests: a window with a menu bar like the drawing window's, a frame to
// paint it into, and readers for what the window got.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "user/menu.h"
#include "user/menu_parts.h"
#include "win32.h"

namespace menu_test {

constexpr uint32_t kSentinel = 0x00123456;  // the client's pixels in a test frame
constexpr uint32_t kSilver = 0xC0C0C0;
constexpr uint32_t kNavy = 0x000080;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGray = 0x808080;

// Positions in the "&Run" popup.
enum RunItem {
  kAnimate,
  kHalt,
  kFrame,
  kSeparator1,
  kLogging,
  kSeparator2,
  kRecord,
  kPlayback,
  kSeparator3,
  kQuit,
  kSeparator4,
  kInfo1,
  kInfo2
};
constexpr UINT kZoomId = 20;
constexpr UINT kGridId = 21;
constexpr UINT kRulerId = 30;

inline std::vector<HWND> windows_made;
inline std::vector<HMENU> menus_made;

struct TestMenu {
  HMENU bar{};
  HMENU run{};   // the first bar item's popup
  HMENU view{};  // the second: "&Zoom", grayed "&Grid", "&Tools" opening a third popup
  HMENU tools{};
};

inline TestMenu make_menu() {
  TestMenu m{CreateMenu(), CreatePopupMenu(), CreatePopupMenu(), CreatePopupMenu()};
  const char* run_items[] = {"&Animate\tCtrl+A",
                             "&Halt animation\tCtrl+H",
                             "Advance one &frame\tCtrl+F",
                             nullptr,
                             "&Logging\tCtrl+L",
                             nullptr,
                             "&Record Script\tCtrl+R",
                             "&Playback Script\tCtrl+P",
                             nullptr,
                             "&Quit\tCtrl+Q",
                             nullptr};
  UINT ids[] = {1, 2, 3, 0, 4, 0, 5, 6, 0, 8, 0};
  for (int i = 0; i < 11; ++i) {
    UINT flags = !run_items[i] ? MF_SEPARATOR : i == kLogging ? MF_CHECKED : MF_STRING;
    AppendMenuA(m.run, flags, ids[i], run_items[i]);
  }
  AppendMenuA(m.run, MF_GRAYED, 9, "MAC: mac@example.com");
  AppendMenuA(m.run, MF_GRAYED, 9, "WINDOWS: windows@example.com");
  AppendMenuA(m.tools, MF_STRING, kRulerId, "&Ruler");
  AppendMenuA(m.view, MF_STRING, kZoomId, "&Zoom");
  AppendMenuA(m.view, MF_GRAYED, kGridId, "&Grid");
  AppendMenuA(m.view, MF_POPUP, reinterpret_cast<UINT_PTR>(m.tools), "&Tools");
  AppendMenuA(m.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m.run), "&Run");
  AppendMenuA(m.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m.view), "&View");
  menus_made.push_back(m.bar);
  return m;
}

// The messages the test windows' procedure got, in order.
struct Received {
  UINT message;
  WPARAM wparam;
};
inline std::vector<Received> received;

// Each test starts with nothing received and nothing made (the layer itself is reset by the test
// executable's main).
class ForgetReceived : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    received.clear();
    windows_made.clear();
    menus_made.clear();
  }
};
inline const bool forget_registered =
    (::testing::UnitTest::GetInstance()->listeners().Append(new ForgetReceived), true);

inline LRESULT CALLBACK record_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  received.push_back(Received{message, wparam});
  return DefWindowProcA(window, message, wparam, lparam);
}

// A visible top-level window with `menu` set (no menu when null).
inline HWND make_window(HMENU menu) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = record_proc;
  wc.lpszClassName = "MenuTestWindow";
  if (windows_made.empty()) RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "MenuTestWindow", "Menu test", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                                320, nullptr, nullptr, nullptr, nullptr);
  if (menu) SetMenu(window, menu);
  ShowWindow(window, SW_SHOW);
  windows_made.push_back(window);
  return window;
}

// Leaves nothing behind: a window takes its menu with it, unattached menus go on their own.
inline void cleanup() {
  for (HWND window : windows_made) DestroyWindow(window);
  for (HMENU menu : menus_made) DestroyMenu(menu);
  windows_made.clear();
  menus_made.clear();
}

// Takes every queued message of the window, dispatching the others (a WM_PAINT stays queued
// until the window has painted), and returns the ids of the WM_COMMANDs among them.
inline std::vector<WPARAM> posted_commands(HWND window) {
  std::vector<WPARAM> ids;
  MSG msg;
  while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_COMMAND) DispatchMessageA(&msg);
    if (msg.message == WM_COMMAND && msg.lParam == 0) ids.push_back(msg.wParam);
  }
  return ids;
}

// The window's frame as menu_paint leaves it: the menu bar above the client rows, which hold
// kSentinel before painting.
struct Frame {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[y * width + x]; }
  int count(const RECT& r, uint32_t pixel) const {
    int n = 0;
    for (int y = std::max<int>(0, r.top); y < std::min<int>(height, r.bottom); ++y) {
      for (int x = std::max<int>(0, r.left); x < std::min<int>(width, r.right); ++x) {
        n += at(x, y) == pixel ? 1 : 0;
      }
    }
    return n;
  }
};

inline Frame paint(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  Frame frame{client.right, platform::menu_bar_height(window) + client.bottom, {}};
  frame.pixels.assign(static_cast<size_t>(frame.width) * frame.height, kSentinel);
  platform::menu_paint(window, {frame.pixels.data(), frame.width, frame.height, frame.width});
  return frame;
}

inline RECT bar_item(HWND window, int index) {
  return platform::bar_item_rects(*platform::menu_object(GetMenu(window)))[index];
}

// Where the popup of bar item `index` lies in the window's frame when open.
inline platform::PopupLayout popup_of(HWND window, HMENU popup, int index) {
  RECT client{};
  GetClientRect(window, &client);
  return platform::popup_layout(*platform::menu_object(popup), bar_item(window, index),
                                client.right);
}

// Opens the bar item's popup with a click, as the user would.
inline void click_bar_item(HWND window, int index) {
  RECT r = bar_item(window, index);
  EXPECT_TRUE(platform::menu_mouse_down(window, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

inline POINT item_centre(const platform::PopupLayout& layout, int index) {
  const RECT& r = layout.items[index];
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace menu_test
