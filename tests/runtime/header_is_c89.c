/* vorla.h in plain C (C89, pedantic) declares the library's names alone: a program may use any
 * Win32 name for its own. */
#include "vorla.h"

typedef int Ellipse;
typedef int Rectangle;
typedef int POINT;
typedef int RECT;
typedef int HWND;
typedef int BOOL;
static int GetPixel;

int use_the_header(void) {
  HINSTANCE instance = 0;
  LPSTR command_line = 0;
  (void)GetPixel;
  return gfx_startup(instance, 0, command_line, SW_SHOWNORMAL) + EVENT_QUIT + ANIM_RUN +
         COLOUR_GRAY_20;
}
