// What the window system needs from GDI.
#pragma once

#include "win32.h"

namespace platform {

// The colour of a solid brush (a window class's background); false for other handles.
bool brush_colour(HBRUSH brush, COLORREF* colour);

}  // namespace platform
