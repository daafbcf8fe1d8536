// The picture a program last showed, kept in a file while it runs (VORLA_LAST_PICTURE=FILE):
// each time the program's first window is presented, its client area is written over the file
// as a binary PPM picture. Whatever ends the process (a crash, a kill at a time-out, the run's
// end) the file then holds the last picture the program showed. Used by the headless driver
// alone, for a program's run that no code drives.
#pragma once

#include "base/surface.h"
#include "win32.h"

namespace headless_last_picture {

// Reads VORLA_LAST_PICTURE when the display opens; nothing is kept when it is unset or empty.
void open();
// The display closes: the file is closed and the first window forgotten.
void close();

void window_created(HWND window);
// The window's content went to the display; `client` is its client area as shown.
void presented(HWND window, const platform::Surface& client);

}  // namespace headless_last_picture
