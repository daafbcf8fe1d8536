/* The colour chart: all 24 colours as swatches, each with its number and its name.
 * A colour is just a number from 0 to 23; the COLOUR_ names in vorla.h say which is which.
 * Run it to look up a colour; close the window (or press Ctrl+Q) to end it. */
#include "vorla.h"

/* For each colour: its name, and a colour for its label that can be read on it. */
static const struct {
  int colour;
  const char* name;
  int label;
} chart[24] = {
    {COLOUR_BLACK, "black", COLOUR_WHITE},
    {COLOUR_WHITE, "white", COLOUR_BLACK},
    {COLOUR_RED, "red", COLOUR_WHITE},
    {COLOUR_GREEN, "green", COLOUR_BLACK},
    {COLOUR_BLUE, "blue", COLOUR_WHITE},
    {COLOUR_YELLOW, "yellow", COLOUR_BLACK},
    {COLOUR_MAGENTA, "magenta", COLOUR_BLACK},
    {COLOUR_CYAN, "cyan", COLOUR_BLACK},
    {COLOUR_PURPLE, "purple", COLOUR_WHITE},
    {COLOUR_NAVY_BLUE, "navy blue", COLOUR_WHITE},
    {COLOUR_DUSTY_PLUM, "dusty plum", COLOUR_WHITE},
    {COLOUR_ICE_BLUE, "ice blue", COLOUR_BLACK},
    {COLOUR_TURQUOISE, "turquoise", COLOUR_BLACK},
    {COLOUR_ORANGE, "orange", COLOUR_BLACK},
    {COLOUR_BROWN, "brown", COLOUR_WHITE},
    {COLOUR_PINK, "pink", COLOUR_BLACK},
    {COLOUR_CHALK, "chalk", COLOUR_BLACK},
    {COLOUR_GOLD, "gold", COLOUR_BLACK},
    {COLOUR_PEACH, "peach", COLOUR_BLACK},
    {COLOUR_FOREST_GREEN, "forest green", COLOUR_WHITE},
    {COLOUR_SEA_GREEN, "sea green", COLOUR_BLACK},
    {COLOUR_OLIVE, "olive", COLOUR_BLACK},
    {COLOUR_GRAY_50, "50% gray", COLOUR_WHITE},
    {COLOUR_GRAY_20, "20% gray", COLOUR_BLACK},
};

int main(void) {
  int x, y, i;
  char key;
  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  gfx_set_logging(0);
  gfx_show_log_window(0);
  gfx_erase();
  gfx_text(COLOUR_BLACK, -85, 215, 26, "The 24 colours");

  /* Four swatches a row, six rows; colour i is in row i / 4 and column i % 4. */
  for (i = 0; i < 24; i++) {
    int left = -290 + (i % 4) * 146;
    int top = 205 - (i / 4) * 75;
    gfx_rect(chart[i].colour, left, top, left + 138, top - 68, 0);
    gfx_rect(COLOUR_GRAY_50, left, top, left + 138, top - 68, 1); /* shows the white one too */
    gfx_text(chart[i].label, left + 8, top - 28, 20, "%d", chart[i].colour);
    gfx_text(chart[i].label, left + 8, top - 58, 18, "%s", chart[i].name);
  }

  while (gfx_next_event(&x, &y, &key) != EVENT_QUIT) {
  }
  gfx_shutdown();
  return 0;
}
