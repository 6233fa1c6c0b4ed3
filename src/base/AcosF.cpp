#include "base/AcosF.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/FloatBits.h"

// The method and coefficients are those of Sun's fdlibm acos in its single-precision form
// (freely usable, as its notice says), which the desktop's C library uses: below |x| = 0.5,
// pi/2 - (x + x R(x^2)); beyond, through sqrt((1 - |x|) / 2), with R a rational function of
// degree 6 over 4. Every step is float arithmetic in the order written.

namespace vorlith {
namespace {

constexpr float kPi = 0x1.921fb4p+1f;
constexpr float kHalfPiHigh = 0x1.921fb4p+0f;
constexpr float kHalfPiLow = 0x1.4442dp-24f;
constexpr float kP0 = 0x1.555556p-3f, kP1 = -0x1.4d612p-2f, kP2 = 0x1.9c155p-3f;
constexpr float kP3 = -0x1.48228cp-5f, kP4 = 0x1.9efe08p-11f, kP5 = 0x1.23de1p-15f;
constexpr float kQ1 = -0x1.33a272p+1f, kQ2 = 0x1.02ae5ap+1f, kQ3 = -0x1.6066c2p-1f;
constexpr float kQ4 = 0x1.3b8c5cp-4f;

std::uint32_t Bits(float x) {
  return FloatBits(x);
}

float FromBits(std::uint32_t bits) {
  return FloatFromBits(bits);
}

// R(z) = P(z) / Q(z), the correction of the arc sine's first term.
float Ratio(float z) {
  const float p = z * (kP0 + z * (kP1 + z * (kP2 + z * (kP3 + z * (kP4 + z * kP5)))));
  const float q = 1.0f + z * (kQ1 + z * (kQ2 + z * (kQ3 + z * kQ4)));
  return p / q;
}

}  // namespace

float AcosF(float x) {
  const std::uint32_t bits = Bits(x);
  const std::uint32_t magnitude = bits & 0x7fffffffu;
  const bool negative = (bits >> 31) != 0;
  if (magnitude == 0x3f800000u) return negative ? kPi + 2.0f * kHalfPiLow : 0.0f;
  // A NaN passes through; |x| > 1 gives the library's positive quiet NaN (an invalid operation
  // here would give the processor's, whose sign differs between machines).
  if (magnitude > 0x7f800000u) return x + x;
  if (magnitude > 0x3f800000u) return std::numeric_limits<float>::quiet_NaN();
  if (magnitude < 0x3f000000u) {  // |x| < 0.5
    if (magnitude <= 0x23000000u) return kHalfPiHigh + kHalfPiLow;
    const float r = Ratio(x * x);
    return kHalfPiHigh - (x - (kHalfPiLow - x * r));
  }
  if (negative) {  // x <= -0.5
    const float z = (1.0f + x) * 0.5f;
    const float r = Ratio(z);
    const float s = std::sqrt(z);
    const float w = r * s - kHalfPiLow;
    return kPi - 2.0f * (s + w);
  }
  // x >= 0.5: s split into a high part df, exact when squared, and a correction c.
  const float z = (1.0f - x) * 0.5f;
  const float s = std::sqrt(z);
  const float df = FromBits(Bits(s) & 0xfffff000u);
  const float c = (z - df * df) / (s + df);
  const float w = Ratio(z) * s + c;
  return 2.0f * (df + w);
}

}  // namespace vorlith

#if defined(__EMSCRIPTEN__) || defined(VORLITH_OWN_FLOAT_FUNCTIONS)
// The browser's and Windows' C libraries give way to this one (see SinCosF.cpp).
extern "C" float acosf(float x) {
  return vorlith::AcosF(x);
}
#endif
