// GDI objects: creating pens, brushes, fonts and bitmaps, the stock objects, selecting objects
// into DCs and deleting them (deferred while a DC still has them selected).
#include "objects.h"

#include <climits>
#include <cstddef>

#include "for_user.h"
#include "kept.h"

namespace platform {

namespace {

// Bitmaps larger than this many pixels are refused, as Windows refuses what it cannot hold.
constexpr long long kMaxBitmapPixels = 1LL << 28;

template <typename T>
HGDIOBJ enter(HandleKind kind, T* object, bool stock) {
  object->stock = stock;
  if (stock) {
    StockObjects& kept_stock = kept().stock;
    if (kept_stock.data_count <= kStockCount) kept_stock.data[kept_stock.data_count++] = object;
  }
  return handle_new(kind, object, !stock);
}

HGDIOBJ make_pen(int style, int width, COLORREF colour, bool stock) {
  Pen* pen = kept().pens.take();
  pen->style = style;
  pen->width = width;
  pen->colour = colour;
  return enter(HandleKind::pen, pen, stock);
}

HGDIOBJ make_brush(bool hollow, COLORREF colour, bool stock) {
  Brush* brush = kept().brushes.take();
  brush->hollow = hollow;
  brush->colour = colour;
  return enter(HandleKind::brush, brush, stock);
}

HGDIOBJ make_font(Font* font, bool stock) {
  FontObject* object = kept().font_objects.take();
  object->font = font;
  return enter(HandleKind::font, object, stock);
}

HBITMAP make_bitmap(int width, int height, bool stock) {
  Bitmap* bitmap = new Bitmap;
  bitmap->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  bitmap->surface = Surface{bitmap->pixels.data(), width, height, width};
  return static_cast<HBITMAP>(enter(HandleKind::bitmap, bitmap, stock));
}

HGDIOBJ make_stock(int index) {
  switch (index) {
    case WHITE_BRUSH:
      return make_brush(false, RGB(255, 255, 255), true);
    case 1:  // LTGRAY_BRUSH
      return make_brush(false, RGB(192, 192, 192), true);
    case 2:  // GRAY_BRUSH
      return make_brush(false, RGB(128, 128, 128), true);
    case 3:  // DKGRAY_BRUSH
      return make_brush(false, RGB(64, 64, 64), true);
    case BLACK_BRUSH:
      return make_brush(false, RGB(0, 0, 0), true);
    case NULL_BRUSH:
      return make_brush(true, 0, true);
    case WHITE_PEN:
      return make_pen(PS_SOLID, 1, RGB(255, 255, 255), true);
    case BLACK_PEN:
      return make_pen(PS_SOLID, 1, RGB(0, 0, 0), true);
    case NULL_PEN:
      return make_pen(PS_NULL, 1, 0, true);
    case ANSI_FIXED_FONT:
      return make_font(font_create_fixed(), true);
    case SYSTEM_FONT:
      // The classic System font: a bold face in a 16-pixel cell.
      return make_font(font_create(16, FW_BOLD, false, "System"), true);
    case DEFAULT_GUI_FONT:
      return make_font(font_create(-11, FW_NORMAL, false, "MS Shell Dlg"), true);
    default:
      return nullptr;
  }
}

// The object behind a GDI handle, with its kind, in one look-up; null for other handles.
inline GdiObject* header_of(HGDIOBJ object, HandleKind* kind) {
  void* data = handle_lookup(object, kind);
  switch (*kind) {
    case HandleKind::pen:
      return static_cast<Pen*>(data);
    case HandleKind::brush:
      return static_cast<Brush*>(data);
    case HandleKind::font:
      return static_cast<FontObject*>(data);
    case HandleKind::bitmap:
      return static_cast<Bitmap*>(data);
    default:
      *kind = HandleKind::none;
      return nullptr;
  }
}

void destroy(HGDIOBJ object, HandleKind kind, GdiObject* header) {
  handle_release(object);
  switch (kind) {
    case HandleKind::pen:
      kept().pens.give(static_cast<Pen*>(header));
      break;
    case HandleKind::brush:
      kept().brushes.give(static_cast<Brush*>(header));
      break;
    case HandleKind::font: {
      FontObject* font = static_cast<FontObject*>(header);
      font_destroy(font->font);
      kept().font_objects.give(font);
      break;
    }
    case HandleKind::bitmap:
      delete static_cast<Bitmap*>(header);
      break;
    default:
      break;
  }
}

// A DC let go of the object: a deletion that waited for that happens now.
void let_go(HGDIOBJ object, HandleKind kind, GdiObject* header) {
  if (!header) return;
  if (header->selections > 0) --header->selections;
  if (header->selections == 0 && header->delete_pending) destroy(object, kind, header);
}

// Puts `object` into the DC's slot for its kind and returns what was there.
template <typename Handle, typename Object>
HGDIOBJ swap_into(Selected<Handle, Object>& slot, HGDIOBJ object, HandleKind kind,
                  GdiObject* header) {
  const HGDIOBJ previous = slot.handle;
  if (previous == object) return previous;
  ++header->selections;
  Object* const previous_object = slot.object;
  slot.handle = static_cast<Handle>(object);
  slot.object = static_cast<Object*>(header);
  let_go(previous, kind, previous_object);
  return previous;
}

}  // namespace

HGDIOBJ stock_object(int index) {
  if (index < 0 || index >= kStockCount) return nullptr;
  HGDIOBJ& object = kept().stock.objects[index];
  if (!object) object = make_stock(index);
  return object;
}

HBITMAP stock_bitmap() {
  HBITMAP& bitmap = kept().stock.bitmap;
  if (!bitmap) bitmap = make_bitmap(1, 1, true);
  return bitmap;
}

void gdi_reset() {
  for (void* dc : handle_list(HandleKind::dc)) {
    delete dc_from(static_cast<HDC>(dc));
    handle_release(dc);
  }
  for (HandleKind kind :
       {HandleKind::pen, HandleKind::brush, HandleKind::font, HandleKind::bitmap}) {
    for (void* object : handle_list(kind)) {
      HandleKind found;
      destroy(object, kind, header_of(object, &found));
    }
  }
  kept_reset();
}

void dc_select_initial(HDC handle) {
  SelectObject(handle, stock_object(BLACK_PEN));
  SelectObject(handle, stock_object(WHITE_BRUSH));
  SelectObject(handle, stock_object(SYSTEM_FONT));
  SelectObject(handle, stock_bitmap());  // refused for a window's DC, which has no bitmap
}

void dc_deselect_all(Dc& dc) {
  let_go(dc.pen.handle, HandleKind::pen, dc.pen.object);
  let_go(dc.brush.handle, HandleKind::brush, dc.brush.object);
  let_go(dc.font.handle, HandleKind::font, dc.font.object);
  let_go(dc.bitmap.handle, HandleKind::bitmap, dc.bitmap.object);
}

HBRUSH brush_create_permanent(COLORREF colour) {
  return static_cast<HBRUSH>(make_brush(false, colour, true));
}

bool brush_colour(HBRUSH handle, COLORREF* colour) {
  const Brush* brush = handle_get<Brush>(handle, HandleKind::brush);
  if (!brush || brush->hollow) return false;
  if (colour) *colour = brush->colour;
  return true;
}

}  // namespace platform

using namespace platform;

HGDIOBJ WINAPI GetStockObject(int index) {
  return stock_object(index);
}

HPEN WINAPI CreatePen(int style, int width, COLORREF colour) {
  if (style != PS_SOLID && style != PS_NULL) return nullptr;
  if (style == PS_NULL) return static_cast<HPEN>(stock_object(NULL_PEN));
  // Windows takes the magnitude of a negative width.
  const int magnitude = width == INT_MIN ? INT_MAX : width < 0 ? -width : width;
  return static_cast<HPEN>(make_pen(style, magnitude, colour, false));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF colour) {
  return static_cast<HBRUSH>(make_brush(false, colour, false));
}

HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight,
                         DWORD italic, DWORD underline, DWORD strike_out, DWORD char_set,
                         DWORD out_precision, DWORD clip_precision, DWORD quality,
                         DWORD pitch_and_family, LPCSTR face) {
  // Width, angles, decorations and the precision hints are not rendered by this layer.
  (void)width, (void)escapement, (void)orientation, (void)underline, (void)strike_out;
  (void)char_set, (void)out_precision, (void)clip_precision, (void)quality;
  Font* font = font_create(height, weight, italic != 0, face, static_cast<BYTE>(pitch_and_family));
  if (!font) return nullptr;
  return static_cast<HFONT>(make_font(font, false));
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (!dc_from(dc) || width < 0 || height < 0) return nullptr;
  if (width == 0 || height == 0) return stock_bitmap();
  if (static_cast<long long>(width) * height > kMaxBitmapPixels) return nullptr;
  return make_bitmap(width, height, false);
}

HGDIOBJ WINAPI SelectObject(HDC handle, HGDIOBJ object) {
  Dc* dc = dc_from(handle);
  HandleKind kind;
  GdiObject* header = header_of(object, &kind);
  if (!dc || !header) return nullptr;
  switch (kind) {
    case HandleKind::pen:
      return swap_into(dc->pen, object, kind, header);
    case HandleKind::brush:
      return swap_into(dc->brush, object, kind, header);
    case HandleKind::font:
      return swap_into(dc->font, object, kind, header);
    case HandleKind::bitmap: {
      if (dc->window) return nullptr;
      Bitmap* bitmap = static_cast<Bitmap*>(header);
      if (!bitmap->stock && bitmap->selected_in && bitmap->selected_in != handle) return nullptr;
      if (Bitmap* previous = dc->bitmap.object) {
        if (previous->selected_in == handle) previous->selected_in = nullptr;
      }
      if (!bitmap->stock) bitmap->selected_in = handle;
      return swap_into(dc->bitmap, object, kind, header);
    }
    default:
      return nullptr;
  }
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
  HandleKind kind;
  GdiObject* header = header_of(object, &kind);
  if (!header) return FALSE;
  if (header->stock) return TRUE;
  if (header->selections > 0) {
    header->delete_pending = true;
    return TRUE;
  }
  destroy(object, kind, header);
  return TRUE;
}
