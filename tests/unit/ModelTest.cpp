#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "RecordingRenderDevice.h"
#include "graphics/Model.h"
#include "graphics/ModelRegistry.h"
#include "graphics/Transforms.h"

namespace vorlith {
namespace {

// A triangle with two materials: a half-transparent red one naming a texture (with a
// backslash) that does not exist, and a plain green one.
const char* const kTwoMaterialModel = R"(xof 0303txt 0032
Mesh {
 4;
 0.0;0.0;0.0;,
 1.0;0.0;0.0;,
 0.0;0.0;1.0;,
 1.0;0.0;1.0;;
 2;
 3;0,2,1;,
 3;1,2,3;;
 MeshMaterialList {
  2;
  2;
  0,
  1;;
  Material {
   1.0;0.0;0.0;0.5;;
   10.0;
   0.1;0.2;0.3;;
   0.0;0.0;0.25;;
   TextureFilename { "textures\\missing.png"; }
  }
  Material {
   0.0;1.0;0.0;1.0;;
   0.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
  }
 }
 MeshNormals {
  1;
  0.0;1.0;0.0;;
  2;
  3;0,0,0;,
  3;0,0,0;;
 }
}
)";

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGraphicsDevice(&device);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    directory = std::filesystem::temp_directory_path() /
                (std::string("vorlith_") + test->test_suite_name() + "_" + test->name());
    std::filesystem::create_directories(directory);
    modelPath = (directory / "two.x").string();
    std::ofstream(modelPath) << kTwoMaterialModel;
  }
  void TearDown() override {
    SetGraphicsDevice(nullptr);
    std::filesystem::remove_all(directory);
  }

  RecordingRenderDevice device;
  std::filesystem::path directory;
  std::string modelPath;
};

TEST_F(ModelTest, LoadsSubsetsInMaterialOrderWithAmbientEqualToDiffuse) {
  Model model(modelPath.c_str());
  EXPECT_FALSE(model.IsLoaded());
  ASSERT_TRUE(model.Load());
  ASSERT_EQ(model.GetMaterialCount(), 2u);
  const Material& red = model.GetMaterials()[0];
  EXPECT_FLOAT_EQ(red.diffuse.r, 1.0f);
  EXPECT_FLOAT_EQ(red.diffuse.a, 0.5f);
  EXPECT_FLOAT_EQ(red.ambient.r, 1.0f);
  EXPECT_FLOAT_EQ(red.ambient.a, 0.5f);
  EXPECT_FLOAT_EQ(red.emissive.b, 0.25f);
  EXPECT_FLOAT_EQ(model.GetMaterials()[1].ambient.g, 1.0f);

  ASSERT_EQ(device.meshes.size(), 1u);
  const MeshData& mesh = device.meshes[0];
  ASSERT_EQ(mesh.subsets.size(), 2u);
  EXPECT_EQ(mesh.subsets[0].indexCount, 3u);
  EXPECT_EQ(mesh.subsets[1].indexCount, 3u);
  // The file's own winding and coordinates come through unchanged.
  const MeshVertex& a = mesh.vertices[mesh.indices[mesh.subsets[0].firstIndex]];
  const MeshVertex& b = mesh.vertices[mesh.indices[mesh.subsets[0].firstIndex + 1]];
  EXPECT_FLOAT_EQ(a.px, 0.0f);
  EXPECT_FLOAT_EQ(a.pz, 0.0f);
  EXPECT_FLOAT_EQ(b.px, 0.0f);
  EXPECT_FLOAT_EQ(b.pz, 1.0f);
  EXPECT_FLOAT_EQ(a.ny, 1.0f);
}

TEST_F(ModelTest, MissingTextureLeavesTheSubsetUntextured) {
  Model model(modelPath.c_str());
  ASSERT_TRUE(model.Load());
  ASSERT_EQ(device.texturePaths.size(), 1u);
  EXPECT_EQ(device.texturePaths[0], "textures/missing.png");
  EXPECT_EQ(model.GetTextures()[0], 0u);
  EXPECT_EQ(model.GetTextures()[1], 0u);
}

TEST_F(ModelTest, TextureFoundIsDrawnWithItsSubsetAndReleased) {
  device.loadableTextures = {"textures/missing.png"};
  {
    Model model(modelPath.c_str());
    ASSERT_TRUE(model.Load());
    ASSERT_NE(model.GetTextures()[0], 0u);
    model.DrawAt(10, 20, 0, 0, 0, 0, 1.0f);
    ASSERT_EQ(device.draws.size(), 2u);
    EXPECT_EQ(device.draws[0].texture, model.GetTextures()[0]);
    EXPECT_EQ(device.draws[1].texture, 0u);
  }
  EXPECT_EQ(device.releasedTextures.size(), 1u);
  EXPECT_EQ(device.releasedMeshes.size(), 1u);
}

TEST_F(ModelTest, DrawAtDrawsEverySubsetBlendedWithItsMaterialAtThePose) {
  Model model(modelPath.c_str());
  ASSERT_TRUE(model.Load());
  model.DrawAt(10, 20, 0, 0, 0, 45, 1.0f);
  ASSERT_EQ(device.draws.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(device.draws[i].subset, i);
    EXPECT_TRUE(device.draws[i].alphaBlend);
    EXPECT_EQ(device.draws[i].material.diffuse.g, model.GetMaterials()[i].diffuse.g);
    EXPECT_FLOAT_EQ(device.draws[i].world.m[3][0], 10.0f);
    EXPECT_FLOAT_EQ(device.draws[i].world.m[3][1], 20.0f);
  }
}

TEST_F(ModelTest, UnloadableFilesFailWithoutTouchingTheDevice) {
  const std::string nothere = (directory / "nothere.x").string();
  Model missing(nothere.c_str());
  EXPECT_FALSE(missing.Load());
  const std::string garbage = (directory / "garbage.x").string();
  std::ofstream(garbage) << "xof 0303txt 0032\nMesh { 3; 0.0;0.0;";
  Model broken(garbage.c_str());
  EXPECT_FALSE(broken.Load());
  EXPECT_TRUE(device.meshes.empty());
  broken.DrawAt(0, 0, 0, 0, 0, 0, 1.0f);
  EXPECT_TRUE(device.draws.empty());
}

TEST_F(ModelTest, RegistryStopsAtTheFirstModelThatFailsToLoad) {
  const std::string missing = (directory / "missing.x").string();
  ModelRegistry registry;
  for (int slot = 0; slot < 10; ++slot) {
    registry.RegisterModel(slot, slot == 3 ? missing.c_str() : modelPath.c_str());
  }
  EXPECT_FALSE(registry.LoadAllModels());
  for (int slot = 0; slot < 10; ++slot) {
    ASSERT_NE(registry.GetModel(slot), nullptr);
    EXPECT_EQ(registry.GetModel(slot)->IsLoaded(), slot < 3) << slot;
  }
  EXPECT_EQ(registry.GetModel(10), nullptr);
  EXPECT_EQ(registry.GetModel(-1), nullptr);
  EXPECT_FALSE(registry.LoadAllModels());

  registry.ReleaseAllModels();
  EXPECT_EQ(registry.GetModel(0), nullptr);
  EXPECT_EQ(device.releasedMeshes.size(), device.meshes.size());
  EXPECT_TRUE(registry.LoadAllModels());
}

TEST_F(ModelTest, RegistryLoadsEverySlotAndReplacesARegisteredSlot) {
  ModelRegistry registry;
  EXPECT_TRUE(registry.LoadAllModels());
  registry.RegisterModel(7, "nothing.x");
  registry.RegisterModel(7, modelPath.c_str());
  registry.RegisterModel(2, modelPath.c_str());
  EXPECT_TRUE(registry.LoadAllModels());
  EXPECT_STREQ(registry.GetModel(7)->GetFileName(), modelPath.c_str());
  EXPECT_TRUE(registry.GetModel(2)->IsLoaded());
}

TEST(ModelWithoutDeviceTest, LoadFails) {
  SetGraphicsDevice(nullptr);
  Model model(VORLITH_CORPUS_DIR "/x/test_cube_text.x");
  EXPECT_FALSE(model.Load());
}

}  // namespace
}  // namespace vorlith
