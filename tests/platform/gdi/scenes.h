// Small drawings made with GDI the way the runtime's renderer makes them, shared by the probe
// that records GDI pixels under Wine (tools/generators/gdi_probe.cpp) and the test that compares
// our GDI with those records. Only the Win32 calls of win32.h are used, so the same code builds on
// both.
#pragma once

#include <string>
#include <vector>

#include "win32.h"

namespace gdi_scenes {

enum class Shape {
  kRectangle,  // v = left, top, right, bottom
  kEllipse,    // v = left, top, right, bottom
  kTriangle,   // v = three points, drawn with Polygon
  kLine,       // v = from x, y, to x, y: MoveToEx then LineTo
  kPixel,      // v = x, y: SetPixel
  kClear,      // v = left, top, right, bottom: Rectangle with the DC's own pen and a new brush
};

// Pen width kNullPen selects the stock NULL_PEN instead of a new pen.
constexpr int kNullPen = -1;

// One drawing call. Like the renderer, it creates its own pen (and brush: solid in `colour`
// when `filled`, else the stock NULL_BRUSH), selects them, draws, selects the previous ones
// back and deletes its own.
struct Op {
  Shape shape = Shape::kPixel;
  int pen_width = 0;
  bool filled = false;
  COLORREF colour = 0;
  int v[6] = {0, 0, 0, 0, 0, 0};
};

struct Scene {
  std::string group;  // scenes are compared and reported per group
  std::string name;   // unique over all scenes
  int width = 0;
  int height = 0;
  std::vector<Op> ops;
};

// Every scene, in a fixed order. Names are "group/..." and unique.
std::vector<Scene> all_scenes();

// The groups of all_scenes(), in order of first appearance.
std::vector<std::string> group_names();

// Paints the whole width x height area white pixel by pixel (so the background does not depend
// on the shape code under test), then performs the scene's operations on `dc`.
void draw_scene(HDC dc, const Scene& scene);

// The operations as one line of text; the reference data keeps it so that a reference made
// from an older scene table is recognised.
std::string describe(const Scene& scene);

// Text placement: a run of characters drawn with TextOutA in TRANSPARENT mode, measured by
// its metrics, its extent and the box of the pixels it inks. Glyph shapes differ between
// rasterizers; where a text lands and how much room it takes should not.
struct TextCase {
  int height = 0;  // CreateFontA's height
  std::string text;
};

constexpr const char* kTextFace = "DejaVu Sans";
constexpr int kTextSurfaceWidth = 320;
constexpr int kTextSurfaceHeight = 200;
constexpr int kTextX = 10;  // where TextOutA puts the text's top-left corner
constexpr int kTextY = 20;

std::vector<TextCase> text_cases();

// The names of the values measure_text gives, in its order.
std::vector<std::string> text_value_names();

// Paints the text surface white, draws the case at (kTextX, kTextY) with a font of kTextFace
// and returns its measures (ink box relative to the anchor; all 0 when nothing is inked).
std::vector<int> measure_text(HDC dc, const TextCase& text_case);

}  // namespace gdi_scenes
