// USER32's part of drawing: the system colours of the classic desktop, their brushes, and
// FillRect, which paints with a brush through the DC without leaving it selected.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "gdi/for_user.h"
#include "win32.h"
#include "window_internal.h"

namespace platform {
namespace {

// The "Windows Standard" scheme, by COLOR_* index up to COLOR_INFOBK.
constexpr COLORREF kSystemColours[] = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(223, 223, 223),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
};
constexpr int kSystemColourCount = sizeof kSystemColours / sizeof kSystemColours[0];

// Made on first use and kept: programs use these brushes without ever deleting them.
HBRUSH system_brushes[kSystemColourCount];

bool is_system_colour(int index) {
  return index >= 0 && index < kSystemColourCount;
}

// Far beyond any surface, and near enough that a side minus the other fits in an int.
int within_reach(LONG coordinate) {
  return std::clamp<int>(coordinate, INT_MIN / 2, INT_MAX / 2);
}

}  // namespace
}  // namespace platform

using namespace platform;

DWORD WINAPI GetSysColor(int index) {
  return is_system_colour(index) ? kSystemColours[index] : 0;
}

namespace platform {

void system_brushes_reset() {
  for (HBRUSH& brush : system_brushes) brush = nullptr;
}

}  // namespace platform

HBRUSH WINAPI GetSysColorBrush(int index) {
  if (!is_system_colour(index)) return nullptr;
  HBRUSH& brush = system_brushes[index];
  if (!brush) brush = brush_create_permanent(kSystemColours[index]);
  return brush;
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!rect) return 0;
  // A system colour index plus one stands for that colour's brush, as in a window class.
  const uintptr_t value = reinterpret_cast<uintptr_t>(brush);
  if (value >= 1 && value <= kSystemColourCount)
    brush = GetSysColorBrush(static_cast<int>(value - 1));
  HGDIOBJ previous = SelectObject(dc, brush);
  if (!previous) return 0;
  const int left = within_reach(rect->left);
  const int top = within_reach(rect->top);
  const BOOL done = PatBlt(dc, left, top, within_reach(rect->right) - left,
                           within_reach(rect->bottom) - top, PATCOPY);
  SelectObject(dc, previous);
  return done;
}
