#include "menu_paint.h"

#include <algorithm>
#include <string>

namespace platform {
namespace {

// The classic check mark, 7 x 7, drawn in the text's colour.
constexpr const char* kCheckMark[] = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};
constexpr int kCheckSize = 7;

RECT frame_rect(const Surface& frame) {
  return RECT{0, 0, frame.width, frame.height};
}

RECT intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

void fill(const Surface& frame, const RECT& rect, uint32_t pixel) {
  RECT r = intersect(rect, frame_rect(frame));
  for (int y = r.top; y < r.bottom; ++y) {
    std::fill(frame.pixels + y * frame.stride + r.left, frame.pixels + y * frame.stride + r.right,
              pixel);
  }
}

void put(const Surface& frame, int x, int y, uint32_t pixel) {
  if (x >= 0 && x < frame.width && y >= 0 && y < frame.height) {
    frame.pixels[y * frame.stride + x] = pixel;
  }
}

void hline(const Surface& frame, int left, int right, int y, uint32_t pixel) {
  fill(frame, RECT{left, y, right, y + 1}, pixel);
}

void vline(const Surface& frame, int x, int top, int bottom, uint32_t pixel) {
  fill(frame, RECT{x, top, x + 1, bottom}, pixel);
}

int text_width(std::string_view text) {
  return font_text_width(menu_font(), text.data(), static_cast<int>(text.size()));
}

TEXTMETRICA font_metrics_of_menu() {
  TEXTMETRICA metrics{};
  font_metrics(menu_font(), &metrics);
  return metrics;
}

// A label with its mnemonic underlined, its cell's top-left at (x, y), clipped to `clip`.
void draw_label(const Surface& frame, const RECT& clip, int x, int y, const ShownLabel& label,
                uint32_t pixel) {
  RECT bounds = intersect(clip, frame_rect(frame));
  font_draw_text(menu_font(), frame, bounds, x, y, label.shown.data(),
                 static_cast<int>(label.shown.size()), pixel);
  if (label.mnemonic_index < 0) return;
  int start = x + text_width(std::string_view(label.shown).substr(0, label.mnemonic_index));
  int width = text_width(std::string_view(label.shown).substr(label.mnemonic_index, 1));
  int underline_y = y + font_metrics_of_menu().tmAscent + 1;
  RECT line = intersect(bounds, RECT{start, underline_y, start + width, underline_y + 1});
  fill(frame, line, pixel);
}

// Text that cannot be chosen: gray, with a white copy one pixel down and right so that it
// looks etched into the face.
void draw_grayed_label(const Surface& frame, const RECT& clip, int x, int y,
                       const ShownLabel& label) {
  draw_label(frame, clip, x + 1, y + 1, label, kEdgeHilight);
  draw_label(frame, clip, x, y, label, kMenuGrayText);
}

void draw_check_mark(const Surface& frame, const RECT& item, uint32_t pixel) {
  int left = item.left + 4;
  int top = item.top + (item.bottom - item.top - kCheckSize) / 2;
  for (int row = 0; row < kCheckSize; ++row) {
    for (int column = 0; column < kCheckSize; ++column) {
      if (kCheckMark[row][column] == '#') put(frame, left + column, top + row, pixel);
    }
  }
}

// The small right-pointing triangle of an item that opens another popup.
void draw_submenu_arrow(const Surface& frame, const RECT& item, uint32_t pixel) {
  int x = item.right - 10;
  int middle = (item.top + item.bottom) / 2;
  for (int column = 0; column < 4; ++column) {
    vline(frame, x + column, middle - 3 + column, middle + 4 - column, pixel);
  }
}

void draw_raised_edge(const Surface& frame, const RECT& r) {
  hline(frame, r.left, r.right - 1, r.top, kEdgeLight);
  vline(frame, r.left, r.top, r.bottom - 1, kEdgeLight);
  hline(frame, r.left, r.right, r.bottom - 1, kEdgeDarkShadow);
  vline(frame, r.right - 1, r.top, r.bottom, kEdgeDarkShadow);
  hline(frame, r.left + 1, r.right - 2, r.top + 1, kEdgeHilight);
  vline(frame, r.left + 1, r.top + 1, r.bottom - 2, kEdgeHilight);
  hline(frame, r.left + 1, r.right - 1, r.bottom - 2, kEdgeShadow);
  vline(frame, r.right - 2, r.top + 1, r.bottom - 1, kEdgeShadow);
}

void draw_separator(const Surface& frame, const RECT& item) {
  int middle = item.top + (item.bottom - item.top) / 2;
  hline(frame, item.left + 1, item.right - 1, middle - 1, kEdgeShadow);
  hline(frame, item.left + 1, item.right - 1, middle, kEdgeHilight);
}

void draw_popup_item(const Surface& frame, const MenuItem& item, const PopupLayout& layout,
                     const RECT& rect, bool highlighted) {
  if (item_is_separator(item)) {
    draw_separator(frame, rect);
    return;
  }
  bool enabled = item_is_enabled(item);
  uint32_t ink = enabled ? kMenuText : kMenuGrayText;
  if (highlighted) {
    fill(frame, rect, kMenuHighlight);
    if (enabled) ink = kMenuHighlightText;
  }
  // Grayed text is embossed on the face but plain on the highlight, which would swallow
  // the white copy.
  bool embossed = !enabled && !highlighted;
  int text_y = rect.top + (rect.bottom - rect.top - font_metrics_of_menu().tmHeight) / 2;
  ShownLabel label = shown_label(item_label(item));
  ShownLabel shortcut = {std::string(item_shortcut(item)), -1};
  if (embossed) {
    draw_grayed_label(frame, rect, layout.text_x, text_y, label);
    draw_grayed_label(frame, rect, layout.shortcut_x, text_y, shortcut);
  } else {
    draw_label(frame, rect, layout.text_x, text_y, label, ink);
    draw_label(frame, rect, layout.shortcut_x, text_y, shortcut, ink);
  }
  if (item.flags & MF_CHECKED) draw_check_mark(frame, rect, ink);
  if (item.flags & MF_POPUP) draw_submenu_arrow(frame, rect, ink);
}

}  // namespace

void paint_menu_bar(const Surface& frame, const Menu& bar, const std::vector<RECT>& rects,
                    int selected) {
  fill(frame, RECT{0, 0, frame.width, kMenuBarHeight}, kMenuFace);
  int text_height = font_metrics_of_menu().tmHeight;
  for (size_t i = 0; i < bar.items.size() && i < rects.size(); ++i) {
    const MenuItem& item = bar.items[i];
    if (item_is_separator(item)) continue;
    const RECT& rect = rects[i];
    bool highlighted = static_cast<int>(i) == selected;
    if (highlighted) fill(frame, rect, kMenuHighlight);
    ShownLabel label = shown_label(item_label(item));
    int text_x = rect.left + (rect.right - rect.left - text_width(label.shown)) / 2;
    int text_y = rect.top + (rect.bottom - rect.top - text_height) / 2;
    bool enabled = item_is_enabled(item);
    if (!enabled && !highlighted) {
      draw_grayed_label(frame, rect, text_x, text_y, label);
    } else {
      uint32_t ink = !enabled ? kMenuGrayText : highlighted ? kMenuHighlightText : kMenuText;
      draw_label(frame, rect, text_x, text_y, label, ink);
    }
  }
}

void paint_popup(const Surface& frame, const Menu& popup, const PopupLayout& layout,
                 int highlighted) {
  fill(frame, layout.frame, kMenuFace);
  draw_raised_edge(frame, layout.frame);
  for (size_t i = 0; i < popup.items.size() && i < layout.items.size(); ++i) {
    draw_popup_item(frame, popup.items[i], layout, layout.items[i],
                    static_cast<int>(i) == highlighted);
  }
}

}  // namespace platform
