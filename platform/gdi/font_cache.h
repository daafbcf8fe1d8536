// Where the font module's faces and glyphs come from: the font file chosen for a requested name
// (by fontconfig on the desktop, from the files packed with the page in a browser), one FreeType
// face per font file, and per pixel size the face's metrics and its rendered glyphs. Everything
// found or rendered is kept (kept.h) until a reset of the layer, because GDI creates and destroys
// a font for every text call and a frame makes hundreds.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "raster.h"
#include "win32.h"

namespace platform {

// What the metrics are computed from, in font units, read once per face.
struct FaceTables {
  int units_per_em = 0;
  int win_ascent = 0;      // OS/2 usWinAscent, or FreeType's ascender when the face lacks OS/2
  int win_descent = 0;     // OS/2 usWinDescent (positive), or minus FreeType's descender
  int ascender = 0;        // hhea ascender
  int descender = 0;       // hhea descender (negative below the baseline)
  int line_gap = 0;        // hhea line gap
  int avg_char_width = 0;  // OS/2 xAvgCharWidth; 0 when the face does not say
  int max_char_width = 0;  // width of the face's bounding box
  int weight = 400;        // OS/2 usWeightClass
  int first_char = 0x20;   // OS/2 usFirstCharIndex / usLastCharIndex
  int last_char = 0xFF;
  BYTE family = 0;  // FF_* family bits as Windows derives them from the PANOSE numbers
  bool fixed_pitch = false;
  bool italic = false;
  bool truetype = false;  // an sfnt (TrueType or OpenType) face
};

// One rendered glyph: its whole-pixel advance and its ink.
struct FontGlyph {
  bool rendered = false;
  int advance = 0;           // after hinting, in pixels
  int design_advance = 0;    // as designed, in font units
  int stand_in_advance = 0;  // the design advance at the size's ppem, for a stand-in face
  int left = 0;              // from the pen position to the ink's first column
  int top = 0;               // from the baseline up to the ink's first row
  raster::GlyphInk ink;
};

struct FontFace;

// A face at one pixel size. Glyphs are kept per Windows-1252 byte, since that is all text is.
struct FontSize {
  FontFace* face = nullptr;
  FT_Size ft_size = nullptr;
  int ppem = 0;
  bool metrics_ready = false;
  TEXTMETRICA metrics{};
  FontGlyph glyphs[256];
};

struct FontFace {
  FT_Face ft = nullptr;
  std::string file;
  int index = 0;
  bool symbol_charmap = false;  // symbol faces are indexed at 0xF000 + byte, as Windows does
  FaceTables tables;
  std::map<int, std::unique_ptr<FontSize>> sizes;
};

// What GDI holds for an HFONT: which cached face size it draws with, and whether that face
// stands in for one that is not installed. A stand-in shares the missing face's design advances
// but not its hinting, so it lays out with the design advances rounded to whole pixels: the
// widths the missing face's metrics give.
struct Font {
  FontSize* size = nullptr;
  bool stand_in = false;
};

// The font file, and the face's index in it, for the families (tried in order, then the
// system's fallbacks), a Windows weight (100-900) and slant; false when there is none.
bool font_match_file(const std::vector<std::string>& families, int weight, bool italic,
                     std::string* file, int* index);

// Whether an installed face has this family name (in any of its languages, ignoring case),
// asked of the system's font list without caching; font_family_installed caches it.
bool font_list_family(const std::string& family);

// The face font_match_file picks for the families, a Windows weight (0 means normal) and slant.
// nullptr only when no face loads.
FontFace* font_face_find(const std::vector<std::string>& families, int weight, bool italic);

// Whether an installed face has this family name (in any of its languages, ignoring case),
// without the aliases and fallbacks that matching adds.
bool font_family_installed(const std::string& family);

// The face at ppem pixels per em (clamped to what a glyph cache can hold).
FontSize* font_face_size(FontFace* face, int ppem);

// value * numerator / denominator, rounded half away from zero like Windows' MulDiv.
inline long long font_mul_div(long long value, long long numerator, long long denominator) {
  const long long product = value * numerator;
  const long long half = denominator / 2;
  return product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
}

// Renders the glyph of a Windows-1252 byte into its place in the size.
void font_size_render(FontSize* size, FontGlyph* glyph, unsigned char byte);

// The glyph that a Windows-1252 byte shows, rendered on first use.
inline const FontGlyph& font_size_glyph(FontSize* size, unsigned char byte) {
  FontGlyph& glyph = size->glyphs[byte];
  if (!glyph.rendered) font_size_render(size, &glyph, byte);
  return glyph;
}

// The faces found and loaded: FreeType, what each request and family name found, and each font
// file's face. Destroying it frees every face, size and glyph and FreeType itself: fonts made
// before must be gone first.
struct FaceCache {
  FaceCache() = default;
  FaceCache(const FaceCache&) = delete;
  FaceCache& operator=(const FaceCache&) = delete;
  ~FaceCache();

  FT_Library library = nullptr;
  std::map<std::string, FontFace*> matches;                // request -> face (null: none loaded)
  std::map<std::string, bool> installed;                   // family name -> some face has it
  std::map<std::pair<std::string, int>, FontFace*> faces;  // file and index -> face
};

// A font asked for (font_create's arguments) and what it gave.
struct FontAsked {
  int height;
  int weight;
  bool italic;
  BYTE pitch_and_family;
  std::string face;
  FontSize* size;
  bool stand_in;
};

}  // namespace platform
