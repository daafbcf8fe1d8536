// Turns one drawing command into pixels of the off-screen surface. Every pen, brush and font is
// made for the one command and destroyed before it returns, and whatever was selected into the
// surface before is selected back, so the surface never keeps an object of a finished command.
// The window sees the pixels only when the event loop copies the surface.
#include <cstdint>
#include <cstring>

#include "runtime_state.h"

namespace vorla {

namespace {

// Device positions are computed wide and kept within a range that GDI accepts, so that absurd
// centred coordinates cannot overflow.
constexpr int64_t DEVICE_LIMIT = 1 << 27;

int device(int64_t value) {
  if (value > DEVICE_LIMIT) return static_cast<int>(DEVICE_LIMIT);
  if (value < -DEVICE_LIMIT) return static_cast<int>(-DEVICE_LIMIT);
  return static_cast<int>(value);
}

int column_of(int x) {
  return device(static_cast<int64_t>(state.origin_x) + x);
}
int row_of(int y) {
  return device(static_cast<int64_t>(state.origin_y) - y);
}

// Triangles, rectangles and ovals: filled in their colour when the width is 0, otherwise a band
// of that width around an untouched interior.
void draw_shape(const DrawCommand& command, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, command.width, colour);
  HGDIOBJ brush = command.width == 0 ? static_cast<HGDIOBJ>(CreateSolidBrush(colour))
                                     : GetStockObject(NULL_BRUSH);
  HGDIOBJ old_pen = SelectObject(state.surface_dc, pen);
  HGDIOBJ old_brush = SelectObject(state.surface_dc, brush);

  // The +1 makes the lower-right corner part of the shape: GDI leaves the right column and
  // the bottom row it is given outside.
  int left = column_of(command.x1);
  int top = row_of(command.y1);
  int right = device(static_cast<int64_t>(column_of(command.x2)) + 1);
  int bottom = device(static_cast<int64_t>(row_of(command.y2)) + 1);
  if (command.kind == DRAW_TRIANGLE) {
    POINT corners[3] = {{column_of(command.x1), row_of(command.y1)},
                        {column_of(command.x2), row_of(command.y2)},
                        {column_of(command.x3), row_of(command.y3)}};
    Polygon(state.surface_dc, corners, 3);
  } else if (command.kind == DRAW_RECT) {
    Rectangle(state.surface_dc, left, top, right, bottom);
  } else {
    Ellipse(state.surface_dc, left, top, right, bottom);
  }

  SelectObject(state.surface_dc, old_pen);
  SelectObject(state.surface_dc, old_brush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void draw_line(const DrawCommand& command, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, command.width, colour);
  HGDIOBJ old_pen = SelectObject(state.surface_dc, pen);
  MoveToEx(state.surface_dc, column_of(command.x1), row_of(command.y1), nullptr);
  LineTo(state.surface_dc, column_of(command.x2), row_of(command.y2));
  SelectObject(state.surface_dc, old_pen);
  DeleteObject(pen);
}

// The anchor is the lower-left corner of the first line: the first line is placed one line
// height above the anchor row, every further line one line height lower.
void draw_text(const DrawCommand& command, COLORREF colour) {
  SetTextColor(state.surface_dc, colour);
  int old_mode = GetBkMode(state.surface_dc);
  SetBkMode(state.surface_dc, TRANSPARENT);
  HFONT font = CreateFontA(-command.x2, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "VORLA-font");
  HGDIOBJ old_font = SelectObject(state.surface_dc, font);

  HGLOBAL block = text_block_lookup(command.y2);
  const char* text = block != nullptr ? static_cast<const char*>(GlobalLock(block)) : nullptr;
  if (text != nullptr) {
    int total = static_cast<int>(std::strlen(text));
    SIZE extent = {0, 0};
    GetTextExtentPointA(state.surface_dc, text, total, &extent);
    int line_height = extent.cy;
    int column = column_of(command.x1);
    int64_t anchor_row = static_cast<int64_t>(state.origin_y) - command.y1;
    int line = -1;
    int pos = 0;
    bool finished = false;
    while (!finished) {
      int start = pos;
      int n = 0;
      while (text[pos] != '\n' && text[pos] != '\0') {
        ++pos;
        ++n;
      }
      finished = pos >= total || text[pos] == '\0';
      TextOutA(state.surface_dc, column,
               device(anchor_row + static_cast<int64_t>(line) * line_height), text + start, n);
      ++line;
      ++pos;
    }
    GlobalUnlock(block);
  }

  SetBkMode(state.surface_dc, old_mode);
  SelectObject(state.surface_dc, old_font);
  DeleteObject(font);
}

}  // namespace

void gfx_render(const DrawCommand* command) {
  if (state.render_hook && state.render_hook(command)) return;
  COLORREF colour =
      command->colour >= 0 && command->colour < COLOUR_COUNT ? colour_rgb[command->colour] : 0;
  switch (command->kind) {
    case DRAW_TRIANGLE:
    case DRAW_RECT:
    case DRAW_OVAL:
      draw_shape(*command, colour);
      break;
    case DRAW_LINE:
      draw_line(*command, colour);
      break;
    case DRAW_PIXEL:
      SetPixel(state.surface_dc, column_of(command->x1), row_of(command->y1), colour);
      break;
    case DRAW_TEXT:
      draw_text(*command, colour);
      break;
    default:
      break;
  }
  state.surface_dirty = 1;
}

void clear_surface() {
  HBRUSH brush = CreateSolidBrush(colour_rgb[COLOUR_WHITE]);
  HGDIOBJ old_brush = SelectObject(state.surface_dc, brush);
  Rectangle(state.surface_dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT);
  SelectObject(state.surface_dc, old_brush);
  DeleteObject(brush);
  state.surface_dirty = 1;
}

}  // namespace vorla
