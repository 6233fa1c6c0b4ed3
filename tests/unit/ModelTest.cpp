#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "FakeRenderDevice.h"
#include "StageTestKit.h"
#include "base/DataDirectory.h"
#include "graphics/Model.h"
#include "graphics/ModelRegistry.h"
#include "graphics/Transforms.h"

namespace vorlith {
namespace {

// Two triangles, one per material, each naming a texture with a backslash: a half-transparent
// red one whose texture the device finds, and a green one whose texture is missing.
const char* const kTwoMaterialModel = R"(xof 0303txt 0032
Mesh {
 4; 0;0;0;, 1;0;0;, 0;0;1;, 1;0;1;;
 2; 3;0,2,1;, 3;1,2,3;;
 MeshMaterialList { 2; 2; 0, 1;;
  Material { 1;0;0;0.5;; 10; 0.1;0.2;0.3;; 0;0;0.25;; TextureFilename { "textures\\found.png"; } }
  Material { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { "textures\\missing.png"; } } }
 MeshNormals { 1; 0;1;0;; 2; 3;0,0,0;, 3;0,0,0;; }
}
)";

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(directory);
    std::ofstream(modelPath) << kTwoMaterialModel;
  }
  void TearDown() override { std::filesystem::remove_all(directory); }

  FakeRenderDevice device;
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() /
      ("vorlith_ModelTest_" +
       std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  const std::string modelPath = directory / "two.x";
};

TEST_F(ModelTest, LoadsSubsetsInMaterialOrderAndDrawsEachWithItsMaterialAndTexture) {
  device.loadableTextures = {"textures/found.png"};
  {
    Model model(modelPath.c_str());
    EXPECT_FALSE(model.IsLoaded());
    ASSERT_TRUE(model.Load(&device));
    ASSERT_EQ(model.GetMaterialCount(), 2u);
    const Material& red = model.GetMaterials()[0];
    EXPECT_EQ(red.ambient.r, 1.0f);  // ambient is the diffuse colour
    EXPECT_EQ(red.ambient.a, 0.5f);
    EXPECT_EQ(red.emissive.b, 0.25f);
    EXPECT_EQ(model.GetMaterials()[1].ambient.g, 1.0f);
    EXPECT_EQ(device.texturePaths,
              (std::vector<std::string>{"textures/found.png", "textures/missing.png"}));
    EXPECT_NE(model.GetTextures()[0], 0u);
    EXPECT_EQ(model.GetTextures()[1], 0u);  // missing: the subset is drawn untextured

    ASSERT_EQ(device.meshes.size(), 1u);
    const MeshData& mesh = device.meshes[0];
    ASSERT_EQ(mesh.subsets.size(), 2u);
    EXPECT_EQ(mesh.subsets[1].indexCount, 3u);
    // The file's own winding and coordinates come through unchanged: 0, 2, 1.
    const std::uint32_t* first = &mesh.indices[mesh.subsets[0].firstIndex];
    EXPECT_EQ(mesh.vertices[first[0]].pz, 0.0f);
    EXPECT_EQ(mesh.vertices[first[1]].pz, 1.0f);
    EXPECT_EQ(mesh.vertices[first[1]].px, 0.0f);
    EXPECT_EQ(mesh.vertices[first[0]].ny, 1.0f);

    model.DrawAt(10, 20, 0, 0, 0, 45, 1.0f);
    ASSERT_EQ(device.draws.size(), 2u);
    for (int i = 0; i < 2; ++i) {
      const FakeRenderDevice::SubsetDraw& draw = device.draws[i];
      EXPECT_EQ(draw.subset, i);
      EXPECT_TRUE(draw.alphaBlend);
      EXPECT_EQ(draw.material.diffuse.g, model.GetMaterials()[i].diffuse.g);
      EXPECT_EQ(draw.texture, model.GetTextures()[i]) << i;
      EXPECT_EQ(draw.world.m[3][0], 10.0f);
      EXPECT_EQ(draw.world.m[3][1], 20.0f);
    }
  }
  EXPECT_EQ(device.releasedTextures.size(), 1u);
  EXPECT_EQ(device.releasedMeshes.size(), 1u);
}

TEST_F(ModelTest, AMissingFileOrNoDeviceFailsWithoutTouchingTheDevice) {
  const std::string missing = directory / "missing.x";
  Model model(missing.c_str());
  EXPECT_FALSE(model.Load(&device));
  model.DrawAt(0, 0, 0, 0, 0, 0, 1.0f);
  Model noDevice(modelPath.c_str());
  EXPECT_FALSE(noDevice.Load(nullptr));
  EXPECT_TRUE(device.meshes.empty());
  EXPECT_TRUE(device.draws.empty());
}

TEST_F(ModelTest, RelativeModelAndTextureNamesResolveAgainstTheDataDirectory) {
  DataDirectory::Set(directory.string());
  const std::string found = (directory / "textures/found.png").string();
  device.loadableTextures = {found};
  Model model("./two.x");
  const bool loaded = model.Load(&device);
  DataDirectory::Set("");
  ASSERT_TRUE(loaded) << model.GetLoadError();
  EXPECT_EQ(device.texturePaths,
            (std::vector<std::string>{found, (directory / "textures/missing.png").string()}));
}

// The one message of a failed load names the file and why; the registry stops there.
TEST_F(ModelTest, RegistryStopsAtTheFirstModelThatFailsToLoad) {
  const std::string missing = directory / "missing.x";
  testkit::RecordingDialogs dialogs;
  ModelRegistry registry;
  for (int slot = 0; slot < 10; ++slot) {
    registry.RegisterModel(slot, slot == 3 ? missing.c_str() : modelPath.c_str());
  }
  EXPECT_FALSE(registry.LoadAllModels(&device, dialogs));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].first, "Error! ModelRegistry::LoadAllModels()");
  EXPECT_NE(dialogs.shown[0].second.find("cannot open model file " + missing + ": no such file"),
            std::string::npos)
      << dialogs.shown[0].second;
  for (int slot = 0; slot < 10; ++slot) {
    const Model* model = registry.GetModel(slot);
    EXPECT_TRUE(model && model->IsLoaded() == (slot < 3)) << slot;
  }
  EXPECT_EQ(registry.GetModel(10), nullptr);
  EXPECT_EQ(registry.GetModel(-1), nullptr);
  registry.RegisterModel(3, modelPath.c_str());  // registered again: the new file
  EXPECT_TRUE(registry.LoadAllModels(&device, dialogs));
  EXPECT_TRUE(registry.GetModel(9)->IsLoaded());
  EXPECT_EQ(dialogs.shown.size(), 1u);

  registry.ReleaseAllModels();
  EXPECT_EQ(registry.GetModel(0), nullptr);
  EXPECT_EQ(device.releasedMeshes.size(), device.meshes.size());
  EXPECT_TRUE(registry.LoadAllModels(&device, dialogs));
}

}  // namespace
}  // namespace vorlith
