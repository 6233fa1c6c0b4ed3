#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/XFileCheck.h"
#include "platform/XModelLoader.h"

namespace vorlith {
namespace {

const std::string kCorpus = VORLITH_CORPUS_DIR "/x/";

struct Expected {
  const char* file;
  std::size_t subsets;  // 0: the file does not load
  std::size_t triangles;
  bool normals;
  ColorValue firstDiffuse;
  const char* firstTexture;
};

TEST(XModelLoaderTest, CorpusLoadsOrFailsWithAMessage) {
  const Expected expected[] = {
      {"BCN_Epileptic.X", 1, 5126, true, {0.5f, 0.5f, 0.5f, 1}, ""},
      {"OV_GetNextToken.x", 0, 0, false, {}, ""},
      {"fromtruespace_bin32.x", 1, 6656, true, {0.537255f, 0.549020f, 0.0f, 1}, ""},
      {"kwxport_test_cubewithvcolors.x",
       3,
       12,
       true,
       {0.588f, 0.588f, 0.588f, 1},
       "C:/code/sourceforge/kwxport/trunkMerged/test/data/bottom.tga"},
      {"lobby_skybox.x", 6, 12, true, {1, 1, 1, 1}, "LobbyYPos.jpg"},
      {"malformed_skinweights_oob.x", 0, 0, false, {}, ""},
      {"skysphere.x", 1, 760, true, {0.223529f, 0.682353f, 0.0f, 1}, "grass_turf_v2_tex.dds"},
      {"test.x", 1, 12, true, {0.8f, 0.8f, 0.8f, 1}, "./test.png"},
      {"test_cube_binary.x", 1, 12, true, {0.639216f, 0.639216f, 0.639216f, 1}, ""},
      {"test_cube_compressed.x", 1, 12, true, {0.639216f, 0.639216f, 0.639216f, 1}, ""},
      {"test_cube_text.x", 1, 12, true, {0.639216f, 0.639216f, 0.639216f, 1}, ""},
      {"tiger.bmp", 0, 0, false, {}, ""},
      {"tiger.x", 1, 602, false, {0.694118f, 0.694118f, 0.694118f, 1}, "tiger.bmp"},
      {"tiny.x", 1, 6841, true, {1, 1, 1, 1}, "Tiny_skin.dds"},
      {"wine_compressed_object_tzip.x", 0, 0, false, {}, ""},
      {"wine_compressed_template_tzip.x", 0, 0, false, {}, ""},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.file);
    LoadedModel model;
    std::string error;
    const bool loaded = LoadXModel(kCorpus + e.file, model, error);
    ASSERT_EQ(loaded, e.subsets > 0) << error;
    if (!loaded) {
      EXPECT_FALSE(error.empty());
      EXPECT_TRUE(model.mesh.vertices.empty());
      continue;
    }
    EXPECT_EQ(model.mesh.subsets.size(), e.subsets);
    EXPECT_EQ(model.materials.size(), e.subsets);
    EXPECT_EQ(model.textureNames.size(), e.subsets);
    EXPECT_EQ(model.mesh.indices.size(), 3 * e.triangles);
    EXPECT_EQ(model.mesh.hasNormals, e.normals);
    const Material& first = model.materials[0];
    EXPECT_NEAR(first.diffuse.r, e.firstDiffuse.r, 1e-3f);
    EXPECT_NEAR(first.diffuse.g, e.firstDiffuse.g, 1e-3f);
    EXPECT_NEAR(first.diffuse.b, e.firstDiffuse.b, 1e-3f);
    EXPECT_NEAR(first.diffuse.a, e.firstDiffuse.a, 1e-3f);
    EXPECT_EQ(first.ambient.r, first.diffuse.r);
    EXPECT_EQ(model.textureNames[0], e.firstTexture);
    const auto vertexCount = static_cast<std::uint32_t>(model.mesh.vertices.size());
    EXPECT_TRUE(std::all_of(model.mesh.indices.begin(), model.mesh.indices.end(),
                            [&](std::uint32_t i) { return i < vertexCount; }));
  }
}

// Damaged files that pass the structural check but that the importer crashes on (found by
// the fuzzer) or refuses: they fail with a message, and the game goes on.
TEST(XModelLoaderTest, FilesTheImporterCannotTakeFailCleanly) {
  const std::string crash =
      VORLITH_SOURCE_DIR "/tests/data/x-regressions/importer-crash-truncated-templates.x";
  ASSERT_TRUE(std::filesystem::is_regular_file(crash));
  LoadedModel model;
  std::string error;
  EXPECT_FALSE(LoadXModel(crash, model, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(model.materials.empty());

  // Skin weights without their bone name: the numbers fit, the importer refuses it.
  const std::string text =
      "xof 0303txt 0032\nMesh tri {\n 3;\n 0;0;0;, 1;0;0;, 0;0;1;;\n"
      " 1;\n 3;0,1,2;;\n SkinWeights {\n 1;\n 2;\n 1.0;\n"
      " 1;0;0;0;0;1;0;0;0;0;1;0;0;0;0;1;;\n }\n}\n";
  EXPECT_FALSE(
      LoadXModelFromMemory(std::vector<std::uint8_t>(text.begin(), text.end()), model, error));
  EXPECT_FALSE(error.empty());
}

TEST(XModelLoaderTest, BinaryAndCompressedGiveTheSameCubeAsText) {
  LoadedModel text, binary, compressed;
  std::string error;
  ASSERT_TRUE(LoadXModel(kCorpus + "test_cube_text.x", text, error));
  ASSERT_TRUE(LoadXModel(kCorpus + "test_cube_binary.x", binary, error));
  ASSERT_TRUE(LoadXModel(kCorpus + "test_cube_compressed.x", compressed, error));
  ASSERT_EQ(text.mesh.vertices.size(), binary.mesh.vertices.size());
  ASSERT_EQ(text.mesh.vertices.size(), compressed.mesh.vertices.size());
  for (std::size_t i = 0; i < text.mesh.vertices.size(); ++i) {
    EXPECT_NEAR(text.mesh.vertices[i].px, binary.mesh.vertices[i].px, 1e-5f);
    EXPECT_NEAR(text.mesh.vertices[i].pz, compressed.mesh.vertices[i].pz, 1e-5f);
  }
  EXPECT_EQ(text.mesh.indices, binary.mesh.indices);
  EXPECT_EQ(text.mesh.indices, compressed.mesh.indices);
}

TEST(XModelLoaderTest, MissingAndOversizedFilesAreRefused) {
  LoadedModel model;
  std::string error;
  EXPECT_FALSE(LoadXModel(kCorpus + "no_such_file.x", model, error));
  EXPECT_FALSE(error.empty());
  std::vector<std::uint8_t> huge(kMaxModelFileBytes + 1, ' ');
  std::copy_n("xof 0303txt 0032", 16, huge.begin());
  EXPECT_FALSE(LoadXModelFromMemory(huge, model, error));
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

bool Passes(const std::string& text) {
  std::string error;
  return XFileCheck::Check(Bytes(text), error);
}

const std::string kHeader = "xof 0303txt 0032\n";
const std::string kTriangle = "Mesh tri {\n 3;\n 0;0;0;, 1;0;0;, 0;0;1;;\n 1;\n 3;0,1,2;;\n";

TEST(XFileCheckTest, RefusesSizesTheDataCannotHold) {
  EXPECT_TRUE(Passes(kHeader + kTriangle + "}\n"));
  // Billions of vertices declared in a few bytes.
  EXPECT_FALSE(Passes(kHeader + "Mesh {\n 2000000000;\n 0.0;0.0;0.0;;\n 1;\n 3;0,0,0;;\n}\n"));
  // A face corner past the last vertex.
  EXPECT_FALSE(Passes(kHeader + "Mesh {\n 3;\n 0;0;0;, 1;0;0;, 0;0;1;;\n 1;\n 3;0,1,3;;\n}\n"));
  // A vertex short of a number: the counts no longer add up to the data.
  EXPECT_FALSE(Passes(kHeader + "Mesh {\n 3;\n 0;0;0;, 1;0;, 0;0;1;;\n 1;\n 3;0,1,2;;\n}\n"));
  // A file that ends inside its mesh.
  EXPECT_FALSE(Passes(kHeader + "Mesh { 3; 0.0;0.0;"));
  // Skin weights for a vertex the mesh does not have.
  const std::string skin =
      " SkinWeights {\n \"bone\";\n 1;\n %;\n 1.0;\n"
      " 1;0;0;0;0;1;0;0;0;0;1;0;0;0;0;1;;\n }\n";
  std::string inside = skin, outside = skin;
  inside.replace(inside.find('%'), 1, "2");
  outside.replace(outside.find('%'), 1, "1000000");
  EXPECT_TRUE(Passes(kHeader + kTriangle + inside + "}\n"));
  EXPECT_FALSE(Passes(kHeader + kTriangle + outside + "}\n"));
  // Material indices past the materials listed.
  EXPECT_FALSE(Passes(kHeader + kTriangle + " MeshMaterialList { 1; 1; 4;; }\n}\n"));
  EXPECT_FALSE(Passes(kHeader + kTriangle + " MeshTextureCoords { 300; 0;0;; }\n}\n"));
}

TEST(XFileCheckTest, RefusesMalformedStructure) {
  EXPECT_FALSE(Passes("xof 0303txt"));
  EXPECT_FALSE(Passes("xof 0303abc 0032 Mesh {}"));
  EXPECT_FALSE(Passes(kHeader + "}\n"));
  EXPECT_FALSE(Passes(kHeader + "Header { \"unterminated ; }\n"));
  std::string deep = kHeader;
  for (int i = 0; i < 100; ++i) deep += "Frame {\n";
  for (int i = 0; i < 100; ++i) deep += "}\n";
  EXPECT_FALSE(Passes(deep));
  // Tokens the importer would stumble over: stray punctuation, bare names, glued numbers.
  EXPECT_FALSE(Passes(kHeader + "Mesh {\n 3;\n 0;0;0;, 1;0;0;, 0;0;1;;\n 1;\n 3;0,1,2;; = }\n"));
  EXPECT_FALSE(Passes(kHeader + "Mesh {\n 3;\n 0;0;0;, 1;0;0;, 0;0;1;;\n 1;\n 3;0,1,2;; x }\n"));
  EXPECT_FALSE(Passes(kHeader + "Mesh {\n 3;\n 0;0;0;, 1;0#0;, 0;0;1;;\n 1;\n 3;0,1,2;;\n}\n"));
  EXPECT_FALSE(Passes(kHeader + "Mesh {\n 3;\n 0;0;0;, 1;0;0;, 0;0;1x;;\n 1;\n 3;0,1,2;;\n}\n"));
  EXPECT_FALSE(Passes(kHeader + "Mesh {\n 3;\n 0;0;0;, 1;0;0.5.0;, 0;0;1;;\n 1;\n 3;0,1,2;;\n}\n"));
  EXPECT_FALSE(Passes(kHeader + "Mesh {\n 3;\n 0;0;0;, 1;0 0;, 0;0;1;;\n 1;\n 3;0,1,2;;\n}\n"));
  EXPECT_FALSE(Passes(kHeader + "Mesh {\n 3;\n 0;0;0;,; 1;0;0;, 0;0;1;;\n 1;\n 3;0,1,2;;\n}\n"));
  // Comments may stand between values.
  EXPECT_TRUE(Passes(kHeader + "Mesh {\n 3; // count\n 0;0;0;, # a\n 1;0;0;, 0;0;1;;\n 1;\n"
                               " 3;0,1,2;;\n}\n"));
  // Templates and references are passed over.
  EXPECT_TRUE(Passes(kHeader +
                     "template Mesh {\n <3D82AB44-62DA-11cf-AB39-0020AF71E433>\n"
                     " DWORD nVertices;\n array Vector vertices[nVertices];\n [...]\n}\n" +
                     "Material shared { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n" + kTriangle +
                     " MeshMaterialList { 1; 1; 0;; { shared } }\n}\n"));
}

TEST(XFileCheckTest, RefusesBrokenBinaryAndCompressedData) {
  std::vector<std::uint8_t> list = Bytes("xof 0303bin 0032");
  // An integer list that claims more numbers than the file holds.
  for (std::uint8_t b : {6, 0, 0xFF, 0xFF, 0xFF, 0x0F, 1, 0, 0, 0}) list.push_back(b);
  std::string error;
  EXPECT_FALSE(XFileCheck::Check(list, error));
  std::vector<std::uint8_t> unknown = Bytes("xof 0303bin 0032");
  for (std::uint8_t b : {99, 0}) unknown.push_back(b);
  EXPECT_FALSE(XFileCheck::Check(unknown, error));
  std::vector<std::uint8_t> zip = Bytes("xof 0303tzip0032");
  for (std::uint8_t b : {0x2c, 0, 0, 0, 0x1c, 0, 0x20, 0, 0x58, 0x58, 1, 2, 3}) zip.push_back(b);
  EXPECT_FALSE(XFileCheck::Check(zip, error));
}

}  // namespace
}  // namespace vorlith
