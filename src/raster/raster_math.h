// Exact integer helpers of the rasteriser. Screen coordinates are 32-bit and
// may lie far outside the surface (a projected point near the eye), so the
// step formulas of lines and polygon edges multiply values of up to 2^33;
// these helpers compute them exactly, in 64 bits when the product fits and
// in 128 bits when it does not.
#pragma once

#include <cstdint>

namespace ws::raster {

__extension__ typedef __int128 Int128;

// floor(a / b) for b > 0.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// floor((a * b + c) / d) for d > 0. The result must fit in 64 bits.
inline std::int64_t MulAddFloorDiv(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
  std::int64_t product = 0;
  std::int64_t sum = 0;
  if (!__builtin_mul_overflow(a, b, &product) && !__builtin_add_overflow(product, c, &sum)) {
    return FloorDiv(sum, d);
  }
  const Int128 n = static_cast<Int128>(a) * b + c;
  Int128 q = n / d;
  if (n % d != 0 && n < 0) --q;
  return static_cast<std::int64_t>(q);
}

// Walks q(k) = floor((a + k * b) / d) for k = k0, k0 + 1, ... with one
// addition per step (b >= 0, d > 0). Valid while b and d stay below 2^62.
struct FloorStepper {
  std::int64_t q = 0;   // current quotient
  std::int64_t r = 0;   // current remainder, 0 <= r < d
  std::int64_t dq = 0;  // b / d
  std::int64_t dr = 0;  // b % d
  std::int64_t d = 1;

  void Start(std::int64_t a, std::int64_t b, std::int64_t divisor, std::int64_t k0) {
    d = divisor;
    dq = b / d;
    dr = b % d;
    q = MulAddFloorDiv(k0, b, a, d);
    // The remainder is below d, so arithmetic modulo 2^64 gives it exactly
    // even when a + k0 * b itself does not fit.
    r = static_cast<std::int64_t>(static_cast<std::uint64_t>(a) +
                                  static_cast<std::uint64_t>(k0) * static_cast<std::uint64_t>(b) -
                                  static_cast<std::uint64_t>(q) * static_cast<std::uint64_t>(d));
  }
  void Step() {
    q += dq;
    r += dr;
    if (r >= d) {
      ++q;
      r -= d;
    }
  }
};

}  // namespace ws::raster
