// Checks that a face cut down for the page draws exactly as the whole face: the metrics the GDI
// reads from its tables, and for every Windows-1252 byte at every size the hinted monochrome
// glyph (its advance, its placement and every bit). Prints one line per pair; exit status 1 when
// any pair differs.
// Usage: font-subset-check WHOLE CUT [WHOLE CUT ...]
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/code_page.h"
#include "gdi/font_cache.h"

namespace {

// Everything of the face that text layout reads, as one list of numbers.
std::vector<long> face_numbers(FT_Face face) {
  std::vector<long> n{face->units_per_EM, face->ascender,
                      face->descender,    face->height,
                      face->bbox.xMin,    face->bbox.yMin,
                      face->bbox.xMax,    face->bbox.yMax,
                      face->style_flags,  FT_IS_FIXED_WIDTH(face) ? 1 : 0};
  if (const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
    n.insert(n.end(), {hhea->Ascender, hhea->Descender, hhea->Line_Gap});
  }
  if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
    n.insert(n.end(), {os2->usWinAscent, os2->usWinDescent, os2->xAvgCharWidth, os2->usWeightClass,
                       os2->sFamilyClass, os2->usFirstCharIndex,
                       std::min<long>(os2->usLastCharIndex, 0xFF)});
    n.insert(n.end(), os2->panose, os2->panose + 10);
  }
  return n;
}

// A glyph as the GDI renders it, flattened: advance, placement, size, then the bits.
std::vector<long> glyph_numbers(FT_Face face, unsigned char byte) {
  FT_UInt index = FT_Get_Char_Index(face, platform::code_page_to_unicode(byte));
  if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0 ||
      FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) {
    return {-1};
  }
  FT_Fixed design = 0;
  FT_Get_Advance(face, index, FT_LOAD_NO_SCALE, &design);
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  std::vector<long> n{index == 0 ? 0 : 1, design,       slot->advance.x, slot->bitmap_left,
                      slot->bitmap_top,   bitmap.width, bitmap.rows};
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    for (unsigned col = 0; col < bitmap.width; ++col) {
      n.push_back((bitmap.buffer[row * bitmap.pitch + (col >> 3)] >> (7 - (col & 7))) & 1);
    }
  }
  return n;
}

// The sizes compared: every size text is drawn at in practice, then a few up to the largest.
std::vector<int> sizes() {
  std::vector<int> ppem;
  for (int i = 1; i <= 200; ++i) ppem.push_back(i);
  for (int i : {256, 300, 400, 512, 1024}) ppem.push_back(i);
  return ppem;
}

bool same_face(FT_Library library, const char* whole_file, const char* cut_file) {
  FT_Face whole = nullptr;
  FT_Face cut = nullptr;
  if (FT_New_Face(library, whole_file, 0, &whole) != 0 ||
      FT_New_Face(library, cut_file, 0, &cut) != 0) {
    std::printf("%s: cannot open it or %s\n", cut_file, whole_file);
    return false;
  }
  bool same = face_numbers(whole) == face_numbers(cut);
  if (!same) std::printf("%s: its metrics differ from %s\n", cut_file, whole_file);
  FT_Select_Charmap(whole, FT_ENCODING_UNICODE);
  FT_Select_Charmap(cut, FT_ENCODING_UNICODE);
  int glyphs = 0;
  for (int ppem : sizes()) {
    FT_Set_Pixel_Sizes(whole, 0, ppem);
    FT_Set_Pixel_Sizes(cut, 0, ppem);
    for (int byte = 0; byte < 256 && same; ++byte) {
      ++glyphs;
      if (glyph_numbers(whole, byte) != glyph_numbers(cut, byte)) {
        std::printf("%s: byte 0x%02X at %d pixels differs from %s\n", cut_file, byte, ppem,
                    whole_file);
        same = false;
      }
    }
  }
  if (same) std::printf("%s: the same as %s (%d glyphs compared)\n", cut_file, whole_file, glyphs);
  FT_Done_Face(whole);
  FT_Done_Face(cut);
  return same;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: font-subset-check WHOLE CUT [WHOLE CUT ...]\n");
    return 2;
  }
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return 2;
  bool same = true;
  for (int i = 1; i + 1 < argc; i += 2) same = same_face(library, argv[i], argv[i + 1]) && same;
  FT_Done_FreeType(library);
  return same ? 0 : 1;
}
