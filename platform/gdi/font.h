// Fonts for GDI's text calls: faces found through fontconfig, glyphs rasterized by FreeType
// without anti-aliasing, metrics computed as Windows computes them from the face's tables.
#pragma once

#include "base/surface.h"
#include "win32.h"

namespace platform {

struct Font;

// A font as CreateFontA asks for it. height follows LOGFONT: negative is the character (em)
// height in pixels, positive the cell height, 0 a default height. The face name is matched
// through fontconfig; a name that no installed face has gets the system's fallback face.
Font* font_create(int height, int weight, bool italic, const char* face);

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
