// Fills and runs: the loop every fill ends in, and clipped solid boxes.
//
// They are defined here with internal linkage, so that each file that draws with them has a copy
// of its own: the compiler then knows which registers a fill uses and keeps the caller's state in
// the others across the call. One copy shared by all costs BM_Shape's filled ellipses and
// triangles 4 to 6% more instructions and bench_designer's frame 1.4% more. (The inline
// functions of raster.h that fill reach the copy of the file they are compiled in.)
//
// The loop stores four pixels at a time (SSE2) and, where the processor has AVX, eight: a plain
// loop of one pixel a store runs 3.5 times the instructions of bench_designer's frame at 0
// toppings, and SSE2 alone 16% more than with AVX (BM_Shape's filled 501 x 501 ellipse 59% more).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/surface.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__linux__)
#include <immintrin.h>
#define VORLA_FILL_AVX 1
#endif

namespace platform::raster {

namespace {

#if defined(VORLA_FILL_AVX)

// Eight pixels a store, for processors that have AVX (checked once, at the first fill).
__attribute__((target("avx"))) void fill_pixels_avx(uint32_t* to, size_t count, uint32_t pixel) {
  const __m256i eight = _mm256_set1_epi32(static_cast<int>(pixel));
  uint32_t* const end = to + count;
  // The first eight unaligned, then aligned stores from the next 32-byte boundary on (no store
  // splits a cache line), and the last eight again unaligned.
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), eight);
  to = reinterpret_cast<uint32_t*>((reinterpret_cast<uintptr_t>(to) + 32) & ~uintptr_t{31});
  for (; to + 16 <= end; to += 16) {
    _mm256_store_si256(reinterpret_cast<__m256i*>(to), eight);
    _mm256_store_si256(reinterpret_cast<__m256i*>(to + 8), eight);
  }
  if (to + 8 <= end) _mm256_store_si256(reinterpret_cast<__m256i*>(to), eight);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 8), eight);
}

const bool have_avx = __builtin_cpu_supports("avx");

#endif

// Writes `count` copies of `pixel` from `to` on: the one loop every fill ends in.
[[gnu::noinline]] void fill_pixels_run(uint32_t* to, size_t count, uint32_t pixel) {
#if defined(__wasm_bulk_memory__)
  // In a page, memory.copy runs at the browser's own memcpy speed: a long run is written by
  // copying what is already written, doubling each time.
  if (count >= 1024) {
    fill_pixels_run(to, 256, pixel);
    for (size_t done = 256; done < count;) {
      const size_t piece = std::min(done, count - done);
      std::memcpy(to + done, to, piece * sizeof *to);
      done += piece;
    }
    return;
  }
#endif
#if defined(VORLA_FILL_AVX)
  if (count >= 32 && have_avx) {
    fill_pixels_avx(to, count, pixel);
    return;
  }
#endif
#if defined(__SSE2__)
  if (count >= 8) {
    const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
    uint32_t* const end = to + count;
    for (; to + 8 <= end; to += 8) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to), four);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 4), four);
    }
    if (to + 4 <= end) _mm_storeu_si128(reinterpret_cast<__m128i*>(to), four);
    // The last four pixels again, overlapping what is already written.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), four);
    return;
  }
#else
  if (count >= 8) {
    // Two pixels per 64-bit store; memcpy keeps it free of aliasing questions.
    const uint64_t two = static_cast<uint64_t>(pixel) << 32 | pixel;
    if (reinterpret_cast<uintptr_t>(to) & 4) {
      *to++ = pixel;
      --count;
    }
    for (; count >= 2; count -= 2, to += 2) std::memcpy(to, &two, sizeof two);
  }
#endif
  for (size_t i = 0; i < count; ++i) to[i] = pixel;
}

// The same, with runs of up to 32 pixels (the rows of small shapes and glyphs) written in place
// in a few overlapping stores, which saves a call and a loop a run: without it bench_designer's
// frame runs 8% more instructions at 200 toppings, BM_Shape's wide ellipse outlines up to 32%.
[[maybe_unused]] inline void fill_pixels(uint32_t* to, size_t count, uint32_t pixel) {
  if (count < 4) {
    // First, middle and last: one to three pixels without a loop.
    if (count > 0) {
      to[0] = pixel;
      to[count / 2] = pixel;
      to[count - 1] = pixel;
    }
    return;
  }
#if defined(__SSE2__)
  if (count <= 32) {
    // Stores of four from both ends, overlapping in the middle: at most eight.
    const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
    uint32_t* const end = to + count;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), four);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), four);
    if (count > 8) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 4), four);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 8), four);
    }
    if (count > 16) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8), four);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 12), four);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 12), four);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 16), four);
    }
    return;
  }
#endif
  if (count >= 8) {
    fill_pixels_run(to, count, pixel);
    return;
  }
  for (size_t i = 0; i < count; ++i) to[i] = pixel;
}

// Fills [x0, x1) x [y0, y1), clipped.
[[gnu::noinline, maybe_unused]] void fill_rect(const Surface& surface, long long x0, long long y0,
                                               long long x1, long long y1, uint32_t pixel) {
  const long long left = std::max<long long>(x0, 0);
  const long long right = std::min<long long>(x1, surface.width);
  const long long top = std::max<long long>(y0, 0);
  const long long bottom = std::min<long long>(y1, surface.height);
  if (left >= right || top >= bottom) return;
  const size_t count = static_cast<size_t>(right - left);
  uint32_t* row = surface.pixels + top * surface.stride + left;
  if (count == static_cast<size_t>(surface.stride)) {
    fill_pixels(row, count * static_cast<size_t>(bottom - top), pixel);  // rows are contiguous
    return;
  }
  for (long long y = top; y < bottom; ++y, row += surface.stride) fill_pixels(row, count, pixel);
}

}  // namespace

}  // namespace platform::raster
