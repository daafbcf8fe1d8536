// Everything GDI keeps from one call to the next beyond the objects behind a program's handles:
// the stock objects, deleted objects kept to be handed out again, shapes worked out once, the
// scan converters' workspace, the fonts asked for and the faces loaded. It all lives here, in
// one object, so that a reset of the layer (gdi_reset) puts it back to where a process starts in
// one step and nothing of a drawing before the reset is left to shape a drawing after it.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "font_cache.h"
#include "raster.h"
#include "spares.h"
#include "win32.h"

namespace platform {

struct GdiObject;
struct Pen;
struct Brush;
struct FontObject;

// The last few values made for a key, the latest first: a frame draws the same few sizes over
// and over.
template <typename Key, typename Value, size_t kKeep>
class Recent {
 public:
  template <typename Make>
  const Value& get(const Key& key, Make make) {
    for (size_t i = 0; i < entries_.size(); ++i) {
      if (entries_[i].first != key) continue;
      if (i > 0) std::swap(entries_[i], entries_[0]);
      return entries_[0].second;
    }
    if (entries_.size() == kKeep) entries_.pop_back();
    entries_.insert(entries_.begin(), {key, make()});
    return entries_[0].second;
  }

 private:
  std::vector<std::pair<Key, Value>> entries_;
};

constexpr int kStockCount = DEFAULT_GUI_FONT + 1;

// GetStockObject's objects, each made on first use, and the 1 x 1 bitmap a new memory DC holds.
struct StockObjects {
  HGDIOBJ objects[kStockCount] = {};
  HBITMAP bitmap = nullptr;
  // What the handles stand for, so that leak checkers still reach it at exit, after the handle
  // table is gone.
  GdiObject* data[kStockCount + 1] = {};
  int data_count = 0;
};

struct Kept {
  Kept();
  ~Kept();
  Kept(const Kept&) = delete;
  Kept& operator=(const Kept&) = delete;

  StockObjects stock;

  // Deleted objects handed out again: a program makes and deletes a pen and a brush around every
  // drawing call and a font around every text, and these save the allocation and the free.
  // Without them bench_designer's frame runs 10% more instructions at 200 toppings, and
  // bench_gdi's BM_Frame 5% more.
  Spares<Pen> pens;
  Spares<Brush> brushes;
  Spares<FontObject> font_objects;
  Spares<Font> fonts;

  // Wide pens' shapes by width (raster.h's RoundPen), which save working out the dab and the
  // diagonal steps at every stroke: without them bench_gdi's BM_Frame runs 2.4% more
  // instructions (bench_designer's frame 0.3%).
  Recent<int, std::unique_ptr<raster::RoundPen>, 8> round_pens;

  // Ellipses' quadrants by box, up to 1024 pixels a side, which save walking the outline again
  // for an oval of a size drawn before: without them bench_designer's frame runs 4% more
  // instructions at 200 toppings, and BM_Shape's ellipses of 501 x 501 up to 26% more.
  Recent<std::pair<long long, long long>, std::vector<raster::Point>, 32> quadrants;

  // The scan converters' buffers and kept outlines (raster.h), and the points of the shape at
  // hand (a polygon's corners, the quadrant of an ellipse too large to keep).
  raster::Workspace workspace;
  std::vector<raster::Point> points;

  // The last fonts asked for and what each gave (font_create's), which save finding a face for
  // CreateFontA at every text call: without them bench_designer's frame runs 7% more
  // instructions, bench_gdi's BM_Text 25% more.
  std::vector<FontAsked> fonts_asked;

  // The faces found and loaded, with their sizes and rendered glyphs (font_cache.h).
  FaceCache faces;
};

namespace kept_instance {
extern Kept* current;  // never null
}  // namespace kept_instance

// What GDI keeps.
inline Kept& kept() {
  return *kept_instance::current;
}

// Frees everything kept and starts again from nothing, for a reset of the layer: the objects and
// DCs must be gone first, as their fonts point into the faces.
void kept_reset();

}  // namespace platform
