// The pixel routines every fill and glyph ends in: a run writes exactly its pixels whatever its
// length and alignment (short runs are written with overlapping stores), and masked rows paint
// exactly the pixels of their set bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gdi/raster.h"

TEST(Raster, RunsWriteExactlyTheirPixelsAtAnyLengthAndAlignment) {
  std::vector<uint32_t> row(200);
  for (size_t start = 20; start < 28; ++start) {
    for (size_t count = 0; count <= 140; ++count) {
      std::fill(row.begin(), row.end(), 0u);
      platform::raster::fill_pixels(row.data() + start, count, 0xABCDEF);
      for (size_t i = 0; i < row.size(); ++i) {
        const bool inside = i >= start && i < start + count;
        ASSERT_EQ(row[i], inside ? 0xABCDEFu : 0u)
            << "start " << start << ", count " << count << ", pixel " << i;
      }
    }
  }
}

TEST(Raster, MaskedRowsPaintTheirBitsOnly) {
  constexpr int kStride = 40;
  const uint16_t masks[4] = {0x0001, 0x8000, 0xA5A5, 0xFFFF};
  std::vector<uint32_t> pixels(kStride * 6, 7);
  platform::raster::paint_masked_rows(pixels.data() + kStride + 3, kStride, masks, 4, 9);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < kStride; ++x) {
      const bool inked = y >= 1 && y <= 4 && x >= 3 && x < 19 && (masks[y - 1] >> (x - 3) & 1);
      ASSERT_EQ(pixels[y * kStride + x], inked ? 9u : 7u) << x << "," << y;
    }
  }
}
