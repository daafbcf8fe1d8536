// Menus for the menu tests: a window with a menu bar like the drawing window's, a frame to
// paint it into, and readers for what the window got.
#pragma once

#include <cstdint>
#include <vector>

#include "menu_internal.h"
#include "menu_layout.h"
#include "menu_objects.h"
#include "surface.h"
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
  kInfo2,
};
constexpr UINT kInfoId = 9;
constexpr UINT kZoomId = 20;
constexpr UINT kGridId = 21;
constexpr UINT kRulerId = 30;

struct TestMenu {
  HMENU bar{};
  HMENU run{};   // the first bar item's popup
  HMENU view{};  // the second: "&Zoom", grayed "&Grid", "&Tools" opening a third popup
  HMENU tools{};
};

TestMenu make_menu();

// The messages the test window's procedure got, in order.
struct Received {
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
};
std::vector<Received>& received();

// A visible top-level window with `menu` set (no menu when null).
HWND make_window(HMENU menu);

// Destroys every window made by make_window and every menu made by make_menu that is still
// alive, so that a test ends with nothing left over.
void cleanup();

// Takes every queued message of the window, dispatching the others, and returns the ids of the
// WM_COMMANDs among them.
std::vector<WPARAM> posted_commands(HWND window);

// The window's frame as menu_paint leaves it: the menu bar above the client rows, which hold
// kSentinel before painting.
struct Frame {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  platform::Surface surface() { return platform::Surface{pixels.data(), width, height, width}; }
  uint32_t at(int x, int y) const { return pixels[y * width + x]; }
  int count(const RECT& r, uint32_t pixel) const;
};
Frame paint(HWND window);

// Where the open popup of bar item `bar_index` lies in the window's frame.
platform::PopupLayout run_layout(HWND window, HMENU popup, int bar_index);

// Opens the bar item's popup with a click, as the user would.
void click_bar_item(HWND window, int bar_index);

// Centre of an item of the open popup.
POINT item_centre(const platform::PopupLayout& layout, int index);

}  // namespace menu_test
