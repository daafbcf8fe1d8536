// Pictures for the Windows check: PPM files in and out, the command items of an open popup
// menu in a screen shot, and the comparison of two client areas outside and inside the text.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "text_ink.h"

namespace picture {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom
  uint32_t at(int column, int row) const {
    return pixels[static_cast<size_t>(row) * static_cast<size_t>(width) +
                  static_cast<size_t>(column)];
  }
};

inline bool write_ppm(const std::string& path, const Picture& picture) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height);
  for (uint32_t pixel : picture.pixels) {
    const unsigned char rgb[3] = {static_cast<unsigned char>(pixel >> 16),
                                  static_cast<unsigned char>(pixel >> 8),
                                  static_cast<unsigned char>(pixel)};
    std::fwrite(rgb, 1, 3, file);
  }
  return std::fclose(file) == 0;
}

// The next number of a PPM header, past blanks and comments; eats the one blank after it.
inline bool ppm_number(FILE* file, int* value) {
  int c = std::fgetc(file);
  while (c == '#' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
    if (c == '#') {
      while (c != '\n' && c != EOF) c = std::fgetc(file);
    }
    c = std::fgetc(file);
  }
  if (c < '0' || c > '9') return false;
  *value = 0;
  while (c >= '0' && c <= '9' && *value < 100000) {
    *value = *value * 10 + (c - '0');
    c = std::fgetc(file);
  }
  return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// Reads 8-bit and 16-bit pictures (ImageMagick writes the depth it works in).
inline bool read_ppm(const std::string& path, Picture* picture) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  int maximum = 0;
  bool ok = std::fgetc(file) == 'P' && std::fgetc(file) == '6' &&
            ppm_number(file, &picture->width) && ppm_number(file, &picture->height) &&
            ppm_number(file, &maximum) && (maximum == 255 || maximum == 65535);
  if (ok) {
    const size_t sample = maximum == 255 ? 1 : 2;
    picture->pixels.resize(static_cast<size_t>(picture->width) * picture->height);
    for (uint32_t& pixel : picture->pixels) {
      unsigned char rgb[6];
      if (std::fread(rgb, sample, 3, file) != 3) {
        ok = false;
        break;
      }
      pixel = (uint32_t{rgb[0]} << 16) | (uint32_t{rgb[sample]} << 8) | rgb[2 * sample];
    }
  }
  std::fclose(file);
  return ok;
}

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

struct Comparison {
  bool same_size = false;
  long text_pixels = 0;     // pixels of the common area inside a text box
  long outside_pixels = 0;  // and outside every text box
  long differ_outside = 0;
  long differ_inside = 0;
  std::vector<std::pair<int, int>> first_outside;  // column and row of the first ten
  Picture diff;  // the first picture faded; red: differs outside text, blue: inside
};

// One box per text call: the smallest that holds its ink on both systems.
inline std::vector<text_ink::Box> text_boxes(const std::vector<text_ink::Box>& ink,
                                             const std::vector<text_ink::Box>& other_ink) {
  std::vector<text_ink::Box> boxes;
  for (size_t i = 0; i < ink.size() && i < other_ink.size(); ++i) {
    text_ink::Box box = ink[i];
    const text_ink::Box& other = other_ink[i];
    if (box.empty()) {
      box = other;
    } else if (!other.empty()) {
      box = {std::min(box.left, other.left), std::min(box.top, other.top),
             std::max(box.right, other.right), std::max(box.bottom, other.bottom)};
    }
    if (!box.empty()) boxes.push_back(box);
  }
  return boxes;
}

// Compares the area the two pictures have in common; `same_size` tells whether that is all.
inline Comparison compare(const Picture& a, const Picture& b,
                          const std::vector<text_ink::Box>& boxes) {
  Comparison result;
  result.same_size = a.width == b.width && a.height == b.height;
  const int width = std::min(a.width, b.width);
  const int height = std::min(a.height, b.height);
  result.diff = {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const uint32_t first = a.at(column, row);
      const bool differs = first != b.at(column, row);
      bool in_text = false;
      for (const text_ink::Box& box : boxes) in_text = in_text || box.contains(column, row);
      uint32_t shown = ((first >> 1) & 0x7F7F7Fu) + 0x808080u;
      if (in_text) {
        ++result.text_pixels;
        if (differs) {
          ++result.differ_inside;
          shown = 0x0000FFu;
        }
      } else {
        ++result.outside_pixels;
        if (differs) {
          ++result.differ_outside;
          shown = 0xFF0000u;
          if (result.first_outside.size() < 10) result.first_outside.push_back({column, row});
        }
      }
      result.diff.pixels[static_cast<size_t>(row) * width + column] = shown;
    }
  }
  return result;
}

}  // namespace picture
