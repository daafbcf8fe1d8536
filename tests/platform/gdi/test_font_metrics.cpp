// Text metrics as Windows computes them from a face's OS/2 and hhea tables, and the LOGFONT
// height rule: negative heights are the em in pixels, positive ones the cell.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "gdi/font_cache.h"
#include "test_font_canvas.h"

using namespace platform;
using namespace font_test;

namespace {

const int kHeights[] = {-8, -11, -12, -16, -18, -24, -40, -127, 0, 10, 13, 16, 20, 33};

long rounded(double value) {
  return std::lround(value);
}

// The face's tables read straight from its file, apart from the module's own reading.
struct Tables {
  double upem, win_ascent, win_descent, ascender, descender, line_gap, avg_width;
};

Tables tables_of(const Font* font) {
  Tables t{};
  FT_Library library;
  EXPECT_EQ(FT_Init_FreeType(&library), 0);
  FT_Face face;
  EXPECT_EQ(FT_New_Face(library, font->size->face->file.c_str(), font->size->face->index, &face),
            0);
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  EXPECT_NE(os2, nullptr);
  EXPECT_NE(hhea, nullptr);
  if (os2 && hhea) {
    t = Tables{static_cast<double>(face->units_per_EM), static_cast<double>(os2->usWinAscent),
               static_cast<double>(os2->usWinDescent),  static_cast<double>(hhea->Ascender),
               static_cast<double>(hhea->Descender),    static_cast<double>(hhea->Line_Gap),
               static_cast<double>(os2->xAvgCharWidth)};
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return t;
}

}  // namespace

TEST(FontMetrics, CellIsAscentPlusDescent) {
  for (int height : kHeights) {
    Font* font = font_create(height, FW_NORMAL, false, "VORLA-font");
    TEXTMETRICA m = metrics_of(font);
    EXPECT_EQ(m.tmHeight, m.tmAscent + m.tmDescent) << "height " << height;
    EXPECT_GT(m.tmAscent, m.tmDescent) << "height " << height;
    EXPECT_GE(m.tmInternalLeading, 0) << "height " << height;
    EXPECT_GE(m.tmExternalLeading, 0) << "height " << height;
    font_destroy(font);
  }
}

TEST(FontMetrics, NegativeHeightIsTheCharacterHeight) {
  for (int height = -6; height >= -127; --height) {
    Font* font = font_create(height, FW_NORMAL, false, "VORLA-font");
    TEXTMETRICA m = metrics_of(font);
    EXPECT_NEAR(m.tmHeight - m.tmInternalLeading, -height, 1) << "height " << height;
    font_destroy(font);
  }
}

TEST(FontMetrics, PositiveHeightIsTheCellHeight) {
  for (int height = 6; height <= 127; ++height) {
    Font* font = font_create(height, FW_NORMAL, false, "VORLA-font");
    EXPECT_NEAR(metrics_of(font).tmHeight, height, 1) << "height " << height;
    font_destroy(font);
  }
}

TEST(FontMetrics, ZeroHeightGivesTheDefaultSixteenPixelCell) {
  Font* font = font_create(0, FW_NORMAL, false, "VORLA-font");
  EXPECT_NEAR(metrics_of(font).tmHeight, 16, 1);
  font_destroy(font);
}

TEST(FontMetrics, LargerHeightGivesATallerCell) {
  int previous = 0;
  for (int height = -4; height >= -127; --height) {
    Font* font = font_create(height, FW_NORMAL, false, "VORLA-font");
    const int cell = metrics_of(font).tmHeight;
    EXPECT_GE(cell, previous) << "height " << height;
    previous = cell;
    font_destroy(font);
  }
  Font* small = font_create(-11, FW_NORMAL, false, "VORLA-font");
  Font* medium = font_create(-16, FW_NORMAL, false, "VORLA-font");
  Font* large = font_create(-18, FW_NORMAL, false, "VORLA-font");
  EXPECT_LT(metrics_of(small).tmHeight, metrics_of(medium).tmHeight);
  EXPECT_LT(metrics_of(medium).tmHeight, metrics_of(large).tmHeight);
  EXPECT_LT(width_of(small, "Hello"), width_of(large, "Hello"));
  for (Font* font : {small, medium, large}) font_destroy(font);
}

TEST(FontMetrics, MetricsFollowTheFaceTables) {
  for (int height : kHeights) {
    Font* font = font_create(height, FW_NORMAL, false, "VORLA-font");
    const Tables t = tables_of(font);
    const double cell_units = t.win_ascent + t.win_descent;
    double ppem = height < 0 ? -height : rounded((height ? height : 16) * t.upem / cell_units);
    const double scale = ppem / t.upem;
    TEXTMETRICA m = metrics_of(font);
    EXPECT_EQ(m.tmAscent, rounded(t.win_ascent * scale)) << "height " << height;
    EXPECT_EQ(m.tmDescent, rounded(t.win_descent * scale)) << "height " << height;
    EXPECT_EQ(m.tmInternalLeading, rounded((cell_units - t.upem) * scale)) << "height " << height;
    const double gap = t.line_gap - (cell_units - (t.ascender - t.descender));
    EXPECT_EQ(m.tmExternalLeading, std::max(0L, rounded(gap * scale))) << "height " << height;
    EXPECT_EQ(m.tmAveCharWidth, rounded(t.avg_width * scale)) << "height " << height;
    font_destroy(font);
  }
}

// What a Windows GDI (Wine's, on the same face file) reports for DejaVu Sans.
TEST(FontMetrics, DejaVuSansGetsTheMetricsWindowsReports) {
  struct Expected {
    int height, cell, ascent, descent, internal, average, maximum;
  };
  const Expected expected[] = {{-11, 13, 10, 3, 2, 6, 31}, {-16, 19, 15, 4, 3, 8, 45},
                               {-18, 21, 17, 4, 3, 9, 51}, {0, 16, 13, 3, 2, 7, 39},
                               {13, 13, 10, 3, 2, 6, 31},  {-127, 148, 118, 30, 21, 64, 357}};
  for (const Expected& e : expected) {
    Font* font = font_create(e.height, FW_NORMAL, false, "DejaVu Sans");
    TEXTMETRICA m = metrics_of(font);
    EXPECT_EQ(m.tmHeight, e.cell) << "height " << e.height;
    EXPECT_EQ(m.tmAscent, e.ascent) << "height " << e.height;
    EXPECT_EQ(m.tmDescent, e.descent) << "height " << e.height;
    EXPECT_EQ(m.tmInternalLeading, e.internal) << "height " << e.height;
    EXPECT_EQ(m.tmExternalLeading, 0) << "height " << e.height;
    EXPECT_EQ(m.tmAveCharWidth, e.average) << "height " << e.height;
    EXPECT_EQ(m.tmMaxCharWidth, e.maximum) << "height " << e.height;
    font_destroy(font);
  }
}

TEST(FontMetrics, DescribesAnAnsiTrueTypeFace) {
  Font* proportional = font_create(-16, FW_NORMAL, false, "DejaVu Sans");
  Font* fixed = font_create_fixed();
  TEXTMETRICA p = metrics_of(proportional);
  TEXTMETRICA f = metrics_of(fixed);
  // Windows sets its "fixed pitch" bit for variable-pitch faces.
  EXPECT_EQ(p.tmPitchAndFamily, TMPF_TRUETYPE | TMPF_VECTOR | TMPF_FIXED_PITCH | 0x20);
  EXPECT_EQ(f.tmPitchAndFamily, TMPF_TRUETYPE | TMPF_VECTOR | FF_MODERN);
  for (const TEXTMETRICA& m : {p, f}) {
    EXPECT_EQ(m.tmCharSet, ANSI_CHARSET);
    EXPECT_EQ(m.tmFirstChar, 0x1E);
    EXPECT_EQ(m.tmLastChar, 0xFF);
    EXPECT_EQ(m.tmDefaultChar, 0x1F);
    EXPECT_EQ(m.tmBreakChar, 0x20);
    EXPECT_EQ(m.tmOverhang, 0);
    EXPECT_EQ(m.tmUnderlined, 0);
    EXPECT_EQ(m.tmStruckOut, 0);
    EXPECT_GE(m.tmMaxCharWidth, m.tmAveCharWidth);
  }
  font_destroy(proportional);
  font_destroy(fixed);
}
