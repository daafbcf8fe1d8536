/* An answer with a blue dot wherever the user clicks last. */
#include "vorla.h"

int main(void) {
  int x = 0, y = 0;
  char key;
  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  gfx_set_logging(0);
  gfx_erase();
  while (gfx_next_event(&x, &y, &key) != EVENT_QUIT) {
    gfx_erase();
    gfx_circle(COLOUR_BLUE, x, y, 10);
  }
  return gfx_shutdown() - 1;
}
