// Where the text of a frame puts its ink, as one system draws it. Each text call of the frame is
// drawn alone, in black, on the erased surface, through the runtime's own text call, and the
// box of the pixels it changed is kept. The Linux tool runs this on the headless display and
// the Windows probe under Wine, so each list of boxes is that system's font at work; the
// comparison leaves out the union of both.
//
// Files: one text call per line, "x y point_size text" (the text with "\n" and "\\" escaped);
// one box per line, "left top right bottom" in surface pixels, right and bottom exclusive, or
// "none" for a call that left no ink.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "runtime_state.h"

using namespace vorla;  // the runtime's insides

namespace text_ink {

struct TextCall {
  int x = 0;
  int y = 0;
  int point_size = 0;
  std::string text;
};

struct Box {
  int left = 0;
  int top = 0;
  int right = 0;  // exclusive; right <= left: no ink
  int bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(int column, int row) const {
    return column >= left && column < right && row >= top && row < bottom;
  }
};

inline std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else {
      out += c;
    }
  }
  return out;
}

inline std::string unescaped(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      ++i;
      out += text[i] == 'n' ? '\n' : text[i];
    } else {
      out += text[i];
    }
  }
  return out;
}

inline bool write_calls(const char* path, const std::vector<TextCall>& calls) {
  FILE* file = std::fopen(path, "w");
  if (file == nullptr) return false;
  for (const TextCall& call : calls) {
    std::fprintf(file, "%d %d %d %s\n", call.x, call.y, call.point_size,
                 escaped(call.text).c_str());
  }
  return std::fclose(file) == 0;
}

inline std::vector<TextCall> read_calls(const char* path) {
  std::vector<TextCall> calls;
  FILE* file = std::fopen(path, "r");
  if (file == nullptr) return calls;
  char line[4096];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    TextCall call;
    int used = 0;
    if (std::sscanf(line, "%d %d %d %n", &call.x, &call.y, &call.point_size, &used) < 3) continue;
    std::string text = line + used;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    call.text = unescaped(text);
    calls.push_back(call);
  }
  std::fclose(file);
  return calls;
}

inline bool write_boxes(const char* path, const std::vector<Box>& boxes) {
  FILE* file = std::fopen(path, "w");
  if (file == nullptr) return false;
  for (const Box& box : boxes) {
    if (box.empty()) {
      std::fprintf(file, "none\n");
    } else {
      std::fprintf(file, "%d %d %d %d\n", box.left, box.top, box.right, box.bottom);
    }
  }
  return std::fclose(file) == 0;
}

inline std::vector<Box> read_boxes(const char* path) {
  std::vector<Box> boxes;
  FILE* file = std::fopen(path, "r");
  if (file == nullptr) return boxes;
  char line[256];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    Box box;
    if (std::sscanf(line, "%d %d %d %d", &box.left, &box.top, &box.right, &box.bottom) != 4) {
      box = Box{};
    }
    boxes.push_back(box);
  }
  std::fclose(file);
  return boxes;
}

// Needs the runtime started; leaves the surface erased but for the last call's text. A pixel
// is ink when the text changed it: the erased surface is not white all over (its frame is
// drawn with the surface's pen).
inline std::vector<Box> ink_boxes(const std::vector<TextCall>& calls) {
  gfx_erase();
  std::vector<COLORREF> erased;
  erased.reserve(static_cast<size_t>(SURFACE_WIDTH) * SURFACE_HEIGHT);
  for (int row = 0; row < SURFACE_HEIGHT; ++row) {
    for (int column = 0; column < SURFACE_WIDTH; ++column) {
      erased.push_back(surface_pixel(column, row));
    }
  }
  std::vector<Box> boxes;
  for (const TextCall& call : calls) {
    gfx_erase();
    gfx_text(COLOUR_BLACK, call.x, call.y, call.point_size, "%s", call.text.c_str());
    Box box{SURFACE_WIDTH, SURFACE_HEIGHT, 0, 0};
    for (int row = 0; row < SURFACE_HEIGHT; ++row) {
      for (int column = 0; column < SURFACE_WIDTH; ++column) {
        if (surface_pixel(column, row) ==
            erased[static_cast<size_t>(row) * SURFACE_WIDTH + column]) {
          continue;
        }
        if (column < box.left) box.left = column;
        if (row < box.top) box.top = row;
        if (column + 1 > box.right) box.right = column + 1;
        if (row + 1 > box.bottom) box.bottom = row + 1;
      }
    }
    boxes.push_back(box.empty() ? Box{} : box);
  }
  return boxes;
}

// Writes the ink boxes of the text calls of CALLS to OUT, with the runtime started for it,
// hidden, on the display the program has chosen; 0 when written, 2 when not.
inline int measure(HINSTANCE instance, const char* calls_path, const char* out_path) {
  static char no_arguments[] = "";
  gfx_startup(instance, nullptr, no_arguments, SW_HIDE);
  gfx_set_logging(0);
  const bool written = write_boxes(out_path, ink_boxes(read_calls(calls_path)));
  gfx_shutdown();
  return written ? 0 : 2;
}

}  // namespace text_ink
