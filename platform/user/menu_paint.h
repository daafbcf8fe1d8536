// Painting of menus in the classic desktop's look, with GDI calls on a DC over a window's frame
// (menu bar on top, client area below): the system colours' brushes fill, one-pixel pens draw
// the 3D edges and marks, text goes on transparent in the menu font. Only the frame is touched:
// a popup covers the client area's picture on screen, never the client's own pixels.
#pragma once

#include <utility>
#include <vector>

#include "menu_layout.h"

namespace platform {

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
