// The menu module's own parts, shared by its files (menu.cpp, menu_layout.cpp, menu_paint.cpp,
// menu_track.cpp): the menu objects behind HMENU handles, where the parts of a menu go, and how
// they are painted.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gdi/font.h"
#include "win32.h"

namespace platform {

// --- The menu objects behind HMENU handles (menu.cpp) --------------------------------------------

struct MenuItem {
  UINT flags = 0;    // MF_* state and type bits, without MF_BYPOSITION
  UINT_PTR id = 0;   // command id; for an MF_POPUP item, the submenu's handle
  HMENU submenu{};   // MF_POPUP items only; may go stale when the submenu is destroyed
  std::string text;  // as given, with '&' prefixes and an optional "\t" shortcut
};

struct Menu {
  std::vector<MenuItem> items;
};

// The menu behind a live HMENU; nullptr for null, stale or other handles.
Menu* menu_object(HMENU menu);

inline bool item_is_separator(const MenuItem& item) {
  return (item.flags & MF_SEPARATOR) != 0;
}

// Grayed or disabled items are shown but cannot be chosen.
inline bool item_is_enabled(const MenuItem& item) {
  return (item.flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR)) == 0;
}

// An item's text splits at the first tab into the label and the shortcut shown at the right.
std::string_view item_label(const MenuItem& item);
std::string_view item_shortcut(const MenuItem& item);

// A label as shown: each "&x" shows x and marks it as the mnemonic (the first one counts),
// "&&" shows one '&'. mnemonic_index is the index of the mnemonic in `shown`, or -1.
struct ShownLabel {
  std::string shown;
  int mnemonic_index = -1;
};
ShownLabel shown_label(std::string_view label);

// The upper-case mnemonic letter of an item's label, or 0 when it has none.
char item_mnemonic(const MenuItem& item);

// Parts of menus_reset: no window's menu open (menu_track.cpp), the menus' font given back
// (menu_layout.cpp).
void menu_tracks_reset();
void menu_font_reset();

// --- Layout (menu_layout.cpp) --------------------------------------------------------------------

// Where the parts of a menu go, in the classic desktop's sizes: the items of a menu bar and the
// frame and items of a popup. Painting and hit-testing both work from these rectangles, so what
// the user sees is what the mouse finds. Rectangles are in frame coordinates: (0, 0) is the
// top-left of the menu bar, the client area begins below it.

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

// --- Painting (menu_paint.cpp) -------------------------------------------------------------------

// Painting of menus in the classic desktop's look, with GDI calls on a DC over a window's frame
// (menu bar on top, client area below): the system colours' brushes fill, one-pixel pens draw
// the 3D edges and marks, text goes on transparent in the menu font. Only the frame is touched:
// a popup covers the client area's picture on screen, never the client's own pixels.

// One paint on a DC. The menu font is selected and text drawn transparent while it lasts, pens
// are made as needed; at the end the DC gets back its objects, modes and position, and what the
// paint made is deleted.
class MenuPainter {
 public:
  explicit MenuPainter(HDC dc);
  ~MenuPainter();
  MenuPainter(const MenuPainter&) = delete;
  MenuPainter& operator=(const MenuPainter&) = delete;

  // The bar across the frame's top rows; `selected` (or -1) is drawn highlighted.
  void bar(int frame_width, const Menu& menu, const std::vector<RECT>& rects, int selected);

  // An open popup; `highlighted` (or -1) is the item under the mouse or the keyboard's choice.
  void popup(const Menu& menu, const PopupLayout& layout, int highlighted);

 private:
  HPEN pen(int colour);
  void fill(const RECT& rect, int colour);
  void line(int x0, int y0, int x1, int y1, int colour);
  void hline(int left, int right, int y, int colour);
  void vline(int x, int top, int bottom, int colour);
  void label(const RECT& clip, int x, int y, const ShownLabel& text, int colour);
  void grayed_label(const RECT& clip, int x, int y, const ShownLabel& text);
  void check_mark(const RECT& item, int colour);
  void submenu_arrow(const RECT& item, int colour);
  void raised_edge(const RECT& r);
  void separator(const RECT& item);
  void popup_item(const MenuItem& item, const PopupLayout& layout, const RECT& rect,
                  bool highlighted);

  HDC dc_;
  HFONT font_;
  HGDIOBJ old_font_;
  int old_mode_;
  COLORREF old_text_colour_;
  bool drew_line_ = false;  // the pen and position below are the DC's from before the first line
  HGDIOBJ old_pen_ = nullptr;
  POINT old_position_{};
  TEXTMETRICA metrics_{};
  std::vector<std::pair<int, HPEN>> pens_;  // by system colour
};

}  // namespace platform
