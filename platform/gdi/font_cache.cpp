// Faces found by font_match_file and loaded by FreeType, kept with the rest of GDI's kept state
// (kept.h), which is never freed at exit: everything in it is still reachable then, and nothing
// is torn down while another exit handler might draw.
#include "font_cache.h"

#include FT_ADVANCES_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <utility>

#include "base/code_page.h"
#include "kept.h"

namespace platform {

namespace {

// A glyph a thousand pixels tall already needs a megabyte of ink; GDI asks for far less.
constexpr int kMaxPpem = 1024;

std::string request_key(const std::vector<std::string>& families, int weight, bool italic) {
  std::string key;
  for (const std::string& family : families) {
    key += family;
    key += '\n';
  }
  key += std::to_string(weight);
  key += italic ? 'i' : 'r';
  return key;
}

BYTE family_from_class(int family_class) {
  switch (family_class >> 8) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 7:
      return FF_ROMAN;
    case 8:
      return FF_SWISS;
    case 10:
      return FF_SCRIPT;
    case 9:
    case 12:
      return FF_DECORATIVE;
    default:
      return FF_DONTCARE;
  }
}

// Windows' family bits: monospaced faces are "modern"; otherwise the PANOSE family kind and
// serif style decide, and the IBM family class when PANOSE says nothing.
BYTE family_of(const TT_OS2* os2, bool fixed_pitch) {
  if (fixed_pitch) return FF_MODERN;
  if (!os2) return FF_DONTCARE;
  const FT_Byte* panose = os2->panose;
  switch (panose[0]) {
    case 2:  // Latin text
      if (panose[3] == 9) return FF_MODERN;
      if (panose[1] >= 11 && panose[1] <= 15) return FF_SWISS;
      if (panose[1] >= 2) return FF_ROMAN;
      return family_from_class(os2->sFamilyClass);
    case 3:
      return FF_SCRIPT;
    case 4:
    case 5:
      return FF_DECORATIVE;
    default:
      return family_from_class(os2->sFamilyClass);
  }
}

FaceTables read_tables(FT_Face ft) {
  FaceTables t;
  t.units_per_em = ft->units_per_EM;
  t.fixed_pitch = FT_IS_FIXED_WIDTH(ft);
  t.italic = (ft->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  t.truetype = FT_IS_SFNT(ft);
  t.weight = (ft->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
  t.max_char_width = static_cast<int>(ft->bbox.xMax - ft->bbox.xMin);

  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA));
  if (hhea) {
    t.ascender = hhea->Ascender;
    t.descender = hhea->Descender;
    t.line_gap = hhea->Line_Gap;
  } else {
    t.ascender = ft->ascender;
    t.descender = ft->descender;
    t.line_gap = std::max(0, ft->height - (ft->ascender - ft->descender));
  }

  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
  if (os2 && os2->version == 0xFFFF) os2 = nullptr;
  if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
    t.win_ascent = os2->usWinAscent;
    t.win_descent = os2->usWinDescent;
  } else {
    t.win_ascent = t.ascender;
    t.win_descent = -t.descender;
  }
  if (os2) {
    t.avg_char_width = std::max(0, static_cast<int>(os2->xAvgCharWidth));
    if (os2->usWeightClass > 0) t.weight = os2->usWeightClass;
    t.first_char = os2->usFirstCharIndex;
    t.last_char = os2->usLastCharIndex;
  }
  t.family = family_of(os2, t.fixed_pitch);
  return t;
}

FontFace* load_face(const std::string& file, int index) {
  FaceCache& c = kept().faces;
  auto found = c.faces.find({file, index});
  if (found != c.faces.end()) return found->second;

  FontFace* face = nullptr;
  FT_Face ft = nullptr;
  if (!c.library && FT_Init_FreeType(&c.library) != 0) c.library = nullptr;
  if (c.library && FT_New_Face(c.library, file.c_str(), index, &ft) == 0) {
    if (FT_IS_SCALABLE(ft) && ft->units_per_EM > 0) {
      face = new FontFace;
      face->ft = ft;
      face->file = file;
      face->index = index;
      if (FT_Select_Charmap(ft, FT_ENCODING_UNICODE) != 0 &&
          FT_Select_Charmap(ft, FT_ENCODING_MS_SYMBOL) == 0) {
        face->symbol_charmap = true;
      }
      face->tables = read_tables(ft);
    } else {
      FT_Done_Face(ft);
    }
  }
  c.faces[{file, index}] = face;
  return face;
}

FontFace* match_face(const std::vector<std::string>& families, int weight, bool italic) {
  std::string file;
  int index = 0;
  if (!font_match_file(families, weight > 0 ? weight : 400, italic, &file, &index)) return nullptr;
  return load_face(file, index);
}

}  // namespace

FaceCache::~FaceCache() {
  for (auto& [key, face] : faces) {
    if (!face) continue;
    face->sizes.clear();  // FT_Done_Face frees the sizes' FreeType parts
    FT_Done_Face(face->ft);
    delete face;
  }
  if (library) FT_Done_FreeType(library);
}

FontFace* font_face_find(const std::vector<std::string>& families, int weight, bool italic) {
  FaceCache& c = kept().faces;
  std::string key = request_key(families, weight, italic);
  auto found = c.matches.find(key);
  if (found != c.matches.end()) return found->second;
  FontFace* face = match_face(families, weight, italic);
  c.matches.emplace(std::move(key), face);
  return face;
}

bool font_family_installed(const std::string& family) {
  FaceCache& c = kept().faces;
  auto found = c.installed.find(family);
  if (found != c.installed.end()) return found->second;
  const bool listed = !family.empty() && font_list_family(family);
  c.installed.emplace(family, listed);
  return listed;
}

FontSize* font_face_size(FontFace* face, int ppem) {
  if (!face) return nullptr;
  ppem = std::clamp(ppem, 1, kMaxPpem);
  auto found = face->sizes.find(ppem);
  if (found != face->sizes.end()) return found->second.get();

  auto size = std::make_unique<FontSize>();
  size->face = face;
  size->ppem = ppem;
  if (FT_New_Size(face->ft, &size->ft_size) != 0) return nullptr;
  if (FT_Activate_Size(size->ft_size) != 0 || FT_Set_Pixel_Sizes(face->ft, 0, ppem) != 0) {
    FT_Done_Size(size->ft_size);
    return nullptr;
  }
  FontSize* result = size.get();
  face->sizes.emplace(ppem, std::move(size));
  return result;
}

void font_size_render(FontSize* size, FontGlyph* glyph, unsigned char byte) {
  glyph->rendered = true;
  FontFace* face = size->face;
  FT_Face ft = face->ft;
  if (FT_Activate_Size(size->ft_size) != 0) return;

  uint32_t code = code_page_to_unicode(byte);
  if (face->symbol_charmap) code = 0xF000 + byte;
  FT_UInt index = FT_Get_Char_Index(ft, code);
  // Hinted and monochrome: what the default quality of the classic desktop draws.
  if (FT_Load_Glyph(ft, index, FT_LOAD_TARGET_MONO) != 0) {
    if (index == 0 || FT_Load_Glyph(ft, 0, FT_LOAD_TARGET_MONO) != 0) return;
    index = 0;
  }
  FT_Fixed design = 0;
  if (FT_Get_Advance(ft, index, FT_LOAD_NO_SCALE, &design) == 0) {
    glyph->design_advance = static_cast<int>(design);
    glyph->stand_in_advance = static_cast<int>(
        font_mul_div(glyph->design_advance, size->ppem, face->tables.units_per_em));
  }
  FT_GlyphSlot slot = ft->glyph;
  glyph->advance = static_cast<int>((slot->advance.x + 32) >> 6);
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) {
    return;
  }
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return;
  glyph->left = slot->bitmap_left;
  glyph->top = slot->bitmap_top;
  raster::GlyphInk& out = glyph->ink;
  out.width = static_cast<int>(bitmap.width);
  out.rows = static_cast<int>(bitmap.rows);
  std::vector<uint8_t> ink(static_cast<size_t>(out.width));
  if (out.width <= 16) out.row_masks.assign(static_cast<size_t>(out.rows), 0);
  for (int row = 0; row < out.rows; ++row) {
    const unsigned char* bits = bitmap.pitch >= 0
                                    ? bitmap.buffer + row * bitmap.pitch
                                    : bitmap.buffer + (out.rows - 1 - row) * -bitmap.pitch;
    for (int col = 0; col < out.width; ++col) {
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        ink[col] = (bits[col >> 3] >> (7 - (col & 7))) & 1;
      } else {
        ink[col] = bits[col] >= 128 ? 1 : 0;
      }
      if (ink[col] && !out.row_masks.empty()) out.row_masks[row] |= uint16_t(1u << col);
    }
    for (int col = 0; col < out.width;) {
      if (!ink[col]) {
        ++col;
        continue;
      }
      const int start = col;
      while (col < out.width && ink[col]) ++col;
      out.runs.push_back({row, start, col});
    }
  }
}

}  // namespace platform
