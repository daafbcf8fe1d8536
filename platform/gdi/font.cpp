// Fonts for GDI's text calls: the LOGFONT height rule, metrics as Windows derives them from a
// face's OS/2 and hhea tables, advances and monochrome glyphs. A Font is only a pointer to a
// cached face size, so creating and destroying one per text call costs a lookup.
#include "font.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "font_cache.h"
#include "kept.h"
#include "raster.h"

namespace platform {

namespace {

// Height 0 asks for the default: a 16-pixel cell, what a 12-point face gets at 96 dpi.
constexpr int kDefaultCellHeight = 16;
// The cell of ANSI_FIXED_FONT (Courier 10) on the classic desktop.
constexpr int kFixedCellHeight = 13;

// Negative heights are the em in pixels; positive ones the cell, which spans the face's
// Windows ascent and descent.
int ppem_for_height(const FaceTables& t, int height) {
  if (height == 0) height = kDefaultCellHeight;
  long long ppem;
  if (height < 0) {
    ppem = -static_cast<long long>(height);
  } else {
    int cell = t.win_ascent + t.win_descent;
    ppem = font_mul_div(height, t.units_per_em, cell > 0 ? cell : t.units_per_em);
  }
  return static_cast<int>(std::clamp(ppem, 1LL, static_cast<long long>(INT_MAX)));
}

void compute_metrics(FontSize* size) {
  const FaceTables& t = size->face->tables;
  const int ppem = size->ppem;
  auto scaled = [&](long long units) {
    return static_cast<LONG>(font_mul_div(units, ppem, t.units_per_em));
  };
  TEXTMETRICA& m = size->metrics;
  m = TEXTMETRICA{};
  m.tmAscent = scaled(t.win_ascent);
  m.tmDescent = scaled(t.win_descent);
  m.tmHeight = m.tmAscent + m.tmDescent;
  m.tmInternalLeading = scaled(t.win_ascent + t.win_descent - t.units_per_em);
  const int line_height = t.ascender - t.descender;
  m.tmExternalLeading =
      std::max<LONG>(0, scaled(t.line_gap - ((t.win_ascent + t.win_descent) - line_height)));
  m.tmAveCharWidth =
      t.avg_char_width > 0 ? scaled(t.avg_char_width) : font_size_glyph(size, 'x').advance;
  m.tmMaxCharWidth = scaled(t.max_char_width);
  m.tmWeight = t.weight;
  m.tmOverhang = 0;
  m.tmDigitizedAspectX = 96;
  m.tmDigitizedAspectY = 96;
  // The narrow view of a TrueType face's range, as Windows reports it for an ANSI font.
  m.tmFirstChar = static_cast<BYTE>(t.first_char >= 0x20 ? 0x1E : t.first_char);
  m.tmLastChar = static_cast<BYTE>(std::min(t.last_char, 0xFF));
  m.tmDefaultChar = 0x1F;
  m.tmBreakChar = 0x20;
  m.tmItalic = t.italic ? 255 : 0;
  m.tmUnderlined = 0;
  m.tmStruckOut = 0;
  // Windows' "fixed pitch" bit means the opposite: it is set for variable-pitch faces.
  BYTE pitch = t.fixed_pitch ? 0 : TMPF_FIXED_PITCH;
  if (t.truetype) pitch |= TMPF_TRUETYPE | TMPF_VECTOR;
  m.tmPitchAndFamily = static_cast<BYTE>(pitch | t.family);
  m.tmCharSet = ANSI_CHARSET;
  size->metrics_ready = true;
}

Font* new_font(FontSize* size, bool stand_in) {
  Font* font = kept().fonts.take();
  *font = Font{size, stand_in};
  return font;
}

Font* make_font(FontFace* face, int height, bool stand_in) {
  if (!face) return nullptr;
  FontSize* size = font_face_size(face, ppem_for_height(face->tables, height));
  if (!size) return nullptr;
  if (!size->metrics_ready) compute_metrics(size);
  return new_font(size, stand_in);
}

// The last fonts asked for, the latest first.
constexpr size_t kAskedKept = 16;

// Windows' answer to a face it does not have: the core face of the family asked for.
const char* mapped_family(BYTE pitch_and_family) {
  if ((pitch_and_family & 0x03) == FIXED_PITCH || (pitch_and_family & 0xF0) == FF_MODERN) {
    return "Courier New";
  }
  if ((pitch_and_family & 0xF0) == FF_ROMAN) return "Times New Roman";
  return "Arial";
}

int advance_of(const Font* font, const FontGlyph& glyph) {
  return font->stand_in ? glyph.stand_in_advance : glyph.advance;
}

int advance_of(const Font* font, unsigned char byte) {
  return advance_of(font, font_size_glyph(font->size, byte));
}

}  // namespace

Font* font_create(int height, int weight, bool italic, const char* face, BYTE pitch_and_family) {
  const char* name = face ? face : "";
  std::vector<FontAsked>& asked = kept().fonts_asked;
  for (size_t i = 0; i < asked.size(); ++i) {
    const FontAsked& a = asked[i];
    if (a.height != height || a.weight != weight || a.italic != italic ||
        a.pitch_and_family != pitch_and_family || std::strcmp(a.face.c_str(), name) != 0) {
      continue;
    }
    std::rotate(asked.begin(), asked.begin() + static_cast<std::ptrdiff_t>(i),
                asked.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    return new_font(asked[0].size, asked[0].stand_in);
  }
  std::string family = name;
  if (!font_family_installed(family)) family = mapped_family(pitch_and_family);
  Font* font =
      make_font(font_face_find({family}, weight, italic), height, !font_family_installed(family));
  if (!font) return nullptr;
  if (asked.size() == kAskedKept) asked.pop_back();
  asked.insert(asked.begin(), FontAsked{height, weight, italic, pitch_and_family, name, font->size,
                                        font->stand_in});
  return font;
}

Font* font_create_fixed() {
  // The face named first where it is installed; any monospaced face otherwise.
  static const std::vector<std::string> families{"DejaVu Sans Mono", "monospace"};
  return make_font(font_face_find(families, FW_NORMAL, false), kFixedCellHeight, false);
}

void font_destroy(Font* font) {
  if (font) kept().fonts.give(font);
}

void font_metrics(const Font* font, TEXTMETRICA* metrics) {
  if (!metrics) return;
  *metrics = font ? font->size->metrics : TEXTMETRICA{};
}

int font_text_width(const Font* font, const char* text, int count) {
  if (!font || !text) return 0;
  long long width = 0;
  for (int i = 0; i < count; ++i) width += advance_of(font, static_cast<unsigned char>(text[i]));
  return static_cast<int>(std::min<long long>(width, INT_MAX));
}

void font_draw_text(const Font* font, const Surface& surface, const RECT& clip, int x, int y,
                    const char* text, int count, uint32_t pixel) {
  if (!font || !text || count <= 0 || !surface.pixels) return;
  const long long left = std::max<long long>(clip.left, 0);
  const long long top = std::max<long long>(clip.top, 0);
  const long long right = std::min<long long>(clip.right, surface.width);
  const long long bottom = std::min<long long>(clip.bottom, surface.height);
  if (left >= right || top >= bottom) return;

  const long long baseline = static_cast<long long>(y) + font->size->metrics.tmAscent;
  long long pen = x;
  for (int i = 0; i < count; ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    const FontGlyph& glyph = font_size_glyph(font->size, byte);
    raster::paint_glyph(surface, glyph.ink, pen + glyph.left, baseline - glyph.top, left, top,
                        right, bottom, pixel);
    pen += advance_of(font, glyph);
  }
}

}  // namespace platform
