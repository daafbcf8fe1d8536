// Pictures of the Windows check beyond what the picture module does: the command items of an
// open popup menu in a screen shot, and the boxes of the text, which each system draws in its own
// font, as the masks of the comparison of two client areas.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "display/headless/picture.h"
#include "text_ink.h"

namespace shots {

using picture::Picture;

// The command items of an open popup menu, top to bottom, as the first and last row of their
// shortcut texts ("Ctrl+A"), in a picture of the popup alone. The shortcuts stand in a column
// of their own at the right, away from the labels, whose descenders and mnemonic underlines
// would run into the next item. Items below the last separator (a row of one colour other than
// the menu's across the middle) are left out: they have no shortcut.
inline std::vector<std::pair<int, int>> popup_shortcuts(const Picture& shot) {
  std::vector<std::pair<int, int>> rows;
  if (shot.width < 20 || shot.height < 20) return rows;
  const int inset = 4;  // the popup's border
  const uint32_t menu_colour = shot.at(inset, shot.height / 2);
  std::vector<bool> separator(static_cast<size_t>(shot.height), false);
  int last_separator = shot.height - inset;
  for (int row = inset; row < shot.height - inset; ++row) {
    bool line = shot.at(shot.width / 5, row) != menu_colour;
    for (int column = shot.width / 5; column < shot.width - shot.width / 5; ++column) {
      line = line && shot.at(column, row) == shot.at(shot.width / 5, row);
    }
    separator[static_cast<size_t>(row)] = line;
    if (line) last_separator = row;
  }
  for (int row = inset; row < last_separator; ++row) {
    if (separator[static_cast<size_t>(row)]) continue;
    bool ink = false;
    for (int column = shot.width - shot.width / 4; column < shot.width - inset; ++column) {
      ink = ink || shot.at(column, row) != menu_colour;
    }
    if (!ink) continue;
    if (!rows.empty() && rows.back().second == row - 1) {
      rows.back().second = row;
    } else {
      rows.push_back({row, row});
    }
  }
  return rows;
}

// One box per text call: the smallest that holds its ink on both systems, as a mask.
inline std::vector<picture::Rect> text_boxes(const std::vector<text_ink::Box>& ink,
                                             const std::vector<text_ink::Box>& other_ink) {
  std::vector<picture::Rect> boxes;
  for (size_t i = 0; i < ink.size() && i < other_ink.size(); ++i) {
    text_ink::Box box = ink[i];
    const text_ink::Box& other = other_ink[i];
    if (box.empty()) {
      box = other;
    } else if (!other.empty()) {
      box = {std::min(box.left, other.left), std::min(box.top, other.top),
             std::max(box.right, other.right), std::max(box.bottom, other.bottom)};
    }
    if (!box.empty())
      boxes.push_back({box.left, box.top, box.right - box.left, box.bottom - box.top});
  }
  return boxes;
}

// How many pixels of a width x height picture lie in one of the boxes.
inline long pixels_in(int width, int height, const std::vector<picture::Rect>& boxes) {
  long count = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      count += std::any_of(boxes.begin(), boxes.end(),
                           [&](const picture::Rect& r) { return r.contains(x, y); });
    }
  }
  return count;
}

}  // namespace shots
