/* A program that draws and ends without ever calling gfx_next_event: what it drew never reaches
 * the window. DRAW=no draws nothing; DRAW=and-wait asks for one event as it should. */
#include <stdlib.h>
#include <string.h>

#include "vorla.h"

int main(void) {
  const char* draw = getenv("DRAW");
  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  if (!draw || strcmp(draw, "no") != 0) {
    gfx_erase();
    gfx_circle(COLOUR_RED, 0, 0, 100);
  }
  if (draw && strcmp(draw, "and-wait") == 0) gfx_next_event(NULL, NULL, NULL);
  gfx_shutdown();
  return 0;
}
