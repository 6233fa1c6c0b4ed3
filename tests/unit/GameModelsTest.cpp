#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/XModelLoader.h"

namespace vorlith {
namespace {

// A committed model's extent (x across, y towards the viewer, z up the screen) and the
// diffuse colour of its first material.
struct Extent {
  Vec3 low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
  ColorValue colour;
};

Extent Measure(const std::string& name) {
  LoadedModel model;
  std::string error;
  Extent e;
  EXPECT_TRUE(LoadXModel(VORLITH_DATA_DIR "/model/" + name + ".x", model, error)) << error;
  EXPECT_TRUE(model.mesh.hasNormals) << name;
  for (const MeshVertex& v : model.mesh.vertices) {
    e.low = {std::min(e.low.x, v.px), std::min(e.low.y, v.py), std::min(e.low.z, v.pz)};
    e.high = {std::max(e.high.x, v.px), std::max(e.high.y, v.py), std::max(e.high.z, v.pz)};
  }
  if (!model.materials.empty()) e.colour = model.materials[0].diffuse;
  return e;
}

TEST(GameModelsTest, EachModelHasItsSizeShapeAndColour) {
  const struct {
    const char* name;
    float width, widthTolerance, length, lengthTolerance;  // 0: any
  } sizes[] = {
      {"myship", 6, 0.8f, 0, 0},
      {"enemy", 6, 0.8f, 6, 1.5f},
      {"enemy_blue", 6, 0.8f, 6, 1.5f},
      {"boss0", 50, 0.5f, 16, 0.6f},
      {"bullet_small_blue", 1.5f, 0.3f, 1.5f, 0.3f},
      {"bullet_small_green", 1.5f, 0.3f, 1.5f, 0.3f},
      {"laser_sign", 0, 0, 3, 0.3f},
      {"item_blue", 4, 0.5f, 0, 0},
      {"axis_x", 100, 0.01f, 0.5f, 0.5f},  // thin bars
      {"axis_y", 0.5f, 0.5f, 100, 0.01f},
  };
  for (const auto& s : sizes) {
    const Extent e = Measure(s.name);
    const float width = e.high.x - e.low.x, length = e.high.z - e.low.z;
    EXPECT_NEAR(s.width > 0 ? width : 0, s.width, s.widthTolerance) << s.name;
    EXPECT_NEAR(s.length > 0 ? length : 0, s.length, s.lengthTolerance) << s.name;
  }
  const Extent ship = Measure("myship"), boss = Measure("boss0"), item = Measure("item_blue");
  EXPECT_GT(ship.high.z, -ship.low.z);    // the nose is the far end along +z
  EXPECT_NEAR(boss.low.x, -25.0f, 0.5f);  // the boss's hit box: -25..25 by -8..8
  EXPECT_NEAR(boss.low.z, -8.0f, 0.6f);
  EXPECT_LT(item.high.y - item.low.y, (item.high.x - item.low.x) / 2);  // flat: its spin shows
  const ColorValue red = Measure("enemy").colour, blue = Measure("enemy_blue").colour;
  EXPECT_GT(red.r, red.b + 0.5f);
  EXPECT_GT(blue.b, blue.r + 0.5f);
  const ColorValue blueShot = Measure("bullet_small_blue").colour;
  const ColorValue greenShot = Measure("bullet_small_green").colour;
  EXPECT_GT(blueShot.b, blueShot.g);
  EXPECT_GT(greenShot.g, greenShot.b);
}

}  // namespace
}  // namespace vorlith
