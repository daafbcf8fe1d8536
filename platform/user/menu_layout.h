// Where the parts of a menu go, in the classic desktop's sizes: the items of a menu bar and the
// frame and items of a popup. Painting and hit-testing both work from these rectangles, so what
// the user sees is what the mouse finds. Rectangles are in frame coordinates: (0, 0) is the
// top-left of the menu bar, the client area begins below it.
#pragma once

#include <string_view>
#include <vector>

#include "gdi/font.h"
#include "menu_objects.h"

namespace platform {

// SM_CYMENU of the classic desktop.
constexpr int kMenuBarHeight = 19;

// The face menus are drawn in: a proportional UI face at 8 points (11 pixels to the em).
const Font* menu_font();

// The same face as an HFONT, for one paint; the caller deletes it.
HFONT menu_font_create();

// The width of menu text in that face: what lays items out and centres and underlines labels.
int menu_text_width(std::string_view text);

// The rectangles of the bar's items, left to right from the bar's left edge.
std::vector<RECT> bar_item_rects(const Menu& bar);

struct PopupLayout {
  RECT frame{};             // the whole popup, its 3D border included
  std::vector<RECT> items;  // one per item, full inner width
  int text_x = 0;           // where labels begin
  int shortcut_x = 0;       // where shortcuts begin: one column for all items
};

// The popup that opens under a bar item, moved left when it would leave the frame's right
// edge. Parts below the frame's bottom are cut off when painted and cannot be clicked.
PopupLayout popup_layout(const Menu& popup, const RECT& bar_item, int frame_width);

// Index of the item whose rectangle holds the point, or -1.
int item_at(const std::vector<RECT>& rects, int x, int y);

inline bool rect_contains(const RECT& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

}  // namespace platform
