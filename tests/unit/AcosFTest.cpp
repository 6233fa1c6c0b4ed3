#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/AcosF.h"

namespace vorlith {
namespace {

// The replacement gives this machine's C library's bits (glibc's single-precision acos);
// tools/math_scan.sh checks all 2^32 inputs, this a stride through [-1, 1] and the ends.
TEST(AcosFTest, GivesTheLibrarysBits) {
#ifndef __GLIBC__
  GTEST_SKIP() << "compared against glibc only";
#endif
  auto expectLibraryBits = [](float x) {
    const float mine = AcosF(x), library = std::acos(x);
    std::uint32_t a, b;
    std::memcpy(&a, &mine, 4);
    std::memcpy(&b, &library, 4);
    EXPECT_EQ(a, b) << std::hexfloat << x;  // NaNs too: their sign is part of the result
  };
  for (std::uint32_t bits = 0; bits <= 0x3f800000u; bits += 257) {
    float x;
    std::memcpy(&x, &bits, sizeof x);
    expectLibraryBits(x);
    expectLibraryBits(-x);
    if (::testing::Test::HasFailure()) return;
  }
  for (float x : {1.0f, -1.0f, 0.5f, -0.5f, 1.0000001f, INFINITY, NAN, 1e-30f})
    expectLibraryBits(x);
}

}  // namespace
}  // namespace vorlith
