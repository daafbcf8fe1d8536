// A memory DC on a small bitmap for GDI tests, and pictures of its pixels as text ('.' for the
// background, letters for the colours a test names), so a failing comparison shows the image.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "win32.h"

namespace gdi_test {

constexpr COLORREF kPaper = RGB(0x12, 0x34, 0x56);
constexpr COLORREF kRed = RGB(0xE0, 0x10, 0x20);
constexpr COLORREF kBlue = RGB(0x10, 0x20, 0xF0);
constexpr COLORREF kGreen = RGB(0x10, 0xC0, 0x30);

struct Canvas {
  int width;
  int height;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old_bitmap;

  Canvas(int w, int h) : width(w), height(h) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(dc, w, h);
    old_bitmap = SelectObject(dc, bitmap);
    clear(kPaper);
  }
  ~Canvas() {
    SelectObject(dc, old_bitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void clear(COLORREF colour) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) SetPixel(dc, x, y, colour);
    }
  }

  COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }

  // One character per pixel: '.' for kPaper, 'R', 'B', 'G' for the test colours, '?' else.
  std::string picture() const {
    std::string text;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const COLORREF c = at(x, y);
        text += c == kPaper ? '.' : c == kRed ? 'R' : c == kBlue ? 'B' : c == kGreen ? 'G' : '?';
      }
      text += '\n';
    }
    return text;
  }

  int count(COLORREF colour) const {
    int n = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) n += at(x, y) == colour ? 1 : 0;
    }
    return n;
  }
};

// Rows of a picture joined with newlines, so expected images read as drawn.
inline std::string rows(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

// Selects a pen and a brush for one drawing and puts the previous ones back afterwards.
struct Tools {
  HDC dc;
  HGDIOBJ old_pen;
  HGDIOBJ old_brush;
  HGDIOBJ pen;
  HGDIOBJ brush;
  // width < 0 selects NULL_PEN; brush_colour CLR_INVALID selects NULL_BRUSH.
  Tools(HDC d, int pen_width, COLORREF pen_colour, COLORREF brush_colour) : dc(d) {
    pen = pen_width < 0 ? GetStockObject(NULL_PEN) : CreatePen(PS_SOLID, pen_width, pen_colour);
    brush =
        brush_colour == CLR_INVALID ? GetStockObject(NULL_BRUSH) : CreateSolidBrush(brush_colour);
    old_pen = SelectObject(dc, pen);
    old_brush = SelectObject(dc, brush);
  }
  ~Tools() {
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
  }
  Tools(const Tools&) = delete;
  Tools& operator=(const Tools&) = delete;
};

}  // namespace gdi_test
