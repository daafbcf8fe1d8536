#include <algorithm>
#include <string>

#include "menu_parts.h"

namespace platform {
namespace {

// Space on each side of a bar item's text.
constexpr int kBarItemPadding = 6;
// Two pixels of 3D edge and one of face around a popup's items.
constexpr int kPopupBorder = 3;
// The column left of the labels that holds check marks, and as much room right of them.
constexpr int kCheckColumn = 17;
constexpr int kArrowColumn = 17;
// Least space between the longest label and the shortcut column.
constexpr int kShortcutGap = 14;
constexpr int kTextItemHeight = 17;
constexpr int kSeparatorHeight = 9;

// The menu font as a LOGFONT asks for it, for measuring and for the GDI that paints.
constexpr int kFontHeight = -11;
constexpr const char* kFontFace = "DejaVu Sans";

int label_width(const MenuItem& item) {
  return menu_text_width(shown_label(item_label(item)).shown);
}

// Made once and kept: every menu of every window shares it.
Font* shared_menu_font = nullptr;

}  // namespace

const Font* menu_font() {
  if (!shared_menu_font) shared_menu_font = font_create(kFontHeight, FW_NORMAL, false, kFontFace);
  return shared_menu_font;
}

void menu_font_reset() {
  font_destroy(shared_menu_font);
  shared_menu_font = nullptr;
}

HFONT menu_font_create() {
  return CreateFontA(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, kFontFace);
}

int menu_text_width(std::string_view text) {
  return font_text_width(menu_font(), text.data(), static_cast<int>(text.size()));
}

std::vector<RECT> bar_item_rects(const Menu& bar) {
  std::vector<RECT> rects;
  int x = 0;
  for (const MenuItem& item : bar.items) {
    int width = item_is_separator(item) ? kBarItemPadding : label_width(item) + 2 * kBarItemPadding;
    rects.push_back(RECT{x, 0, x + width, kMenuBarHeight});
    x += width;
  }
  return rects;
}

PopupLayout popup_layout(const Menu& popup, const RECT& bar_item, int frame_width) {
  int widest_label = 0;
  int widest_shortcut = 0;
  int height = 0;
  for (const MenuItem& item : popup.items) {
    if (item_is_separator(item)) {
      height += kSeparatorHeight;
      continue;
    }
    height += kTextItemHeight;
    widest_label = std::max(widest_label, label_width(item));
    widest_shortcut = std::max(widest_shortcut, menu_text_width(item_shortcut(item)));
  }
  int inner_width = kCheckColumn + widest_label + kArrowColumn;
  if (widest_shortcut > 0) inner_width += kShortcutGap + widest_shortcut;

  PopupLayout layout;
  int width = inner_width + 2 * kPopupBorder;
  int left = bar_item.left;
  if (left + width > frame_width) left = std::max(0, frame_width - width);
  int top = bar_item.bottom;
  layout.frame = RECT{left, top, left + width, top + height + 2 * kPopupBorder};

  int item_left = left + kPopupBorder;
  int y = top + kPopupBorder;
  for (const MenuItem& item : popup.items) {
    int item_height = item_is_separator(item) ? kSeparatorHeight : kTextItemHeight;
    layout.items.push_back(RECT{item_left, y, item_left + inner_width, y + item_height});
    y += item_height;
  }
  layout.text_x = item_left + kCheckColumn;
  layout.shortcut_x = layout.text_x + widest_label + kShortcutGap;
  return layout;
}

int item_at(const std::vector<RECT>& rects, int x, int y) {
  for (size_t i = 0; i < rects.size(); ++i) {
    if (rect_contains(rects[i], x, y)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace platform
