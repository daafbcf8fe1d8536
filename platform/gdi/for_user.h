// What the window system needs from GDI.
#pragma once

#include "base/surface.h"
#include "win32.h"

namespace platform {

// The colour of a solid brush (a window class's background); false for other handles.
bool brush_colour(HBRUSH brush, COLORREF* colour);

// A solid brush that the window system keeps for the life of the process (GetSysColorBrush's):
// left out of the live counts, and DeleteObject leaves it alone as it leaves stock objects.
HBRUSH brush_create_permanent(COLORREF colour);

// How a window DC reaches the pixels of its window, answered by the window system. The surface
// is asked for at every drawing call (the window may have been resized or destroyed since);
// `changed` is told after a drawing call changed pixels, so the display shows them.
struct WindowPixels {
  bool (*surface)(HWND window, Surface* out);
  void (*changed)(HWND window);
};

// A DC over the client area of `window` (GetDC's), or null.
HDC dc_open_window(HWND window, const WindowPixels* pixels);

// Deletes a DC that dc_open_window gave for that window; false for any other DC.
bool dc_close_window(HWND window, HDC dc);

// Frees every DC and GDI object (stock ones included) and everything GDI keeps between calls
// (kept.h), for a reset of the layer.
void gdi_reset();

}  // namespace platform
