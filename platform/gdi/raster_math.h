// Integer arithmetic the scan converters share: divisions rounded down and up, with a 128-bit
// fallback for coordinates whose products overflow 64 bits.
#pragma once

#include <cmath>

namespace platform::raster {

using Wide = __int128;

// floor(num / den) and ceil(num / den), for den > 0.
inline long long floor_div(Wide num, Wide den) {
  Wide q = num / den;
  if (num % den < 0) --q;
  return static_cast<long long>(q);
}

inline long long ceil_div(Wide num, Wide den) {
  Wide q = num / den;
  if (num % den > 0) ++q;
  return static_cast<long long>(q);
}

// ceil(a * b / den), for den > 0, in 64 bits unless the product needs more.
inline long long ceil_mul_div(long long a, long long b, long long den) {
  long long num;
  if (__builtin_mul_overflow(a, b, &num)) return ceil_div(Wide{a} * b, den);
  long long q = num / den;
  if (num % den > 0) ++q;
  return q;
}

// A coordinate pulled into [lo, hi]: spans are clipped afterwards, so only the order matters.
inline int clamp_to(long long value, int lo, int hi) {
  if (value < lo) return lo;
  if (value > hi) return hi;
  return static_cast<int>(value);
}

inline long long round_half_up(double value) {
  return static_cast<long long>(std::floor(value + 0.5));
}

}  // namespace platform::raster
