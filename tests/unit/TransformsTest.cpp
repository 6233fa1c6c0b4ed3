#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "FakeRenderDevice.h"
#include "base/AcosF.h"
#include "base/MatrixMath.h"
#include "base/SinCosF.h"
#include "graphics/Transforms.h"

namespace vorlith {
namespace {

using Rect = std::array<int, 4>;

Rect RectOf(const Viewport& v) {
  return {v.x, v.y, v.width, v.height};
}

bool SameBits(const Matrix& a, const Matrix& b) {
  return std::memcmp(&a, &b, sizeof(Matrix)) == 0;
}

class TransformsTest : public ::testing::Test {
 protected:
  // Where a model point drawn with the given world matrix lands: back-buffer pixels and depth.
  Vec3 Project(const Vec3& point, const Matrix& world = MatrixIdentity()) {
    const Matrix all = MatrixMultiply(MatrixMultiply(world, device.view), device.projection);
    const Vec3 ndc = Vec3TransformCoord(point, all);
    const Viewport& v = device.viewport;
    return {v.x + (ndc.x + 1.0f) * 0.5f * v.width, v.y + (1.0f - ndc.y) * 0.5f * v.height,
            v.minZ + ndc.z * (v.maxZ - v.minZ)};
  }

  FakeRenderDevice device;
};

TEST_F(TransformsTest, PointsLandOnThePlayViewportWhichSplitsTheBackBufferAndZeroAnglesSkipTurns) {
  SetupPlayfieldScene(&device);
  struct Case {
    Vec3 point;
    Matrix world;
    float x, y;
  } cases[] = {
      {{125, 125, 0}, MatrixIdentity(), 640, 480},  // the field's bottom-right
      // A model's nose (+z) points up the screen, 10 units being 32 pixels, from the field's
      // centre at (400, 240); a turn of 90 degrees about z turns it clockwise; a scale of 2
      // doubles it. (Its top-left at (160, 0) follows, and shows in GlRenderDeviceTest.)
      {{0, 0, 10}, MakeWorldMatrix(50, 50, 0, 0, 0, 0, 1.0f), 400, 208},
      {{0, 0, 10}, MakeWorldMatrix(50, 50, 0, 0, 0, 90, 1.0f), 432, 240},
      {{0, 0, 10}, MakeWorldMatrix(50, 50, 0, 0, 0, 0, 2.0f), 400, 176},
  };
  for (const Case& c : cases) {
    const Vec3 seen = Project(c.point, c.world);
    EXPECT_NEAR(seen.x, c.x, 1e-3f) << c.x << ", " << c.y;
    EXPECT_NEAR(seen.y, c.y, 1e-3f) << c.x << ", " << c.y;
  }
  // Depth holds z from 99 (nearest) down to -900; a model's +y faces the viewer.
  EXPECT_NEAR(Project({50, 50, 99}).z, 0.0f, 1e-5f);
  EXPECT_NEAR(Project({50, 50, -900}).z, 1.0f, 1e-5f);
  const Matrix upright = MakeWorldMatrix(50, 50, 0, 0, 0, 0, 1.0f);
  EXPECT_LT(Project({0, 10, 0}, upright).z, Project({0, 0, 0}, upright).z);
  // An angle of zero skips its turn; a full turn is applied.
  const Matrix expected =
      MatrixMultiply(MatrixRotationX(1.5707964f), MatrixTranslation(12.5f, -3.0f, 0.25f));
  EXPECT_TRUE(SameBits(MakeWorldMatrix(12.5f, -3.0f, 0.25f, 0, 0, 0, 1.0f), expected));
  const Matrix full = MakeWorldMatrix(12.5f, -3.0f, 0.25f, 360, 360, 360, 1.0f);
  EXPECT_FALSE(SameBits(full, expected));
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(full.m[i / 4][i % 4], expected.m[i / 4][i % 4], 1e-4f);

  // The viewports split the back buffer by quarters.
  device.width = 641;
  device.height = 400;
  SetHudViewport(&device);
  EXPECT_EQ(RectOf(device.viewport), (Rect{0, 0, 160, 400}));
  SetupPlayfieldScene(&device);
  EXPECT_EQ(RectOf(device.viewport), (Rect{160, 0, 480, 400}));

  device.hasBackBuffer = false;
  SetupPlayfieldScene(&device);
  EXPECT_EQ(RectOf(device.viewport), (Rect{0, 0, 0, 0}));
  // Without a device nothing is drawn and the back buffer has no size.
  SetupPlayfieldScene(nullptr);
  SetHudViewport(nullptr);
  int width = 5, height = 5;
  GetBackBufferSize(nullptr, width, height);
  EXPECT_EQ(std::tuple(width, height), std::tuple(0, 0));
  // The play field's scene culls, lights and tests depth.
  device.world = MatrixTranslation(1, 2, 3);
  device.hasBackBuffer = true;
  SetupPlayfieldScene(&device);
  EXPECT_EQ(std::tuple(device.cullMode, device.lighting && device.lightEnabled && device.depthTest,
                       device.ambient, device.filter),
            std::tuple(CullMode::CounterClockwise, true, 0x006F6F6Fu, TextureFilter::Linear));
  EXPECT_TRUE(SameBits(device.world, MatrixIdentity()));
  EXPECT_NEAR(device.light.direction.y, -0.57735f, 1e-5f);
}

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
