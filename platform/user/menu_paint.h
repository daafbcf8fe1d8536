// Painting of menus in the classic desktop's look, into a window's frame (menu bar on top,
// client area below). Only the frame is touched: a popup covers the client area's picture on
// screen, never the client's own pixels.
#pragma once

#include <vector>

#include "base/surface.h"
#include "menu_layout.h"

namespace platform {

// Colours of the classic scheme, as 0x00RRGGBB pixels.
constexpr uint32_t kMenuFace = 0xC0C0C0;
constexpr uint32_t kMenuText = 0x000000;
constexpr uint32_t kMenuHighlight = 0x000080;
constexpr uint32_t kMenuHighlightText = 0xFFFFFF;
constexpr uint32_t kMenuGrayText = 0x808080;
constexpr uint32_t kEdgeLight = 0xDFDFDF;
constexpr uint32_t kEdgeHilight = 0xFFFFFF;
constexpr uint32_t kEdgeShadow = 0x808080;
constexpr uint32_t kEdgeDarkShadow = 0x000000;

// The bar across the frame's top rows; `selected` (or -1) is drawn highlighted.
void paint_menu_bar(const Surface& frame, const Menu& bar, const std::vector<RECT>& rects,
                    int selected);

// An open popup; `highlighted` (or -1) is the item under the mouse or the keyboard's choice.
void paint_popup(const Surface& frame, const Menu& popup, const PopupLayout& layout,
                 int highlighted);

}  // namespace platform
