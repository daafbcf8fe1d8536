// The palette of 24 named colours, the check every primitive applies to a colour index, and the
// table through which a text command refers to its text block.
#include "runtime_state.h"

namespace vorla {

const COLORREF colour_rgb[COLOUR_COUNT] = {
    0x00000000,  // black
    0x00FFFFFF,  // white
    0x000000FF,  // red
    0x0000FF00,  // green
    0x00FF0000,  // blue
    0x0000FFFF,  // yellow
    0x00FF00FF,  // magenta
    0x00FFFF00,  // cyan
    0x00CC0099,  // purple
    0x00993300,  // navy blue
    0x00996699,  // dusty plum
    0x00FFFF99,  // ice blue
    0x00CCFF99,  // turquoise
    0x000066FF,  // orange
    0x00336699,  // brown
    0x00CC99FF,  // pink
    0x0099FFFF,  // chalk
    0x003399CC,  // gold
    0x006699FF,  // peach
    0x00336600,  // forest green
    0x0099CC33,  // sea green
    0x00339999,  // olive
    0x00808080,  // 50% gray
    0x00CCCCCC,  // 20% gray
};

const char* const colour_names[COLOUR_COUNT] = {
    "black",     "white",        "red",       "green",     "blue",       "yellow",
    "magenta",   "cyan",         "purple",    "navy blue", "dusty plum", "ice blue",
    "turquoise", "orange",       "brown",     "pink",      "chalk",      "gold",
    "peach",     "forest green", "sea green", "olive",     "50% gray",   "20% gray",
};

int gfx_check_colour(int colour) {
  if (colour >= 0 && colour < COLOUR_COUNT) return colour;
  gfx_log("Illegal color %d; using RED.\n", colour);
  return COLOUR_RED;
}

// References are slot + 1, so that 0 (a field never set) names no block.
int text_block_register(HGLOBAL block) {
  if (block == nullptr) return 0;
  for (int slot = 0; slot < TEXT_BLOCK_SLOTS; ++slot) {
    if (state.text_blocks[slot] == nullptr) {
      state.text_blocks[slot] = block;
      return slot + 1;
    }
  }
  return 0;
}

HGLOBAL text_block_lookup(int reference) {
  if (reference < 1 || reference > TEXT_BLOCK_SLOTS) return nullptr;
  return state.text_blocks[reference - 1];
}

void text_block_unregister(int reference) {
  if (reference < 1 || reference > TEXT_BLOCK_SLOTS) return;
  state.text_blocks[reference - 1] = nullptr;
}

}  // namespace vorla
