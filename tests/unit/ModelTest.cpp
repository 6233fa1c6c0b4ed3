#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>

#include "FakeRenderDevice.h"
#include "StageTestKit.h"
#include "TestFiles.h"
#include "base/DataDirectory.h"
#include "graphics/Model.h"
#include "graphics/ModelRegistry.h"
#include "platform/XModelLoader.h"

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

// The first bytes of a PNG file of that size: enough for the checks, nothing to decode.
std::string PngHeader(std::uint32_t width, std::uint32_t height) {
  std::string bytes = "\x89PNG\r\n\x1a\n" + std::string("\0\0\0\x0dIHDR", 8);
  for (std::uint32_t side : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(side >> shift & 0xFF);
  return bytes + std::string("\x08\x06\0\0\0", 5);
}

// A model of one triangle per texture name (the same three corners), each with its own
// material naming it.
std::string ModelNaming(const std::vector<std::string>& names) {
  const std::string n = std::to_string(names.size());
  std::string faces, materials, indices;
  for (std::size_t i = 0; i < names.size(); ++i) {
    faces += std::string(i ? ", " : "") + "3;0,1,2;";
    indices += (i ? "," : "") + std::to_string(i);
    materials +=
        "  Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"" + names[i] + "\"; } }\n";
  }
  return "xof 0303txt 0032\nMesh {\n 3; 0;0;0;, 1;0;0;, 0;1;0;;\n " + n + "; " + faces +
         ";\n MeshMaterialList { " + n + "; " + n + "; " + indices + ";;\n" + materials + " }\n}\n";
}

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(directory / "textures");
    std::ofstream(modelPath) << kTwoMaterialModel;
    std::ofstream(directory / "textures" / "found.png") << PngHeader(1, 1);
    DataDirectory::Set(directory.string());
  }
  void TearDown() override { DataDirectory::Set(""); }

  FakeRenderDevice device;
  const testing::ScratchFolder directory{"vorlith_ModelTest"};
  const std::string modelPath = directory / "two.x";
};

TEST_F(ModelTest, LoadsSubsetsInMaterialOrderAndDrawsEachWithItsMaterialAndTexture) {
  const std::string found = directory / "textures/found.png";
  {
    Model model(modelPath.c_str());
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(model.Load(&device));
    EXPECT_EQ(
        ::testing::internal::GetCapturedStderr(),
        "vorlith: " + modelPath + ": texture 'textures/missing.png' not loaded: no such file\n");
    ASSERT_EQ(model.GetMaterialCount(), 2u);
    const Material& red = model.GetMaterials()[0];  // ambient is the diffuse colour
    EXPECT_EQ(
        std::tuple(red.ambient.r, red.ambient.a, red.emissive.b, model.GetMaterials()[1].ambient.g),
        std::tuple(1.0f, 0.5f, 0.25f, 1.0f));
    EXPECT_EQ(device.texturePaths, std::vector<std::string>{found});
    // The missing one's subset is drawn untextured.
    EXPECT_EQ(std::pair(model.GetTextures()[0] != 0, model.GetTextures()[1]), std::pair(true, 0u));

    ASSERT_EQ(device.meshes.size(), 1u);
    const MeshData& mesh = device.meshes[0];
    ASSERT_EQ(mesh.subsets.size(), 2u);
    EXPECT_EQ(mesh.subsets[1].indexCount, 3u);
    // The file's own winding and coordinates come through unchanged: 0, 2, 1.
    const MeshVertex* v = mesh.vertices.data();
    const std::uint32_t* first = &mesh.indices[mesh.subsets[0].firstIndex];
    EXPECT_EQ(std::tuple(v[first[0]].pz, v[first[1]].pz, v[first[1]].px, v[first[0]].ny),
              std::tuple(0.0f, 1.0f, 0.0f, 1.0f));

    model.DrawAt(10, 20, 0, 0, 0, 45, 1.0f);
    ASSERT_EQ(device.draws.size(), 2u);
    for (int i = 0; i < 2; ++i) {
      const FakeRenderDevice::SubsetDraw& d = device.draws[i];
      EXPECT_EQ(std::tuple(d.subset, d.alphaBlend, d.material.diffuse.g, d.texture, d.world.m[3][0],
                           d.world.m[3][1]),
                std::tuple(i, true, model.GetMaterials()[i].diffuse.g, model.GetTextures()[i],
                           10.0f, 20.0f));
    }
  }
  EXPECT_EQ(std::tuple(device.releasedTextures.size(), device.releasedMeshes.size()),
            std::tuple(1u, 1u));
}

// Texture names are the file's, not trusted: a texture is loaded only from a regular file
// inside the data directory, named relative to the model's folder, whose header declares an
// image of at most 4096 x 4096 pixels. Any other leaves its subset untextured (the model still
// loads) with one line naming the texture and why. A FIFO does not stall the load. The
// model's own name is resolved against the data directory.
TEST_F(ModelTest, TexturesOnlyFromCheckedImagesInsideTheDataDirectory) {
  namespace fs = std::filesystem;
  const fs::path textures = directory / "model" / "tex";
  fs::create_directories(textures);
  std::ofstream(directory / "up.png") << PngHeader(4096, 4096);
  std::ofstream(textures / "ok.png") << PngHeader(2, 2);
  std::ofstream(textures / "big.png") << PngHeader(16384, 16384);
  std::ofstream(textures / "wide.png") << PngHeader(4097, 4096);
  std::ofstream(textures / "flat.png") << PngHeader(4096, 0);
  std::ofstream(textures / "anim.gif") << "GIF89a\x10\0\x10\0";
  fs::create_symlink("/etc/passwd", textures / "out.png");
  fs::create_symlink(textures / "loop.png", textures / "loop.png");
  ASSERT_EQ(mkfifo((textures / "fifo.png").c_str(), 0600), 0);
  const std::pair<std::string, std::string> cases[] = {
      {"../up.png", ""},
      {"./tex/ok.png", ""},
      {"/etc/shadow", "an absolute name (a model names its textures relative to its folder)"},
      {"C:/code/top.tga", "an absolute name (a model names its textures relative to its folder)"},
      {"../../../../../../../../etc/passwd", "outside the data directory"},
      {"tex/out.png", "outside the data directory"},
      {"tex/fifo.png", "not a regular file"},
      {"tex/big.png", "16384 x 16384 pixels, more than 4096 x 4096"},
      {"tex/wide.png", "4097 x 4096 pixels, more than 4096 x 4096"},
      {"tex/flat.png", "the image's header gives it no size"},
      {"tex/anim.gif", "not a PNG, JPEG, BMP or TGA image"},
      {"tex/loop.png", "Too many levels of symbolic links"},
      {"tex/\x1b[2J.png", "no such file"},
  };
  std::vector<std::string> names, problems;
  for (const auto& [name, why] : cases) {
    names.push_back(name);
    if (!why.empty())
      problems.push_back(directory.string() + "/model/m.x: texture '" +
                         (name[4] == '\x1b' ? "tex/\\x1b[2J.png" : name) + "' not loaded: " + why);
  }
  std::ofstream(directory / "model" / "m.x") << ModelNaming(names);
  Model model("./model/m.x");
  auto loading = std::async(std::launch::async, [&] {
    ::testing::internal::CaptureStderr();
    const bool loaded = model.Load(&device);
    ::testing::internal::GetCapturedStderr();
    return loaded;
  });
  if (loading.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    std::ofstream{textures / "fifo.png"};  // a writer lets the blocked open go on
    ADD_FAILURE() << "waited on the FIFO";
  }
  ASSERT_TRUE(loading.get()) << model.GetLoadError();
  EXPECT_EQ(model.GetTextureProblems(), problems);
  EXPECT_EQ(device.texturePaths, (std::vector<std::string>{(directory / "up.png").string(),
                                                           (textures / "ok.png").string()}));
  ASSERT_EQ(model.GetTextures().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(model.GetTextures()[i] != 0, cases[i].second.empty()) << i;
}

// The one message of a failed load names the file and why; the registry stops there. A model
// that failed (or had no device) made nothing on the device and draws nothing.
TEST_F(ModelTest, RegistryStopsAtTheFirstModelThatFailsToLoad) {
  const std::string missing = directory / "missing.x";
  testkit::RecordingDialogs dialogs;
  ModelRegistry registry;
  for (int slot = 0; slot < 10; ++slot)
    registry.RegisterModel(slot, slot == 3 ? missing.c_str() : modelPath.c_str());
  EXPECT_FALSE(registry.LoadAllModels(&device, dialogs));
  EXPECT_THAT(dialogs.shown,
              ::testing::ElementsAre(::testing::Pair(
                  "Error! ModelRegistry::LoadAllModels()",
                  ::testing::HasSubstr("cannot open model file " + missing + ": no such file"))));
  for (int slot = 0; slot < 10; ++slot) {
    const Model* model = registry.GetModel(slot);
    EXPECT_TRUE(model && model->IsLoaded() == (slot < 3)) << slot;
  }
  EXPECT_EQ(std::tuple(registry.GetModel(10), registry.GetModel(-1)), std::tuple(nullptr, nullptr));
  EXPECT_FALSE(Model(modelPath.c_str()).Load(nullptr));
  EXPECT_EQ(device.meshes.size(), 3u);
  registry.GetModel(3)->DrawAt(0, 0, 0, 0, 0, 0, 1.0f);
  EXPECT_TRUE(device.draws.empty());
  registry.RegisterModel(3, modelPath.c_str());  // registered again: the new file
  EXPECT_TRUE(registry.LoadAllModels(&device, dialogs));
  EXPECT_TRUE(registry.GetModel(9)->IsLoaded());
  EXPECT_EQ(dialogs.shown.size(), 1u);

  registry.ReleaseAllModels();
  EXPECT_EQ(registry.GetModel(0), nullptr);
  EXPECT_EQ(device.releasedMeshes.size(), device.meshes.size());
  EXPECT_TRUE(registry.LoadAllModels(&device, dialogs));
}

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
