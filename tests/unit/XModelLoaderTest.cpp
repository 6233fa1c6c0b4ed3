#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TestFiles.h"
#include "base/MeshFile.h"
#include "base/ModelFile.h"
#include "platform/HelperProcess.h"
#include "platform/XModelLoader.h"
#include "platform/assimp/ImportCache.h"
#include "platform/assimp/XFileCheck.h"

namespace vorlith {
namespace {

using namespace std::string_literals;

const std::string kCorpus = VORLITH_CORPUS_DIR "/x/";

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::array<long, 4> Thousandths(const ColorValue& c) {
  return {std::lround(c.r * 1000), std::lround(c.g * 1000), std::lround(c.b * 1000),
          std::lround(c.a * 1000)};
}

// The shared corpus lies beside the clone on the build machines; a fresh clone has none.
class XModelCorpusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(kCorpus)) {
      if (std::getenv("CI")) FAIL() << "no model corpus at " << kCorpus << " (CI is set)";
      GTEST_SKIP() << "no model corpus at " << kCorpus;
    }
  }
};

TEST_F(XModelCorpusTest, EachFileLoadsWithItsSubsetsAndColoursOrFailsWithAMessage) {
  const char* const kKwxportTexture =
      "C:/code/sourceforge/kwxport/trunkMerged/test/data/bottom.tga";
  struct Expected {
    const char* file;
    std::size_t subsets, triangles;  // 0 subsets: the file does not load
    bool normals;
    ColorValue diffuse;   // the first material's
    const char* texture;  // the first material's
  } expected[] = {
      {"BCN_Epileptic.X", 1, 5126, true, {0.5f, 0.5f, 0.5f, 1}, ""},
      {"OV_GetNextToken.x", 0, 0, false, {}, ""},
      {"fromtruespace_bin32.x", 1, 6656, true, {0.537255f, 0.549020f, 0.0f, 1}, ""},
      {"kwxport_test_cubewithvcolors.x", 3, 12, true, {0.588f, 0.588f, 0.588f, 1}, kKwxportTexture},
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
    ASSERT_EQ(std::pair(loaded, error.empty()), std::pair(e.subsets > 0, loaded)) << error;
    if (!loaded) continue;
    const ColorValue& diffuse = model.materials[0].diffuse;
    EXPECT_EQ(std::tuple(model.mesh.subsets.size(), model.mesh.indices.size(),
                         model.mesh.hasNormals, Thousandths(diffuse), model.textureNames[0]),
              std::tuple(e.subsets, 3 * e.triangles, e.normals, Thousandths(e.diffuse),
                         std::string(e.texture)));
    EXPECT_EQ(model.materials[0].ambient.r, diffuse.r);
    EXPECT_TRUE(std::ranges::all_of(
        model.mesh.indices, [&](std::uint32_t i) { return i < model.mesh.vertices.size(); }));
  }
}

const std::string kHeader = "xof 0303txt 0032\n";
const std::string kTriangle = "Mesh tri {\n 3;\n 0;0;0;, 1;0;0;, 0;0;1;;\n 1;\n 3;0,1,2;;\n";

// Damaged files that pass the structural check but that the importer refuses (or crashes on:
// see below), missing files, directories and files too large to be sensible all fail with a
// message; the game goes on. Messages quote the file's bytes and its name escaped: no
// terminal sequence gets through.
TEST(XModelLoaderTest, FilesThatCannotBeModelsFailWithAMessage) {
  LoadedModel model;
  std::string error;
  // Skin weights without their bone name: the numbers fit, the importer refuses it.
  EXPECT_FALSE(LoadXModelFromMemory(Bytes(kHeader + kTriangle +
                                          " SkinWeights {\n 1;\n 2;\n 1.0;\n"
                                          " 1;0;0;0;0;1;0;0;0;0;1;0;0;0;0;1;;\n }\n}\n"),
                                    model, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(
      LoadXModelFromMemory(Bytes("xof 0303bin 0032\x01\0\x05\0\0\0\x1b[2J\xff"s), model, error));
  EXPECT_EQ(error, "unexpected name '\\x1b[2J\\xff' in .x file");
  // A good model padded past the limit is refused before it is parsed, in memory or on disk.
  std::string padded = kHeader + kTriangle + "}\n";
  ASSERT_TRUE(LoadXModelFromMemory(Bytes(padded), model, error)) << error;
  padded.resize(kMaxModelFileBytes + 1, ' ');
  EXPECT_FALSE(LoadXModelFromMemory(Bytes(padded), model, error));
  EXPECT_EQ(error, "too large for a model");

  // A link to itself, a file no one may read (root reads any file but the last), a sparse file
  // one byte past the limit and a file whose name and bytes need escaping say why.
  const testing::ScratchFolder temp("vorlith_x_files");
  const std::string loop = temp / "loop.x", big = temp / "too_large.x";
  const std::string named = temp / "\x1b[2J.x";
  std::string locked = temp / "locked.x";
  std::filesystem::create_symlink(loop, loop);
  std::ofstream(locked) << kHeader;
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  if (std::ifstream(locked)) locked = "/sys/bus/pci/rescan";
  std::ofstream(named) << "xof 0303\x1b[2J0032";
  std::ofstream(big) << kHeader;
  std::filesystem::resize_file(big, kMaxModelFileBytes + 1);
  const std::string size = std::to_string(kMaxModelFileBytes + 1);
  const std::pair<std::string, std::string> files[] = {
      {loop, "cannot open model file " + loop + ": Too many levels of symbolic links"},
      {locked, "cannot read model file " + locked + ": Permission denied"},
      {big, "model file " + big + " is too large (" + size + " bytes)"},
      {named, (temp / "\\x1b[2J.x: unknown .x format '\\x1b[2J'").string()},
      {VORLITH_DATA_DIR "/model",
       "cannot open model file " VORLITH_DATA_DIR "/model: not a regular file"},
  };
  for (const auto& [path, message] : files) {
    if (path == locked && !std::filesystem::exists(locked)) continue;
    EXPECT_FALSE(LoadXModel(path, model, error)) << path;
    EXPECT_EQ(error, message);
  }
  std::vector<std::uint8_t> bytes;  // what the loader reads first; nothing of it is held
  EXPECT_FALSE(ReadModelFileBytes(big, bytes, error));
  EXPECT_LT(bytes.capacity(), kMaxModelFileBytes);
}

// Loading the same bytes again (the next stage start) imports nothing; a file the importer
// crashes on fails with a message and the next file gets a working helper.
TEST(XModelLoaderTest, SameBytesAreImportedOnceAndTheImporterSurvivesACrash) {
  const auto bytes = Bytes(kHeader + "Mesh {\n 3;\n 0;0;0;, 2;0;0;, 0;0;2;;\n 1;\n 3;0,1,2;;\n}\n");
  LoadedModel first, again;
  std::string error;
  const XModelImporterStats before = GetXModelImporterStats();
  ASSERT_TRUE(LoadXModelFromMemory(bytes, first, error)) << error;
  ASSERT_TRUE(LoadXModelFromMemory(bytes, again, error)) << error;
  EXPECT_EQ(GetXModelImporterStats().imports, before.imports + 1);
  EXPECT_EQ(again.mesh.indices, first.mesh.indices);
  ASSERT_EQ(again.mesh.vertices.size(), 3u);
  EXPECT_EQ(again.mesh.vertices[1].px, 2.0f);

  const std::string crash =  // found by the fuzzer
      VORLITH_SOURCE_DIR "/tests/data/x-regressions/importer-crash-truncated-templates.x";
  ASSERT_TRUE(std::filesystem::is_regular_file(crash));
  EXPECT_FALSE(LoadXModel(crash, again, error));
  EXPECT_EQ(std::pair(error.empty(), again.materials.empty()), std::pair(false, true));
  auto other = bytes;
  other.push_back('\n');  // another file, the same model
  ASSERT_TRUE(LoadXModelFromMemory(other, again, error)) << error;
  EXPECT_EQ(again.mesh.indices, first.mesh.indices);
}

// A process's state letter from /proc (R, S, Z...), or 0 once it is gone.
char ProcessState(int pid) {
  const std::string text = testing::ReadWhole("/proc/" + std::to_string(pid) + "/stat");
  const std::size_t end = text.rfind(')');
  return end == std::string::npos || end + 2 >= text.size() ? 0 : text[end + 2];
}

// The helper answers requests one after another; one that crashes, hangs or answers with
// too much is killed, the call fails, and the next call starts a fresh helper. A helper dies
// with the program (its parent-death signal is SIGKILL).
TEST(HelperProcessTest, AHelperThatCrashesHangsOrFloodsIsReplaced) {
  HelperProcess helper(
      [](const std::string& request) -> std::string {
        if (request == "crash") std::abort();
        if (request == "flood") return std::string(100, 'x');
        int signal = 0;
        if (request == "deathsig" && prctl(PR_GET_PDEATHSIG, &signal) == 0)
          return std::to_string(signal);
        return "re: " + request;
      },
      16, 64, 3000);  // the time limit is long enough for a slow machine under sanitizers
  const struct {
    const char* request;
    bool answered;
    int startsAfter;  // helpers started once the next good request is answered
  } cases[] = {
      {"one", true, 1},
      {"crash", false, 2},
      {"flood", false, 3},
      {"seventeen bytes!!", false, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.request);
    std::string reply;
    EXPECT_EQ(helper.Call(c.request, reply), c.answered);
    EXPECT_EQ(reply, c.answered ? std::string("re: ") + c.request : "");
    EXPECT_TRUE(helper.Call("again", reply));
    EXPECT_EQ(std::pair(reply, helper.GetStarts()),
              std::pair(std::string("re: again"), c.startsAfter));
  }
  std::string reply;
  EXPECT_TRUE(helper.Call("deathsig", reply) && reply == std::to_string(SIGKILL)) << reply;
  // Gone between two requests (killed from outside): the next one starts another.
  ASSERT_TRUE(helper.IsRunning());
  const int pid = helper.GetPid();
  kill(pid, SIGKILL);
  for (char state = ProcessState(pid); state != 'Z' && state != 0; state = ProcessState(pid))
    std::this_thread::yield();  // until it is dead (a zombie till reaped)
  EXPECT_TRUE(helper.Call("after", reply) && helper.GetStarts() == 4) << helper.GetStarts();
  // A hang is cut at the time limit (short here, where only the hang meets it).
  HelperProcess hanging(
      [](const std::string& request) {
        if (request == "hang") std::this_thread::sleep_for(std::chrono::seconds(30));
        return request;
      },
      16, 64, 400);
  EXPECT_FALSE(hanging.Call("hang", reply));
  EXPECT_TRUE(hanging.Call("again", reply));
  EXPECT_EQ(std::tuple(reply, hanging.GetStarts()), std::tuple("again", 2));
}

TEST(ImportCacheTest, KeepsResultsByContentsWithinItsBounds) {
  ImportCache cache(2, 1000);
  ImportCache::Result refused;
  refused.error = "no";
  cache.Put("a", refused);
  cache.Put("b", refused);
  ASSERT_NE(cache.Find("a"), nullptr);
  EXPECT_EQ(std::tuple(cache.Find("a")->error, cache.Find("c")),
            std::tuple(std::string("no"), nullptr));
  cache.Put("c", refused);  // full: starts over
  EXPECT_EQ(std::tuple(cache.GetEntryCount(), cache.Find("a")), std::tuple(1u, nullptr));
  cache.Put(std::string(2000, 'x'), refused);  // larger than the whole cache: not kept
  EXPECT_EQ(cache.GetEntryCount(), 1u);
}

// A mesh with the given vertices, faces and further objects.
std::string Mesh(const std::string& vertices, const std::string& faces = "3;0,1,2;;",
                 const std::string& more = "") {
  return kHeader + "Mesh {\n 3;\n " + vertices + "\n 1;\n " + faces + "\n" + more + "}\n";
}
const std::string kVertices = "0;0;0;, 1;0;0;, 0;0;1;;";

std::string Skin(const std::string& vertex) {
  return " SkinWeights {\n \"bone\";\n 1;\n " + vertex +
         ";\n 1.0;\n 1;0;0;0;0;1;0;0;0;0;1;0;0;0;0;1;;\n }\n";
}

TEST(XFileCheckTest, RefusesSizesTheDataCannotHoldAndMalformedData) {
  std::string deep;
  for (int i = 0; i < 100; ++i) deep = "Frame {\n" + deep + "}\n";
  const std::pair<std::string, bool> cases[] = {
      {Mesh(kVertices, "3;0,1,2;;", Skin("2")), true},
      {Mesh("0;0;0;, # a\n 1;0;0;, 0;0;1;; // comments between values"), true},
      // Templates and references are passed over.
      {kHeader +
           "template Mesh {\n <3D82AB44-62DA-11cf-AB39-0020AF71E433>\n"
           " DWORD nVertices;\n array Vector vertices[nVertices];\n [...]\n}\n" +
           "Material shared { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n" + kTriangle +
           " MeshMaterialList { 1; 1; 0;; { shared } }\n}\n",
       true},
      // Billions of vertices declared in a few bytes.
      {kHeader + "Mesh {\n 2000000000;\n 0.0;0.0;0.0;;\n 1;\n 3;0,0,0;;\n}\n", false},
      {Mesh(kVertices, "3;0,1,3;;"), false},    // a corner past the last vertex
      {Mesh("0;0;0;, 1;0;, 0;0;1;;"), false},   // a vertex short of a number
      {kHeader + "Mesh { 3; 0.0;0.0;", false},  // ends inside its mesh
      // Counts and indices at their limits: the last one in range, then one past it.
      {Mesh(kVertices, "3;0,1,2;;", Skin("3")), false},
      {Mesh(kVertices, "3;0,1,2;;", " MeshMaterialList { 2; 1; 1;; }\n"), true},
      {Mesh(kVertices, "3;0,1,2;;", " MeshMaterialList { 2; 1; 2;; }\n"), false},
      {Mesh(kVertices, "3;0,1,2;;", " MeshVertexColors { 1; 2; 1;1;1;1;;; }\n"), true},
      {Mesh(kVertices, "3;0,1,2;;", " MeshVertexColors { 1; 3; 1;1;1;1;;; }\n"), false},
      {Mesh(kVertices, "3;0,1,2;;", " MeshTextureCoords { 3; 0;0;, 0;0;, 0;0;; }\n"), true},
      {Mesh(kVertices, "3;0,1,2;;", " MeshTextureCoords { 4; 0;0;, 0;0;, 0;0;; }\n"), false},
      {"xof 0303txt", false},
      {"xof 0303abc 0032 Mesh {}", false},
      {kHeader + "}\n", false},
      {kHeader + "Header { \"unterminated ; }\n", false},
      {kHeader + deep, false},
      // Tokens the importer would stumble over: stray punctuation, bare names, glued numbers.
      {Mesh(kVertices, "3;0,1,2;; ="), false},
      {Mesh(kVertices, "3;0,1,2;; x"), false},
      {Mesh("0;0;0;, 1;0#0;, 0;0;1;;"), false},
      {Mesh("0;0;0;, 1;0;0;, 0;0;1x;;"), false},
      {Mesh("0;0;0;, 1;0;0.5.0;, 0;0;1;;"), false},
      {Mesh("0;0;0;, 1;0 0;, 0;0;1;;"), false},
      {Mesh("0;0;0;,; 1;0;0;, 0;0;1;;"), false},
      // Binary: an integer list claiming more numbers than the file holds, an unknown token;
      // a damaged compressed block.
      {"xof 0303bin 0032\x06\0\xFF\xFF\xFF\x0F\x01\0\0\0"s, false},
      {"xof 0303bin 0032\x63\0"s, false},
      {"xof 0303tzip0032\x2C\0\0\0\x1C\0\x20\0XX\x01\x02\x03"s, false},
  };
  for (const auto& [file, passes] : cases) {
    std::string error;
    EXPECT_EQ(XFileCheck::Check(Bytes(file), error), passes) << file << "\n" << error;
  }
}

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
