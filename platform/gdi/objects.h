// GDI's objects behind the handles: pens, brushes, fonts, bitmaps and device contexts, and what
// the drawing entry points share (the DC's current objects, colours as pixels; the DC's pixels
// are reached through deferred_fill.h).
//
// Deleting an object that is selected into a DC is deferred, as Wine's GDI does it: DeleteObject
// succeeds, the handle stays live while some DC still uses it, and the object goes when the last
// DC lets go of it (another object selected, or the DC deleted or released).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/handles.h"
#include "base/surface.h"
#include "deferred_fill.h"
#include "font.h"
#include "win32.h"

namespace platform {

struct WindowPixels;

struct GdiObject {
  int selections = 0;           // how many DCs have it selected
  bool delete_pending = false;  // DeleteObject came while it was selected
  bool stock = false;           // GetStockObject's: never destroyed
};

struct Pen : GdiObject {
  int style = PS_SOLID;
  int width = 1;  // 0 and 1 both give the one-pixel pen
  COLORREF colour = 0;
};

struct Brush : GdiObject {
  bool hollow = false;
  COLORREF colour = 0;
};

struct FontObject : GdiObject {
  Font* font = nullptr;  // null when no face could be loaded: text then draws nothing
};

struct Bitmap : GdiObject {
  std::vector<uint32_t> pixels;
  Surface surface;
  HDC selected_in = nullptr;  // a bitmap lives in at most one DC (the stock one excepted)
  DeferredFill deferred;      // the last solid box filled in, not yet written
};

// What a DC has selected of one kind: the handle that SelectObject gives back, and the object
// behind it, which lives at least as long as it stays selected.
template <typename Handle, typename Object>
struct Selected {
  Handle handle = nullptr;
  Object* object = nullptr;
};

struct Dc {
  HWND window = nullptr;  // set for GetDC's DCs, which draw on the window's client area
  const WindowPixels* window_pixels = nullptr;  // how such a DC reaches the window's pixels
  Selected<HBITMAP, Bitmap> bitmap;             // memory DCs only
  Selected<HPEN, Pen> pen;
  Selected<HBRUSH, Brush> brush;
  Selected<HFONT, FontObject> font;
  COLORREF text_colour = 0;
  COLORREF bk_colour = 0;
  int bk_mode = OPAQUE;
  POINT position{0, 0};
};

// The live DC behind a handle, or null.
inline Dc* dc_from(HDC dc) {
  return handle_get<Dc>(dc, HandleKind::dc);
}

// Called after a drawing call changed the DC's pixels: a window DC tells the window system.
void dc_changed(const Dc& dc);

// The DC's current objects (never null for a live DC).
inline Pen& dc_pen(const Dc& dc) {
  return *dc.pen.object;
}
inline const Brush& dc_brush(const Dc& dc) {
  return *dc.brush.object;
}
inline const Font* dc_font(const Dc& dc) {
  return dc.font.object->font;
}

// The stock object of a GetStockObject index (created on first use), or null.
HGDIOBJ stock_object(int index);

// The 1 x 1 bitmap that a new memory DC holds, shared as Windows shares it.
HBITMAP stock_bitmap();

// Selects a new DC's first objects, as SelectObject would.
void dc_select_initial(HDC handle);

// A DC let go of its selected objects, as it is deleted: deletions that waited for that happen.
void dc_deselect_all(Dc& dc);

// A COLORREF as a surface pixel; flag bits in the top byte are ignored.
inline uint32_t pixel_of(COLORREF colour) {
  return pixel_from_colorref(colour & 0x00FFFFFF);
}

}  // namespace platform
