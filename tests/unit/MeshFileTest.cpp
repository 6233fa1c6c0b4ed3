#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/MeshFile.h"
#include "platform/XModelLoader.h"

namespace vorlith {
namespace {

// The same bytes in each of the model's arrays, and the same flag and names.
template <class T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

void ExpectSameModel(const LoadedModel& a, const LoadedModel& b) {
  EXPECT_TRUE(SameBytes(a.mesh.vertices, b.mesh.vertices));
  EXPECT_EQ(a.mesh.indices, b.mesh.indices);
  EXPECT_TRUE(SameBytes(a.mesh.subsets, b.mesh.subsets));
  EXPECT_EQ(a.mesh.hasNormals, b.mesh.hasNormals);
  EXPECT_TRUE(SameBytes(a.materials, b.materials));
  EXPECT_EQ(a.textureNames, b.textureNames);
}

// Every model the game ships reads back bit for bit from its mesh file.
TEST(MeshFileTest, ShippedModelsRoundTrip) {
  int models = 0;
  for (const auto& entry : std::filesystem::directory_iterator(VORLITH_DATA_DIR "/model")) {
    if (entry.path().extension() != ".x") continue;
    SCOPED_TRACE(entry.path().string());
    LoadedModel loaded, read;
    std::string error;
    ASSERT_TRUE(LoadXModel(entry.path().string(), loaded, error)) << error;
    ASSERT_TRUE(ReadMeshFile(WriteMeshFile(loaded), read, error)) << error;
    ExpectSameModel(loaded, read);
    ++models;
  }
  EXPECT_EQ(models, 10);
}

LoadedModel Triangle() {
  LoadedModel model;
  model.mesh.vertices.resize(3);
  model.mesh.vertices[1].px = 1.0f;
  model.mesh.vertices[2].pz = 1.0f;
  model.mesh.indices = {0, 1, 2};
  model.mesh.subsets = {{0, 3}};
  model.mesh.hasNormals = true;
  model.materials.resize(1);
  model.materials[0].diffuse = {0.5f, 0.25f, 1.0f, 1.0f};
  model.materials[0].power = 8.0f;
  model.textureNames = {"tex/ship.png"};
  return model;
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = std::uint8_t(value >> (8 * i));
}

// Header words: version at 4, vertices at 8, corners at 12, subsets at 16. After the header
// (24 bytes): 3 vertices of 32 bytes, 3 corners, one subset, one material, one name.
constexpr std::size_t kCorners = 24 + 3 * 32;
constexpr std::size_t kSubset = kCorners + 12;
constexpr std::size_t kNameLength = kSubset + 8 + 68;

// Damaged files are refused with a message, never read past their end, and never make the
// reader allocate more than the file could hold.
TEST(MeshFileTest, DamagedFilesAreRefusedWithAMessage) {
  const std::vector<std::uint8_t> good = WriteMeshFile(Triangle());
  LoadedModel read;
  std::string error;
  ASSERT_TRUE(ReadMeshFile(good, read, error)) << error;
  ExpectSameModel(Triangle(), read);

  struct Case {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"an .x file", [](auto& b) { b = {'x', 'o', 'f', ' ', '0', '3'}; }, "not a mesh file"},
      {"header cut", [](auto& b) { b.resize(10); }, "cut short in its header"},
      {"newer version", [](auto& b) { PutU32(b, 4, 2); }, "version 2"},
      {"huge vertex count", [](auto& b) { PutU32(b, 8, 0xffffffffu); }, "need more than"},
      {"huge corner count", [](auto& b) { PutU32(b, 12, 0x40000000u); }, "need more than"},
      {"huge subset count", [](auto& b) { PutU32(b, 16, 0x10000000u); }, "need more than"},
      {"no subsets", [](auto& b) { PutU32(b, 16, 0); }, "no triangles"},
      {"corners not triangles", [](auto& b) { PutU32(b, 12, 2); }, "multiple of three"},
      {"corner past the vertices", [](auto& b) { PutU32(b, kCorners + 4, 3); }, "names vertex 3"},
      {"subset past the corners", [](auto& b) { PutU32(b, kSubset + 4, 4); }, "outside"},
      {"subset start overflows", [](auto& b) { PutU32(b, kSubset, 0xfffffffeu); }, "outside"},
      {"name longer than the file", [](auto& b) { PutU32(b, kNameLength, 1000); }, "cut short"},
      {"name length huge", [](auto& b) { PutU32(b, kNameLength, 0xffffffffu); }, "cut short"},
      {"bytes after the model", [](auto& b) { b.push_back(0); }, "1 bytes after the model"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint8_t> bytes = good;
    c.damage(bytes);
    read = Triangle();
    EXPECT_FALSE(ReadMeshFile(bytes, read, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_TRUE(read.mesh.vertices.empty() && read.materials.empty());
  }
  // Every shorter prefix of a good file is refused (the empty file and one cut in its body
  // among them).
  for (std::size_t size = 0; size < good.size(); ++size) {
    const std::vector<std::uint8_t> prefix(good.begin(), good.begin() + size);
    EXPECT_FALSE(ReadMeshFile(prefix, read, error)) << size;
  }
}

}  // namespace
}  // namespace vorlith
