// Glyphs: rows of ink painted from their masks.
#include "raster.h"

#if defined(__x86_64__) && defined(__linux__)
#include <immintrin.h>
#define VORLA_MASKED_AVX512 1
#endif

namespace platform::raster {

#if defined(VORLA_MASKED_AVX512)
namespace {

const bool have_avx512 = __builtin_cpu_supports("avx512f");

// One masked store a row, in place of a store a pixel of ink, for the glyphs up to 16 pixels
// wide that most text is made of (bench_gdi's BM_Text).
__attribute__((target("avx512f"))) void paint_masked_rows_avx512(uint32_t* origin, ptrdiff_t stride,
                                                                 const uint16_t* masks, int rows,
                                                                 uint32_t pixel) {
  const __m512i sixteen = _mm512_set1_epi32(static_cast<int>(pixel));
  for (int row = 0; row < rows; ++row, origin += stride) {
    _mm512_mask_storeu_epi32(origin, static_cast<__mmask16>(masks[row]), sixteen);
  }
}

}  // namespace
#endif

void paint_masked_rows(uint32_t* origin, ptrdiff_t stride, const uint16_t* masks, int rows,
                       uint32_t pixel) {
#if defined(VORLA_MASKED_AVX512)
  if (have_avx512) {
    paint_masked_rows_avx512(origin, stride, masks, rows, pixel);
    return;
  }
#endif
  for (int row = 0; row < rows; ++row, origin += stride) {
    for (unsigned bits = masks[row]; bits != 0; bits &= bits - 1) {
      origin[__builtin_ctz(bits)] = pixel;
    }
  }
}

}  // namespace platform::raster
