// The cost of the software GDI on the drawing surface (a 601 x 540 memory bitmap): each
// primitive as the runtime's renderer calls it (a pen and a brush made, selected, used, deleted
// per call), and a frame of about 150 mixed calls like one redraw of the designer screen.
#include <benchmark/benchmark.h>

#include <cstring>

#include "display/headless/headless.h"
#include "layer.h"
#include "win32.h"

namespace {

constexpr int kWidth = 601;
constexpr int kHeight = 540;

struct Surface {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  Surface() {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
    old = SelectObject(dc, bitmap);
  }
  ~Surface() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};

// kObjectsOnly draws nothing: what the objects' traffic alone costs.
enum Shape { kRect, kEllipse, kTriangle, kObjectsOnly };

// One filled (width 0) or outlined (width > 0) shape, with the renderer's object traffic.
void shape(HDC dc, Shape kind, int width, int l, int t, int r, int b, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, width, colour);
  HBRUSH brush =
      width == 0 ? CreateSolidBrush(colour) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, brush);
  if (kind == kRect) Rectangle(dc, l, t, r, b);
  if (kind == kEllipse) Ellipse(dc, l, t, r, b);
  if (kind == kTriangle) {
    const POINT points[] = {{l, b}, {r, b}, {(l + r) / 2, t}};
    Polygon(dc, points, 3);
  }
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void line(HDC dc, int width, int x0, int y0, int x1, int y1, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, width, colour);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
}

void text(HDC dc, int x, int y, int size, const char* s, COLORREF colour) {
  SetTextColor(dc, colour);
  const int mode = SetBkMode(dc, TRANSPARENT);
  HFONT font = CreateFontA(-size, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "VORLA-font");
  HGDIOBJ old_font = SelectObject(dc, font);
  SIZE extent;
  const int length = static_cast<int>(std::strlen(s));
  GetTextExtentPointA(dc, s, length, &extent);
  TextOutA(dc, x, y - extent.cy, s, length);
  SetBkMode(dc, mode);
  SelectObject(dc, old_font);
  DeleteObject(font);
}

void BM_Shape(benchmark::State& state) {
  Surface surface;
  const Shape kind = static_cast<Shape>(state.range(0));
  const int width = static_cast<int>(state.range(1));
  const int half = static_cast<int>(state.range(2));
  for (auto _ : state) {
    shape(surface.dc, kind, width, 300 - half, 270 - half, 301 + half, 271 + half, RGB(200, 0, 0));
  }
}
// kind, pen width (0 = filled), half size
BENCHMARK(BM_Shape)
    ->ArgNames({"kind", "pen", "half"})
    ->Args({kObjectsOnly, 0, 0})
    ->Args({kRect, 0, 20})
    ->Args({kRect, 0, 250})
    ->Args({kRect, 3, 250})
    ->Args({kEllipse, 0, 7})
    ->Args({kEllipse, 0, 20})
    ->Args({kEllipse, 0, 250})
    ->Args({kEllipse, 1, 250})
    ->Args({kEllipse, 3, 250})
    ->Args({kEllipse, 10, 250})
    ->Args({kEllipse, 3, 300})  // larger than the wide outlines GDI keeps whole
    ->Args({kTriangle, 0, 7})
    ->Args({kTriangle, 0, 20})
    ->Args({kTriangle, 0, 250})
    ->Args({kTriangle, 3, 250});

void BM_Line(benchmark::State& state) {
  Surface surface;
  const int width = static_cast<int>(state.range(0));
  for (auto _ : state) line(surface.dc, width, 20, 30, 580, 500, RGB(0, 0, 200));
}
BENCHMARK(BM_Line)->ArgName("pen")->Arg(1)->Arg(3)->Arg(10);

void BM_FarOutside(benchmark::State& state) {
  Surface surface;
  for (auto _ : state) {
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
    HGDIOBJ old_pen = SelectObject(surface.dc, pen);
    const POINT triangle[] = {{-450, 270}, {-2000000000, -5}, {300, 2000000000}};
    Polygon(surface.dc, triangle, 3);
    Ellipse(surface.dc, -100000000, -100000000, 100000000, 100000000);
    Rectangle(surface.dc, 100, -280, 200, 280);
    SelectObject(surface.dc, old_pen);
    DeleteObject(pen);
  }
}
BENCHMARK(BM_FarOutside);

void BM_Text(benchmark::State& state) {
  Surface surface;
  for (auto _ : state) text(surface.dc, 20, 300, 16, "Toppings: 12 / 200 !", RGB(0, 0, 0));
}
BENCHMARK(BM_Text);

void BM_SetPixel(benchmark::State& state) {
  Surface surface;
  for (auto _ : state) SetPixel(surface.dc, 300, 270, RGB(1, 2, 3));
}
BENCHMARK(BM_SetPixel);

void BM_BitBltWhole(benchmark::State& state) {
  Surface from;
  Surface to;
  for (auto _ : state) BitBlt(to.dc, 0, 0, kWidth, kHeight, from.dc, 0, 0, SRCCOPY);
}
BENCHMARK(BM_BitBltWhole);

LRESULT CALLBACK plain_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

// The event loop's copy of the surface to the drawing window, through the window's DC.
void BM_BitBltToWindow(benchmark::State& state) {
  headless::drive_from_code();
  platform::layer_choose_display("headless");
  WNDCLASSA wc{};
  wc.lpfnWndProc = plain_proc;
  wc.lpszClassName = "BenchClass";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "BenchClass", "Bench", WS_CAPTION | WS_SYSMENU, 0, 0,
                                kWidth + 20, kHeight + 60, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(window, SW_SHOW);
  Surface surface;
  HDC dc = GetDC(window);
  for (auto _ : state) BitBlt(dc, 0, 0, kWidth, kHeight, surface.dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  DestroyWindow(window);
}
BENCHMARK(BM_BitBltToWindow);

// One redraw of a busy screen: clear, a scene of filled shapes, a column of buttons with
// outlines and labels, and scattered small toppings.
void BM_Frame(benchmark::State& state) {
  Surface surface;
  for (auto _ : state) {
    int calls = 0;
    shape(surface.dc, kRect, 1, 0, 0, kWidth, kHeight, RGB(255, 255, 255));
    ++calls;
    shape(surface.dc, kEllipse, 0, 480, 20, 561, 101, RGB(255, 220, 0));     // sun
    shape(surface.dc, kRect, 0, 0, 400, kWidth, kHeight, RGB(0, 90, 200));   // sea
    shape(surface.dc, kTriangle, 0, 120, 200, 400, 520, RGB(210, 160, 90));  // cone
    for (int i = 0; i < 3; ++i) {
      shape(surface.dc, kEllipse, 0, 150 + 10 * i, 120 - 40 * i, 370 - 10 * i, 260 - 40 * i,
            RGB(250, 200 - 40 * i, 220));  // scoops
    }
    calls += 6;
    for (int b = 0; b < 18; ++b) {
      const int top = 10 + b * 28;
      shape(surface.dc, kRect, 0, 8, top, 98, top + 24, RGB(220, 220, 220));
      shape(surface.dc, kRect, 2, 8, top, 98, top + 24, RGB(0, 0, 0));
      text(surface.dc, 14, top + 20, 12, "Button", RGB(0, 0, 0));
      calls += 3;
    }
    for (int t = 0; t < 80 && calls < 150; ++t) {
      const int x = 160 + (t * 37) % 200;
      const int y = 140 + (t * 53) % 110;
      switch (t % 4) {
        case 0:
          shape(surface.dc, kEllipse, 0, x, y, x + 7, y + 7, RGB(120, 60, 20));
          break;
        case 1:
          line(surface.dc, 2, x, y, x + 6, y + 3, RGB(255, 0, 0));
          break;
        case 2:
          shape(surface.dc, kTriangle, 0, x, y, x + 8, y + 8, RGB(0, 160, 0));
          break;
        default:
          SetPixel(surface.dc, x, y, RGB(0, 0, 0));
          break;
      }
      ++calls;
    }
    benchmark::DoNotOptimize(calls);
  }
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMicrosecond);

}  // namespace
