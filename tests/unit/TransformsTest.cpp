#include <gtest/gtest.h>

#include <cstring>

#include "RecordingRenderDevice.h"
#include "graphics/MatrixMath.h"
#include "graphics/Transforms.h"

namespace vorlith {
namespace {

struct ScreenPoint {
  float x, y, depth;
};

class TransformsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGraphicsDevice(&device); }
  void TearDown() override { SetGraphicsDevice(nullptr); }

  // Where a model point drawn with the given world matrix lands in back-buffer pixels.
  ScreenPoint Project(const Vec3& modelPoint, const Matrix& world) {
    const Matrix all = MatrixMultiply(MatrixMultiply(world, device.view), device.projection);
    const Vec3 ndc = Vec3TransformCoord(modelPoint, all);
    const Viewport& v = device.viewport;
    return {v.x + (ndc.x + 1.0f) * 0.5f * v.width, v.y + (1.0f - ndc.y) * 0.5f * v.height,
            v.minZ + ndc.z * (v.maxZ - v.minZ)};
  }
  ScreenPoint ProjectWorld(float x, float y, float z) {
    return Project(Vec3{x, y, z}, MatrixIdentity());
  }

  RecordingRenderDevice device;
};

TEST_F(TransformsTest, PlayfieldCornersAndCentreLandOnThePlayViewport) {
  SetupPlayfieldScene();
  EXPECT_EQ(device.viewport.x, 160);
  EXPECT_EQ(device.viewport.width, 480);
  EXPECT_EQ(device.viewport.height, 480);
  const ScreenPoint centre = ProjectWorld(50, 50, 0);
  EXPECT_NEAR(centre.x, 400.0f, 1e-3f);
  EXPECT_NEAR(centre.y, 240.0f, 1e-3f);
  const ScreenPoint topLeft = ProjectWorld(-25, -25, 0);
  EXPECT_NEAR(topLeft.x, 160.0f, 1e-3f);
  EXPECT_NEAR(topLeft.y, 0.0f, 1e-3f);
  const ScreenPoint bottomRight = ProjectWorld(125, 125, 0);
  EXPECT_NEAR(bottomRight.x, 640.0f, 1e-3f);
  EXPECT_NEAR(bottomRight.y, 480.0f, 1e-3f);
  // The depth range holds z from 99 (nearest) down to -900.
  EXPECT_NEAR(ProjectWorld(50, 50, 99).depth, 0.0f, 1e-5f);
  EXPECT_NEAR(ProjectWorld(50, 50, -900).depth, 1.0f, 1e-5f);
  EXPECT_LT(ProjectWorld(50, 50, 10).depth, centre.depth);
}

TEST_F(TransformsTest, ModelNosePointsUpTheScreenAndTurnsClockwise) {
  SetupPlayfieldScene();
  const Matrix upright = MakeWorldMatrix(50, 50, 0, 0, 0, 0, 1.0f);
  const ScreenPoint nose = Project(Vec3{0, 0, 10}, upright);
  EXPECT_NEAR(nose.x, 400.0f, 1e-3f);
  EXPECT_NEAR(nose.y, 240.0f - 32.0f, 1e-3f);  // 10 units of 150 over 480 pixels
  // The model's +Y faces the viewer.
  EXPECT_LT(Project(Vec3{0, 10, 0}, upright).depth, Project(Vec3{0, 0, 0}, upright).depth);

  const ScreenPoint turned = Project(Vec3{0, 0, 10}, MakeWorldMatrix(50, 50, 0, 0, 0, 90, 1.0f));
  EXPECT_NEAR(turned.x, 432.0f, 1e-3f);
  EXPECT_NEAR(turned.y, 240.0f, 1e-3f);
  const ScreenPoint scaled = Project(Vec3{0, 0, 10}, MakeWorldMatrix(50, 50, 0, 0, 0, 0, 2.0f));
  EXPECT_NEAR(scaled.y, 240.0f - 64.0f, 1e-3f);
}

TEST_F(TransformsTest, UnturnedPoseIsTheBaseTurnThenTheMove) {
  const Matrix expected =
      MatrixMultiply(MatrixRotationX(1.5707964f), MatrixTranslation(12.5f, -3.0f, 0.25f));
  const Matrix world = MakeWorldMatrix(12.5f, -3.0f, 0.25f, 0.0f, 0.0f, 0.0f, 1.0f);
  EXPECT_EQ(std::memcmp(&world, &expected, sizeof world), 0);

  // A full turn is applied, and gives the same picture as none.
  const Matrix full = MakeWorldMatrix(12.5f, -3.0f, 0.25f, 360.0f, 360.0f, 360.0f, 1.0f);
  EXPECT_NE(std::memcmp(&full, &expected, sizeof full), 0);
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(full.m[r][c], expected.m[r][c], 1e-4f);
  }
}

TEST_F(TransformsTest, ViewportsSplitTheBackBufferByQuarters) {
  device.width = 641;
  device.height = 400;
  SetHudViewport();
  EXPECT_EQ(device.viewport.x, 0);
  EXPECT_EQ(device.viewport.width, 160);
  EXPECT_EQ(device.viewport.height, 400);
  SetupPlayfieldScene();
  EXPECT_EQ(device.viewport.x, 160);
  EXPECT_EQ(device.viewport.y, 0);
  EXPECT_EQ(device.viewport.width, 480);
  EXPECT_EQ(device.viewport.height, 400);
  EXPECT_EQ(device.viewport.minZ, 0.0f);
  EXPECT_EQ(device.viewport.maxZ, 1.0f);

  device.hasBackBuffer = false;
  SetupPlayfieldScene();
  EXPECT_EQ(device.viewport.width, 0);
  EXPECT_EQ(device.viewport.height, 0);
  int width = -1, height = -1;
  GetBackBufferSize(width, height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
}

TEST_F(TransformsTest, PlayfieldSceneSetsTheFixedStatesAndLight) {
  device.world = MatrixTranslation(1, 2, 3);
  SetupPlayfieldScene();
  EXPECT_EQ(device.cullMode, CullMode::CounterClockwise);
  EXPECT_TRUE(device.lighting);
  EXPECT_TRUE(device.depthTest);
  EXPECT_TRUE(device.lightEnabled);
  EXPECT_EQ(device.ambient, 0x006F6F6Fu);
  EXPECT_EQ(device.filter, TextureFilter::Linear);
  const Matrix identity = MatrixIdentity();
  EXPECT_EQ(std::memcmp(&device.world, &identity, sizeof(Matrix)), 0);
  EXPECT_EQ(device.light.type, LightType::Directional);
  EXPECT_EQ(device.light.diffuse.r, 1.0f);
  EXPECT_EQ(device.light.diffuse.a, 0.0f);
  EXPECT_EQ(device.light.ambient.r, 0.0f);
  EXPECT_EQ(device.light.range, 1000.0f);
  EXPECT_EQ(device.light.position.x, -1.0f);
  EXPECT_NEAR(device.light.direction.y, -0.57735f, 1e-5f);
}

TEST(TransformsWithoutDeviceTest, SceneCallsDoNothing) {
  SetGraphicsDevice(nullptr);
  SetupPlayfieldScene();
  SetHudViewport();
  int width = 5, height = 5;
  GetBackBufferSize(width, height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
}

}  // namespace
}  // namespace vorlith
