#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "base/AcosF.h"
#include "base/SinCosF.h"

namespace vorlith {
namespace {

using std::bit_cast;

bool SameBits(float a, float b) {
  return bit_cast<std::uint32_t>(a) == bit_cast<std::uint32_t>(b) ||
         (std::isnan(a) && std::isnan(b));
}

void ExpectLibraryBits(float x) {
  const float librarySine = std::sin(x), libraryCosine = std::cos(x);
  float sine = 0, cosine = 0;
  SinCosF(x, sine, cosine);
  EXPECT_TRUE(SameBits(SinF(x), librarySine) && SameBits(sine, librarySine))
      << "sin " << std::hexfloat << x;
  EXPECT_TRUE(SameBits(CosF(x), libraryCosine) && SameBits(cosine, libraryCosine))
      << "cos " << std::hexfloat << x;
  EXPECT_TRUE(SameBits(TanF(x), std::tan(x))) << "tan " << std::hexfloat << x;
}

// The replacement must give this machine's C library's bits. That library picks its FMA build
// on CPUs with FMA; elsewhere its plain build may round a few inputs differently. Headings and
// phases as the movers form them, in whole and tenth degrees; then a stride through every
// float, through every branch: tiny, below pi/4, the one-step reduction, the 4/pi table,
// infinities and NaNs (tools/math_scan.sh checks all 2^32).
TEST(SinCosFTest, GameAnglesAndAStrideThroughAllFloatsGiveTheLibrarysBits) {
#if defined(__GLIBC__) && (defined(__x86_64__) || defined(__i386__))
  if (!__builtin_cpu_supports("fma")) GTEST_SKIP() << "the C library's sinf has no FMA here";
#else
  GTEST_SKIP() << "compared against glibc on x86-64 only";
#endif
  constexpr float kDegToRad = 0.017453292f;
  for (int tenth = -100000; tenth <= 100000 && !HasFailure(); ++tenth) {
    ExpectLibraryBits(static_cast<float>(tenth) * 0.1f * kDegToRad);
    if (tenth % 10 == 0) ExpectLibraryBits(static_cast<float>(tenth / 10) * kDegToRad);
  }
  for (std::uint64_t bits = 0; bits < (1ull << 32) && !HasFailure(); bits += 4093)
    ExpectLibraryBits(bit_cast<float>(static_cast<std::uint32_t>(bits)));
  for (float x : {INFINITY, -INFINITY, NAN, -NAN, 0.0f, -0.0f, 120.0f, -120.0f, 0.78539816f})
    ExpectLibraryBits(x);
}

// AcosF gives glibc's single-precision acos bits, NaNs too (their sign is part of the
// result): a stride through [-1, 1] and the ends.
TEST(AcosFTest, GivesTheLibrarysBits) {
#ifndef __GLIBC__
  GTEST_SKIP() << "compared against glibc only";
#endif
  const auto expectLibraryBits = [](float x) {
    EXPECT_EQ(bit_cast<std::uint32_t>(AcosF(x)), bit_cast<std::uint32_t>(std::acos(x)))
        << std::hexfloat << x;
  };
  for (std::uint32_t bits = 0; bits <= 0x3f800000u && !HasFailure(); bits += 257) {
    expectLibraryBits(bit_cast<float>(bits));
    expectLibraryBits(-bit_cast<float>(bits));
  }
  for (float x : {1.0f, -1.0f, 0.5f, -0.5f, 1.0000001f, INFINITY, NAN, 1e-30f})
    expectLibraryBits(x);
}

}  // namespace
}  // namespace vorlith
