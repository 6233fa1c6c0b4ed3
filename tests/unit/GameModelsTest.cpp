#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/XModelLoader.h"

namespace vorlith {
namespace {

struct Extent {
  Vec3 low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
  float Width() const { return high.x - low.x; }
  float Depth() const { return high.y - low.y; }   // towards the viewer
  float Length() const { return high.z - low.z; }  // up the screen
};

Extent Measure(const std::string& name, LoadedModel& model) {
  std::string error;
  EXPECT_TRUE(LoadXModel(VORLITH_DATA_DIR "/model/" + name + ".x", model, error)) << error;
  EXPECT_TRUE(model.mesh.hasNormals) << name;
  Extent e;
  for (const MeshVertex& v : model.mesh.vertices) {
    e.low = {std::min(e.low.x, v.px), std::min(e.low.y, v.py), std::min(e.low.z, v.pz)};
    e.high = {std::max(e.high.x, v.px), std::max(e.high.y, v.py), std::max(e.high.z, v.pz)};
  }
  return e;
}

TEST(GameModelsTest, ShipEnemiesAndBossHaveTheirSizesAndFacing) {
  LoadedModel ship, boss, red, blue;
  const Extent s = Measure("myship", ship);
  EXPECT_NEAR(s.Width(), 6.0f, 0.8f);
  EXPECT_GT(s.high.z, -s.low.z);  // the nose is the far end along +z
  const Extent b = Measure("boss0", boss);
  EXPECT_NEAR(b.low.x, -25.0f, 0.5f);
  EXPECT_NEAR(b.high.x, 25.0f, 0.5f);
  EXPECT_NEAR(b.low.z, -8.0f, 0.6f);
  EXPECT_NEAR(b.high.z, 8.0f, 0.6f);
  for (auto [name, model] : {std::pair{"enemy", &red}, {"enemy_blue", &blue}}) {
    const Extent e = Measure(name, *model);
    EXPECT_NEAR(e.Width(), 6.0f, 0.8f) << name;
    EXPECT_NEAR(e.Length(), 6.0f, 1.5f) << name;
  }
  const ColorValue r = red.materials[0].diffuse, bl = blue.materials[0].diffuse;
  EXPECT_GT(r.r, r.b + 0.5f);
  EXPECT_GT(bl.b, bl.r + 0.5f);
}

TEST(GameModelsTest, BulletsItemAndFrameLinesHaveTheirSizes) {
  LoadedModel model;
  for (const char* name : {"bullet_small_blue", "bullet_small_green"}) {
    const Extent e = Measure(name, model);
    EXPECT_NEAR(e.Width(), 1.5f, 0.3f) << name;
    EXPECT_NEAR(e.Length(), 1.5f, 0.3f) << name;
  }
  Measure("bullet_small_blue", model);
  EXPECT_GT(model.materials[0].diffuse.b, model.materials[0].diffuse.g);
  Measure("bullet_small_green", model);
  EXPECT_GT(model.materials[0].diffuse.g, model.materials[0].diffuse.b);
  EXPECT_NEAR(Measure("laser_sign", model).Length(), 3.0f, 0.3f);
  const Extent item = Measure("item_blue", model);
  EXPECT_NEAR(item.Width(), 4.0f, 0.5f);
  EXPECT_LT(item.Depth(), item.Width() / 2);  // flat, so that its spin shows
  const Extent x = Measure("axis_x", model);
  EXPECT_NEAR(x.Width(), 100.0f, 0.01f);
  EXPECT_LT(x.Length(), 1.0f);
  const Extent y = Measure("axis_y", model);
  EXPECT_NEAR(y.Length(), 100.0f, 0.01f);
  EXPECT_LT(y.Width(), 1.0f);
}

}  // namespace
}  // namespace vorlith
