#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/SinCosF.h"

namespace vorlith {
namespace {

std::uint32_t Bits(float x) {
  std::uint32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

bool SameBits(float a, float b) {
  return Bits(a) == Bits(b) || (std::isnan(a) && std::isnan(b));
}

// The replacement must give this machine's C library's bits. That library picks its FMA build
// on CPUs with FMA; elsewhere its plain build may round a few inputs differently.
class SinCosFTest : public ::testing::Test {
 protected:
  void SetUp() override {
#if defined(__GLIBC__) && (defined(__x86_64__) || defined(__i386__))
    if (!__builtin_cpu_supports("fma")) GTEST_SKIP() << "the C library's sinf has no FMA here";
#else
    GTEST_SKIP() << "compared against glibc on x86-64 only";
#endif
  }

  static void ExpectLibraryBits(float x) {
    const float librarySine = std::sin(x), libraryCosine = std::cos(x);
    float sine = 0, cosine = 0;
    SinCosF(x, sine, cosine);
    EXPECT_TRUE(SameBits(SinF(x), librarySine) && SameBits(sine, librarySine))
        << "sin " << std::hexfloat << x;
    EXPECT_TRUE(SameBits(CosF(x), libraryCosine) && SameBits(cosine, libraryCosine))
        << "cos " << std::hexfloat << x;
    EXPECT_TRUE(SameBits(TanF(x), std::tan(x))) << "tan " << std::hexfloat << x;
  }
};

// Headings and phases as the movers form them, in whole and tenth degrees.
TEST_F(SinCosFTest, GameAnglesGiveTheLibrarysBits) {
  constexpr float kDegToRad = 0.017453292f;
  for (int tenth = -100000; tenth <= 100000; ++tenth) {
    ExpectLibraryBits(static_cast<float>(tenth) * 0.1f * kDegToRad);
    if (tenth % 10 == 0) ExpectLibraryBits(static_cast<float>(tenth / 10) * kDegToRad);
    if (HasFailure()) return;
  }
}

// A stride through every float, through every branch: tiny, below pi/4, the one-step
// reduction, the 4/pi table, infinities and NaNs (tools/math_scan.sh checks all 2^32).
TEST_F(SinCosFTest, StrideThroughAllFloatsGivesTheLibrarysBits) {
  for (std::uint64_t bits = 0; bits < (1ull << 32); bits += 4093) {
    float x;
    const auto word = static_cast<std::uint32_t>(bits);
    std::memcpy(&x, &word, sizeof x);
    ExpectLibraryBits(x);
    if (HasFailure()) return;
  }
  for (float x : {INFINITY, -INFINITY, NAN, -NAN, 0.0f, -0.0f, 120.0f, -120.0f, 0.78539816f})
    ExpectLibraryBits(x);
}

}  // namespace
}  // namespace vorlith
