// What GDI needs from the window system: the pixels of a window's client area.
#pragma once

#include "base/surface.h"
#include "win32.h"

namespace platform {

// The client area of a live window as a surface; false for null or stale windows.
bool window_client_surface(HWND window, Surface* out);

// Tells the window system that GDI changed pixels of the window, so the display shows them.
void window_pixels_changed(HWND window);

}  // namespace platform
