// Device contexts: window DCs from GetDC, memory DCs with their selected bitmap, and the
// attributes a DC carries (current pen, brush, font, colours, background mode, position).
#include "for_user.h"
#include "objects.h"

namespace platform {

namespace {

HDC new_dc(HWND window) {
  Dc* dc = new Dc;
  dc->window = window;
  dc->text_colour = RGB(0, 0, 0);
  dc->bk_colour = RGB(255, 255, 255);
  dc->bk_mode = OPAQUE;
  HDC handle = static_cast<HDC>(handle_new(HandleKind::dc, dc));
  dc_select_initial(handle);
  return handle;
}

void delete_dc(HDC handle, Dc* dc) {
  if (dc->bitmap.object && dc->bitmap.object->selected_in == handle) {
    dc->bitmap.object->selected_in = nullptr;
  }
  handle_release(handle);
  dc_deselect_all(*dc);
  delete dc;
}

}  // namespace

void dc_changed(const Dc& dc) {
  if (dc.window) dc.window_pixels->changed(dc.window);
}

HDC dc_open_window(HWND window, const WindowPixels* pixels) {
  if (!window || !pixels) return nullptr;
  HDC handle = new_dc(window);
  dc_from(handle)->window_pixels = pixels;
  return handle;
}

bool dc_close_window(HWND window, HDC handle) {
  Dc* dc = dc_from(handle);
  if (!dc || !dc->window || dc->window != window) return false;
  delete_dc(handle, dc);
  return true;
}

}  // namespace platform

using namespace platform;

HDC WINAPI CreateCompatibleDC(HDC handle) {
  if (handle && !dc_from(handle)) return nullptr;
  return new_dc(nullptr);
}

BOOL WINAPI DeleteDC(HDC handle) {
  Dc* dc = dc_from(handle);
  // A DC from GetDC belongs to the window system and goes back through ReleaseDC.
  if (!dc || dc->window) return FALSE;
  delete_dc(handle, dc);
  return TRUE;
}

COLORREF WINAPI SetTextColor(HDC handle, COLORREF colour) {
  Dc* dc = dc_from(handle);
  if (!dc) return CLR_INVALID;
  const COLORREF previous = dc->text_colour;
  dc->text_colour = colour;
  return previous;
}

COLORREF WINAPI GetTextColor(HDC handle) {
  const Dc* dc = dc_from(handle);
  return dc ? dc->text_colour : CLR_INVALID;
}

int WINAPI GetBkMode(HDC handle) {
  const Dc* dc = dc_from(handle);
  return dc ? dc->bk_mode : 0;
}

int WINAPI SetBkMode(HDC handle, int mode) {
  Dc* dc = dc_from(handle);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = dc->bk_mode;
  dc->bk_mode = mode;
  return previous;
}

COLORREF WINAPI GetBkColor(HDC handle) {
  const Dc* dc = dc_from(handle);
  return dc ? dc->bk_colour : CLR_INVALID;
}

COLORREF WINAPI SetBkColor(HDC handle, COLORREF colour) {
  Dc* dc = dc_from(handle);
  if (!dc) return CLR_INVALID;
  const COLORREF previous = dc->bk_colour;
  dc->bk_colour = colour;
  return previous;
}

BOOL WINAPI MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
  Dc* dc = dc_from(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->position;
  dc->position = POINT{x, y};
  return TRUE;
}
