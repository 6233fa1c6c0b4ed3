#include "base/SinCosF.h"

#include <cmath>
#include <cstdint>

#include "base/FloatBits.h"

// The method (and its coefficients) is the one of Arm's optimized-routines sinf/cosf
// (MIT licence), which the desktop's C library uses: the argument is reduced to [-pi/4, pi/4]
// in double precision (one fused multiply-subtract below 120, a 4/pi table above), then one
// of two polynomials gives the sine or the cosine. Every a * b + c below is one fused
// multiply-add, as the library's FMA build of those functions computes it.

namespace vorlith {
namespace {

struct Polynomial {
  double c0, c1, c2, c3, c4;  // cosine: c0 + c1 x^2 + ... + c4 x^8
  double s1, s2, s3;          // sine: x + s1 x^3 + s2 x^5 + s3 x^7
};

// The second set gives -cos, so quadrants 2 and 3 need no extra negation.
constexpr Polynomial kPolynomials[2] = {
    {0x1p0, -0x1.ffffffd0c621cp-2, 0x1.55553e1068f19p-5, -0x1.6c087e89a359dp-10,
     0x1.99343027bf8c3p-16, -0x1.555545995a603p-3, 0x1.1107605230bc4p-7, -0x1.994eb3774cf24p-13},
    {-0x1p0, 0x1.ffffffd0c621cp-2, -0x1.55553e1068f19p-5, 0x1.6c087e89a359dp-10,
     -0x1.99343027bf8c3p-16, -0x1.555545995a603p-3, 0x1.1107605230bc4p-7, -0x1.994eb3774cf24p-13},
};
constexpr double kQuadrantSign[4] = {1.0, -1.0, -1.0, 1.0};
constexpr double kTwoOverPiScaled = 0x1.45F306DC9C883p+23;  // 2/pi * 2^24
constexpr double kHalfPi = 0x1.921FB54442D18p0;
constexpr double kPiScaled = 0x1.921FB54442D18p-62;  // pi * 2^-64

// 4/pi to 192 bits, each entry 8 bits further on than the one before.
constexpr std::uint32_t kFourOverPi[24] = {
    0xa2,       0xa2f9,     0xa2f983,   0xa2f9836e, 0xf9836e4e, 0x836e4e44, 0x6e4e4415, 0x4e441529,
    0x441529fc, 0x1529fc27, 0x29fc2757, 0xfc2757d1, 0x2757d1f5, 0x57d1f534, 0xd1f534dd, 0xf534ddc0,
    0x34ddc0db, 0xddc0db62, 0xc0db6295, 0xdb629599, 0x6295993c, 0x95993c43, 0x993c4390, 0x3c439041,
};

// Exponent and top mantissa bits of |x|; the thresholds below are written in them.
constexpr std::uint32_t kTopTiny = 0x398;     // |x| < 2^-12: sin x = x, cos x = 1
constexpr std::uint32_t kTopQuarter = 0x3f4;  // |x| < pi/4: no reduction
constexpr std::uint32_t kTopSmall = 0x42f;    // |x| < 120: one-step reduction
constexpr std::uint32_t kTopInfinite = 0x7f8;

std::uint32_t Bits(float x) {
  return FloatBits(x);
}

float FromBits(std::uint32_t bits) {
  return FloatFromBits(bits);
}

std::uint32_t Top12(std::uint32_t bits) {
  return (bits >> 20) & 0x7ff;
}

struct SinCos {
  double sine, cosine;
};

// x is the reduced argument with its quadrant's sign applied (the sine is odd), x2 = x * x.
SinCos Evaluate(double x, double x2, const Polynomial& p) {
  const double x3 = x2 * x, x4 = x2 * x2;
  const double x5 = x3 * x2, x6 = x4 * x2;
  const double sineTail = std::fma(x2, p.s3, p.s2);
  const double cosineTail = std::fma(x2, p.c4, p.c3);
  const double cosineHead = std::fma(x2, p.c1, p.c0);
  const double sine = std::fma(x3, p.s1, x);
  const double cosine = std::fma(x4, p.c2, cosineHead);
  return {std::fma(x5, sineTail, sine), std::fma(x6, cosineTail, cosine)};
}

// |x| < 120: the remainder modulo pi/2 in one fused step; quadrant in n.
double ReduceSmall(double x, int& n) {
  const double r = x * kTwoOverPiScaled;
  n = (static_cast<int>(r) + 0x800000) >> 24;
  return std::fma(-static_cast<double>(n), kHalfPi, x);
}

// |x| >= 120 (sign ignored): an exact fixed-point product with 96 bits of 4/pi.
double ReduceLarge(std::uint32_t bits, int& n) {
  const std::uint32_t* table = &kFourOverPi[(bits >> 26) & 15];
  const int shift = (bits >> 23) & 7;
  std::uint32_t mantissa = ((bits & 0xffffff) | 0x800000) << shift;
  std::uint64_t high = static_cast<std::uint32_t>(mantissa * table[0]);
  const std::uint64_t middle = static_cast<std::uint64_t>(mantissa) * table[4];
  const std::uint64_t low = static_cast<std::uint64_t>(mantissa) * table[8];
  std::uint64_t fraction = ((low >> 32) | (high << 32)) + middle;
  const std::uint64_t quadrant = (fraction + (1ull << 61)) >> 62;
  fraction -= quadrant << 62;
  n = static_cast<int>(quadrant);
  return static_cast<double>(static_cast<std::int64_t>(fraction)) * kPiScaled;
}

// The sine and cosine of a finite |x| >= pi/4, already swapped for odd quadrants.
SinCos Reduced(float x) {
  const std::uint32_t bits = Bits(x);
  int n = 0;
  int quadrant = 0;
  double r = 0.0;
  if (Top12(bits) < kTopSmall) {
    r = ReduceSmall(x, n);
    quadrant = n;
  } else {
    r = ReduceLarge(bits, n);
    quadrant = n + static_cast<int>(bits >> 31);
  }
  const SinCos v =
      Evaluate(r * kQuadrantSign[quadrant & 3], r * r, kPolynomials[(quadrant & 2) ? 1 : 0]);
  return (n & 1) ? SinCos{v.cosine, v.sine} : v;
}

// A NaN passes through; an infinity gives the NaN glibc gives on x86-64, negative (an invalid
// operation here would give the processor's, whose sign differs between machines).
float Invalid(float x) {
  return std::isnan(x) ? x + x : FromBits(0xffc00000u);
}

// The tangent kernel on [-pi/4, pi/4] (Sun's fdlibm, single precision: freely usable, as its
// notice says): x + y is the reduced argument split into two floats; odd is -1 for the
// quadrants where the result is -1/tan.
constexpr float kTangent[13] = {
    0x1.555556p-2f,  0x1.111112p-3f,   0x1.ba1ba2p-5f,  0x1.664f48p-6f,  0x1.226e3ep-7f,
    0x1.d6d22cp-9f,  0x1.7dbc9p-10f,   0x1.344d9p-11f,  0x1.026f72p-12f, 0x1.47e88ap-14f,
    0x1.2b80f4p-14f, -0x1.375cbep-16f, 0x1.b2a708p-16f,
};
constexpr float kQuarterPi = 0x1.921fb4p-1f;
constexpr float kQuarterPiLow = 0x1.4442dp-25f;

float TangentKernel(float x, float y, int odd) {
  const std::uint32_t bits = Bits(x);
  const std::uint32_t magnitude = bits & 0x7fffffffu;
  const float sign = (bits >> 31) ? -1.0f : 1.0f;
  if (magnitude < 0x39000000u) {  // |x| < 2^-13
    if (magnitude == 0 && odd == -1) return 1.0f / std::fabs(x);
    return odd == 1 ? x : -1.0f / x;
  }
  const bool large = magnitude >= 0x3f2ca140u;  // |x| >= 0.6744: tan(pi/4 - x) instead
  if (large) {
    if (sign < 0) {
      x = -x;
      y = -y;
    }
    x = (kQuarterPi - x) + (kQuarterPiLow - y);
    y = 0.0f;
    if (std::fabs(x) < 0x1p-13f) return sign * odd * (1.0f - 2 * odd * x);
  }
  const float* t = kTangent;
  const float z = x * x, w = z * z;
  float r = t[1] + w * (t[3] + w * (t[5] + w * (t[7] + w * (t[9] + w * t[11]))));
  const float v = z * (t[2] + w * (t[4] + w * (t[6] + w * (t[8] + w * (t[10] + w * t[12])))));
  const float s = z * x;
  r = y + z * (s * (r + v) + y);
  r += t[0] * s;
  const float sum = x + r;
  if (large) {
    const float o = static_cast<float>(odd);
    return sign * (o - 2.0f * (x - (sum * sum / (sum + o) - r)));
  }
  if (odd == 1) return sum;
  // -1 / (x + r), with the quotient's error compensated.
  const float head = FromBits(Bits(sum) & 0xfffff000u);
  const float tail = r - (head - x);
  const float a = -1.0f / sum;
  const float t0 = FromBits(Bits(a) & 0xfffff000u);
  const float e = 1.0f + t0 * head;
  return t0 + a * (e + t0 * tail);
}

}  // namespace

float SinF(float x) {
  const std::uint32_t top = Top12(Bits(x));
  if (top < kTopTiny) return x;
  if (top < kTopQuarter)
    return static_cast<float>(Evaluate(x, double(x) * x, kPolynomials[0]).sine);
  if (top < kTopInfinite) return static_cast<float>(Reduced(x).sine);
  return Invalid(x);
}

float CosF(float x) {
  const std::uint32_t top = Top12(Bits(x));
  if (top < kTopTiny) return 1.0f;
  if (top < kTopQuarter)
    return static_cast<float>(Evaluate(x, double(x) * x, kPolynomials[0]).cosine);
  if (top < kTopInfinite) return static_cast<float>(Reduced(x).cosine);
  return Invalid(x);
}

float TanF(float x) {
  const std::uint32_t bits = Bits(x);
  const std::uint32_t magnitude = bits & 0x7fffffffu;
  if (magnitude <= 0x3f490fdau) return TangentKernel(x, 0.0f, 1);  // |x| <= pi/4
  if (magnitude >= 0x7f800000u) return Invalid(x);
  int n = 0;
  double r = 0.0;
  if (Top12(bits) < kTopSmall) {
    const double scaled = double(x) * kTwoOverPiScaled;
    n = (static_cast<int>(scaled) + 0x800000) >> 24;
    r = double(x) - n * kHalfPi;
  } else {
    r = ReduceLarge(bits, n);
    if (bits >> 31) r = -r;
  }
  const float high = static_cast<float>(r);
  const float low = static_cast<float>(r - high);
  return TangentKernel(high, low, 1 - ((n & 1) << 1));
}

void SinCosF(float x, float& sine, float& cosine) {
  sine = SinF(x);
  cosine = CosF(x);
}

}  // namespace vorlith

#if defined(__EMSCRIPTEN__) || defined(VORLITH_OWN_FLOAT_FUNCTIONS)
// The browser's and Windows' C libraries give way to these (the linker finds them in the game's
// platform library before it reaches the C library), so std::sin, std::cos and std::tan on
// floats, and the sincosf the compiler may merge sine and cosine into, give the desktop's bits.
extern "C" {
float sinf(float x) {
  return vorlith::SinF(x);
}
float cosf(float x) {
  return vorlith::CosF(x);
}
float tanf(float x) {
  return vorlith::TanF(x);
}
void sincosf(float x, float* sine, float* cosine) {
  vorlith::SinCosF(x, *sine, *cosine);
}
}
#endif
