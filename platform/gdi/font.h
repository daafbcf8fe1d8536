// Fonts for GDI's text calls: faces found through fontconfig, glyphs rasterized by FreeType
// without anti-aliasing, metrics computed as Windows computes them from the face's tables.
#pragma once

#include "base/surface.h"
#include "win32.h"

namespace platform {

struct Font;

// A font as CreateFontA asks for it. height follows LOGFONT: negative is the character (em)
// height in pixels, positive the cell height, 0 a default height. An installed face is used as
// named. A name that no installed face has gets what Windows' font mapper answers for the pitch
// and family asked for: Courier New for fixed pitch or the modern family, Times New Roman for
// the roman family, Arial for everything else. fontconfig gives each as itself where it is
// installed and otherwise as its metric-compatible twin (Liberation Mono, Serif, Sans), which
// then lays out with the widths of the face it stands in for.
Font* font_create(int height, int weight, bool italic, const char* face,
                  BYTE pitch_and_family = DEFAULT_PITCH | FF_DONTCARE);

// The face behind ANSI_FIXED_FONT: monospaced, a cell of about 13 pixels.
Font* font_create_fixed();

void font_destroy(Font* font);

void font_metrics(const Font* font, TEXTMETRICA* metrics);

// Sum of the advance widths of count characters (Windows-1252 bytes).
int font_text_width(const Font* font, const char* text, int count);

// Paints only the glyph pixels of the text in `pixel` (0x00RRGGBB), the cell's top-left at
// (x, y), clipped to `clip` (in surface coordinates) and to the surface.
void font_draw_text(const Font* font, const Surface& surface, const RECT& clip, int x, int y,
                    const char* text, int count, uint32_t pixel);

}  // namespace platform
