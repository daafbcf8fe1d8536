#include <algorithm>
#include <string>

#include "menu_parts.h"

namespace platform {
namespace {

// The classic check mark, 7 x 7, drawn in the text's colour.
constexpr const char* kCheckMark[] = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};
constexpr int kCheckSize = 7;

}  // namespace

MenuPainter::MenuPainter(HDC dc)
    : dc_(dc),
      font_(menu_font_create()),
      old_font_(SelectObject(dc, font_)),
      old_mode_(SetBkMode(dc, TRANSPARENT)),
      old_text_colour_(GetTextColor(dc)) {
  GetTextMetricsA(dc_, &metrics_);
}

MenuPainter::~MenuPainter() {
  SetTextColor(dc_, old_text_colour_);
  SetBkMode(dc_, old_mode_);
  SelectObject(dc_, old_font_);
  DeleteObject(font_);
  if (drew_line_) {
    SelectObject(dc_, old_pen_);
    MoveToEx(dc_, old_position_.x, old_position_.y, nullptr);
  }
  for (const auto& [colour, made] : pens_) DeleteObject(made);
}

void MenuPainter::fill(const RECT& rect, int colour) {
  FillRect(dc_, &rect, GetSysColorBrush(colour));
}

HPEN MenuPainter::pen(int colour) {
  for (const auto& [made_for, made] : pens_) {
    if (made_for == colour) return made;
  }
  pens_.emplace_back(colour, CreatePen(PS_SOLID, 1, GetSysColor(colour)));
  return pens_.back().second;
}

// A one-pixel line from (x0, y0) up to, not including, (x1, y1).
void MenuPainter::line(int x0, int y0, int x1, int y1, int colour) {
  HGDIOBJ previous = SelectObject(dc_, pen(colour));
  MoveToEx(dc_, x0, y0, drew_line_ ? nullptr : &old_position_);
  if (!drew_line_) old_pen_ = previous;
  drew_line_ = true;
  LineTo(dc_, x1, y1);
}

// Lines along a row or a column: none when the end is not past the start.
void MenuPainter::hline(int left, int right, int y, int colour) {
  if (right > left) line(left, y, right, y, colour);
}

void MenuPainter::vline(int x, int top, int bottom, int colour) {
  if (bottom > top) line(x, top, x, bottom, colour);
}

// A label with its mnemonic underlined, its cell's top-left at (x, y), clipped to `clip`.
void MenuPainter::label(const RECT& clip, int x, int y, const ShownLabel& text, int colour) {
  SetTextColor(dc_, GetSysColor(colour));
  ExtTextOutA(dc_, x, y, ETO_CLIPPED, &clip, text.shown.data(),
              static_cast<UINT>(text.shown.size()), nullptr);
  if (text.mnemonic_index < 0) return;
  std::string_view shown = text.shown;
  int start = x + menu_text_width(shown.substr(0, text.mnemonic_index));
  int end = start + menu_text_width(shown.substr(text.mnemonic_index, 1));
  int underline_y = y + metrics_.tmAscent + 1;
  if (underline_y < clip.top || underline_y >= clip.bottom) return;
  hline(std::max<int>(start, clip.left), std::min<int>(end, clip.right), underline_y, colour);
}

// Text that cannot be chosen: gray, with a white copy one pixel down and right so that it
// looks etched into the face.
void MenuPainter::grayed_label(const RECT& clip, int x, int y, const ShownLabel& text) {
  label(clip, x + 1, y + 1, text, COLOR_3DHILIGHT);
  label(clip, x, y, text, COLOR_GRAYTEXT);
}

void MenuPainter::check_mark(const RECT& item, int colour) {
  int left = item.left + 4;
  int top = item.top + (item.bottom - item.top - kCheckSize) / 2;
  for (int row = 0; row < kCheckSize; ++row) {
    for (int column = 0; column < kCheckSize; ++column) {
      if (kCheckMark[row][column] == '#') {
        SetPixelV(dc_, left + column, top + row, GetSysColor(colour));
      }
    }
  }
}

// The small right-pointing triangle of an item that opens another popup.
void MenuPainter::submenu_arrow(const RECT& item, int colour) {
  int x = item.right - 10;
  int middle = (item.top + item.bottom) / 2;
  for (int column = 0; column < 4; ++column) {
    vline(x + column, middle - 3 + column, middle + 4 - column, colour);
  }
}

// What DrawEdge gives for EDGE_RAISED on all four sides: light outside top-left, dark
// outside bottom-right, the inner ring a step less, the bottom-right over the corners.
void MenuPainter::raised_edge(const RECT& r) {
  hline(r.left, r.right - 1, r.top, COLOR_3DLIGHT);
  vline(r.left, r.top, r.bottom - 1, COLOR_3DLIGHT);
  hline(r.left, r.right, r.bottom - 1, COLOR_3DDKSHADOW);
  vline(r.right - 1, r.top, r.bottom, COLOR_3DDKSHADOW);
  hline(r.left + 1, r.right - 2, r.top + 1, COLOR_3DHILIGHT);
  vline(r.left + 1, r.top + 1, r.bottom - 2, COLOR_3DHILIGHT);
  hline(r.left + 1, r.right - 1, r.bottom - 2, COLOR_3DSHADOW);
  vline(r.right - 2, r.top + 1, r.bottom - 1, COLOR_3DSHADOW);
}

void MenuPainter::separator(const RECT& item) {
  int middle = item.top + (item.bottom - item.top) / 2;
  hline(item.left + 1, item.right - 1, middle - 1, COLOR_3DSHADOW);
  hline(item.left + 1, item.right - 1, middle, COLOR_3DHILIGHT);
}

void MenuPainter::popup_item(const MenuItem& item, const PopupLayout& layout, const RECT& rect,
                             bool highlighted) {
  if (item_is_separator(item)) {
    separator(rect);
    return;
  }
  bool enabled = item_is_enabled(item);
  int ink = enabled ? COLOR_MENUTEXT : COLOR_GRAYTEXT;
  if (highlighted) {
    fill(rect, COLOR_HIGHLIGHT);
    if (enabled) ink = COLOR_HIGHLIGHTTEXT;
  }
  // Grayed text is embossed on the face but plain on the highlight, which would swallow
  // the white copy.
  bool embossed = !enabled && !highlighted;
  int text_y = rect.top + (rect.bottom - rect.top - metrics_.tmHeight) / 2;
  ShownLabel shown = shown_label(item_label(item));
  ShownLabel shortcut = {std::string(item_shortcut(item)), -1};
  if (embossed) {
    grayed_label(rect, layout.text_x, text_y, shown);
    grayed_label(rect, layout.shortcut_x, text_y, shortcut);
  } else {
    label(rect, layout.text_x, text_y, shown, ink);
    label(rect, layout.shortcut_x, text_y, shortcut, ink);
  }
  if (item.flags & MF_CHECKED) check_mark(rect, ink);
  if (item.flags & MF_POPUP) submenu_arrow(rect, ink);
}

void MenuPainter::bar(int frame_width, const Menu& menu, const std::vector<RECT>& rects,
                      int selected) {
  fill(RECT{0, 0, frame_width, kMenuBarHeight}, COLOR_MENU);
  for (size_t i = 0; i < menu.items.size() && i < rects.size(); ++i) {
    const MenuItem& item = menu.items[i];
    if (item_is_separator(item)) continue;
    const RECT& rect = rects[i];
    bool highlighted = static_cast<int>(i) == selected;
    if (highlighted) fill(rect, COLOR_HIGHLIGHT);
    ShownLabel shown = shown_label(item_label(item));
    int text_x = rect.left + (rect.right - rect.left - menu_text_width(shown.shown)) / 2;
    int text_y = rect.top + (rect.bottom - rect.top - metrics_.tmHeight) / 2;
    bool enabled = item_is_enabled(item);
    if (!enabled && !highlighted) {
      grayed_label(rect, text_x, text_y, shown);
    } else {
      label(rect, text_x, text_y, shown,
            !enabled      ? COLOR_GRAYTEXT
            : highlighted ? COLOR_HIGHLIGHTTEXT
                          : COLOR_MENUTEXT);
    }
  }
}

void MenuPainter::popup(const Menu& menu, const PopupLayout& layout, int highlighted) {
  fill(layout.frame, COLOR_MENU);
  raised_edge(layout.frame);
  for (size_t i = 0; i < menu.items.size() && i < layout.items.size(); ++i) {
    popup_item(menu.items[i], layout, layout.items[i], static_cast<int>(i) == highlighted);
  }
}

}  // namespace platform
