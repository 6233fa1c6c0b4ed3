#include "platform/XModelLoader.h"

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cstring>

#include "base/ModelFile.h"
#include "base/Utf8.h"
#include "platform/HelperProcess.h"
#include "platform/assimp/ImportCache.h"
#include "platform/assimp/XFileCheck.h"

namespace vorlith {
namespace {

constexpr unsigned kImportFlags = aiProcess_ConvertToLeftHanded | aiProcess_Triangulate |
                                  aiProcess_PreTransformVertices | aiProcess_JoinIdenticalVertices;

ColorValue ToColor(const aiColor4D& c) {
  return ColorValue{c.r, c.g, c.b, c.a};
}

Material ConvertMaterial(const aiMaterial& source) {
  Material material;
  aiColor4D colour(0.0f, 0.0f, 0.0f, 1.0f);
  if (aiGetMaterialColor(&source, AI_MATKEY_COLOR_DIFFUSE, &colour) == AI_SUCCESS) {
    material.diffuse = ToColor(colour);
  }
  colour = aiColor4D(0.0f, 0.0f, 0.0f, 1.0f);
  if (aiGetMaterialColor(&source, AI_MATKEY_COLOR_SPECULAR, &colour) == AI_SUCCESS) {
    material.specular = ToColor(colour);
  }
  colour = aiColor4D(0.0f, 0.0f, 0.0f, 1.0f);
  if (aiGetMaterialColor(&source, AI_MATKEY_COLOR_EMISSIVE, &colour) == AI_SUCCESS) {
    material.emissive = ToColor(colour);
  }
  float power = 0.0f;
  if (aiGetMaterialFloat(&source, AI_MATKEY_SHININESS, &power) == AI_SUCCESS) {
    material.power = power;
  }
  material.ambient = material.diffuse;
  return material;
}

// The one texture file a .x material names, whatever use the importer guessed for it.
std::string TextureName(const aiMaterial& source) {
  for (int type = aiTextureType_DIFFUSE; type <= aiTextureType_UNKNOWN; ++type) {
    aiString path;
    if (source.GetTextureCount(static_cast<aiTextureType>(type)) > 0 &&
        source.GetTexture(static_cast<aiTextureType>(type), 0, &path) == AI_SUCCESS) {
      std::string name(path.C_Str());
      std::replace(name.begin(), name.end(), '\\', '/');
      return name;
    }
  }
  return std::string();
}

MeshVertex ConvertVertex(const aiMesh& mesh, unsigned i) {
  MeshVertex vertex;
  vertex.px = mesh.mVertices[i].x;
  vertex.py = mesh.mVertices[i].y;
  vertex.pz = mesh.mVertices[i].z;
  if (mesh.HasNormals()) {
    vertex.nx = mesh.mNormals[i].x;
    vertex.ny = mesh.mNormals[i].y;
    vertex.nz = mesh.mNormals[i].z;
  }
  if (mesh.HasTextureCoords(0)) {
    vertex.u = mesh.mTextureCoords[0][i].x;
    vertex.v = mesh.mTextureCoords[0][i].y;
  }
  return vertex;
}

// Appends the mesh's triangles; faces of fewer than three corners or with corners outside
// the mesh are skipped, larger polygons are split into a fan.
void AppendFaces(const aiMesh& mesh, std::uint32_t base, std::vector<std::uint32_t>& indices) {
  for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
    const aiFace& face = mesh.mFaces[f];
    if (face.mNumIndices < 3 || !face.mIndices) continue;
    const bool inside = std::all_of(face.mIndices, face.mIndices + face.mNumIndices,
                                    [&](unsigned index) { return index < mesh.mNumVertices; });
    if (!inside) continue;
    for (unsigned corner = 2; corner < face.mNumIndices; ++corner) {
      indices.push_back(base + face.mIndices[0]);
      indices.push_back(base + face.mIndices[corner - 1]);
      indices.push_back(base + face.mIndices[corner]);
    }
  }
}

void AppendMesh(const aiMesh& mesh, MeshData& out) {
  const auto base = static_cast<std::uint32_t>(out.vertices.size());
  for (unsigned i = 0; i < mesh.mNumVertices; ++i) out.vertices.push_back(ConvertVertex(mesh, i));
  if (mesh.HasNormals()) out.hasNormals = true;
  AppendFaces(mesh, base, out.indices);
}

bool ConvertScene(const aiScene& scene, LoadedModel& out, std::string& error) {
  if (scene.mNumMeshes == 0 || scene.mNumMaterials == 0) {
    error = "the file holds no mesh";
    return false;
  }
  // Materials the file lists but no mesh uses (shared ones never referenced) are not
  // subsets of this mesh: drop those after the last one in use.
  unsigned materialCount = 0;
  for (unsigned i = 0; i < scene.mNumMeshes; ++i) {
    if (scene.mMeshes[i] && scene.mMeshes[i]->mMaterialIndex < scene.mNumMaterials) {
      materialCount = std::max(materialCount, scene.mMeshes[i]->mMaterialIndex + 1);
    }
  }
  for (unsigned m = 0; m < materialCount; ++m) {
    MeshData::Subset subset;
    subset.firstIndex = static_cast<std::uint32_t>(out.mesh.indices.size());
    for (unsigned i = 0; i < scene.mNumMeshes; ++i) {
      const aiMesh* mesh = scene.mMeshes[i];
      if (mesh && mesh->mMaterialIndex == m) AppendMesh(*mesh, out.mesh);
    }
    subset.indexCount = static_cast<std::uint32_t>(out.mesh.indices.size()) - subset.firstIndex;
    out.mesh.subsets.push_back(subset);
    out.materials.push_back(ConvertMaterial(*scene.mMaterials[m]));
    out.textureNames.push_back(TextureName(*scene.mMaterials[m]));
  }
  if (out.mesh.indices.empty()) {
    error = "the file holds no triangles";
    return false;
  }
  return true;
}

bool Import(const std::vector<std::uint8_t>& bytes, LoadedModel& out, std::string& error) {
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), kImportFlags, "x");
  if (!scene) {
    // The importer's messages quote the file's own bytes.
    error = EscapeForMessage(importer.GetErrorString());
    if (error.empty()) error = "not readable as a model";
    return false;
  }
  return ConvertScene(*scene, out, error);
}

// The child's reply: a flag, the message, then the model's arrays, each after its length.
template <typename T>
void PutArray(std::string& out, const T* items, std::size_t count) {
  const auto length = static_cast<std::uint64_t>(count);
  out.append(reinterpret_cast<const char*>(&length), sizeof length);
  out.append(reinterpret_cast<const char*>(items), count * sizeof(T));
}

std::string Pack(bool loaded, const LoadedModel& model, const std::string& error) {
  std::string out(1, loaded ? '\1' : '\0');
  PutArray(out, error.data(), error.size());
  PutArray(out, model.mesh.vertices.data(), model.mesh.vertices.size());
  PutArray(out, model.mesh.indices.data(), model.mesh.indices.size());
  PutArray(out, model.mesh.subsets.data(), model.mesh.subsets.size());
  out.push_back(model.mesh.hasNormals ? '\1' : '\0');
  PutArray(out, model.materials.data(), model.materials.size());
  for (const std::string& name : model.textureNames) PutArray(out, name.data(), name.size());
  return out;
}

class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes(bytes) {}
  template <typename T>
  bool Array(std::vector<T>& items) {
    std::uint64_t count = 0;
    if (!Raw(&count, sizeof count) || count > (bytes.size() - at) / sizeof(T)) return false;
    items.resize(static_cast<std::size_t>(count));
    return Raw(items.data(), items.size() * sizeof(T));
  }
  bool Text(std::string& text) {
    std::vector<char> chars;
    if (!Array(chars)) return false;
    text.assign(chars.begin(), chars.end());
    return true;
  }
  bool Flag(bool& flag) {
    char c = 0;
    if (!Raw(&c, 1)) return false;
    flag = c != 0;
    return true;
  }
  bool AtEnd() const { return at == bytes.size(); }

 private:
  bool Raw(void* to, std::size_t size) {
    if (size > bytes.size() - at) return false;
    if (size > 0) std::memcpy(to, bytes.data() + at, size);
    at += size;
    return true;
  }
  const std::string& bytes;
  std::size_t at = 0;
};

// The helper's mesh is not trusted further than the importer: every corner names a vertex
// and every subset lies within the corners.
bool WithinBounds(const MeshData& mesh) {
  const std::size_t vertexCount = mesh.vertices.size();
  const bool corners = std::all_of(mesh.indices.begin(), mesh.indices.end(),
                                   [&](std::uint32_t i) { return i < vertexCount; });
  return corners && std::all_of(mesh.subsets.begin(), mesh.subsets.end(), [&](const auto& s) {
           return s.firstIndex <= mesh.indices.size() &&
                  s.indexCount <= mesh.indices.size() - s.firstIndex;
         });
}

bool Unpack(const std::string& bytes, bool& loaded, LoadedModel& model, std::string& error) {
  Reader reader(bytes);
  if (!reader.Flag(loaded) || !reader.Text(error) || !reader.Array(model.mesh.vertices) ||
      !reader.Array(model.mesh.indices) || !reader.Array(model.mesh.subsets) ||
      !reader.Flag(model.mesh.hasNormals) || !reader.Array(model.materials)) {
    return false;
  }
  if (model.mesh.subsets.size() != model.materials.size()) return false;
  model.textureNames.resize(model.materials.size());
  for (std::string& name : model.textureNames) {
    if (!reader.Text(name)) return false;
  }
  return reader.AtEnd() && WithinBounds(model.mesh);
}

// Large enough for any model a file under the size limit makes; a helper that does not
// answer within the time limit is taken to hang on its file.
constexpr std::size_t kMaxReplyBytes = 512u * 1024u * 1024u;
constexpr int kImportTimeoutMs = 30000;
constexpr std::size_t kCacheEntries = 64;
constexpr std::size_t kCacheBytes = 64u * 1024u * 1024u;
// Imported by each new helper while the game sets up its window: the first model of the
// first stage then finds the importer's code paged in and its readers registered.
constexpr const char* kWarmUpModel =
    "xof 0303txt 0032\nMaterial m { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n"
    "Frame f { Mesh { 3; 0;0;0;, 1;0;0;, 0;0;1;; 1; 3;0,1,2;;\n"
    " MeshNormals { 1; 0;1;0;; 1; 3;0,0,0;; }\n MeshMaterialList { 1; 1; 0;; { m } } } }\n";

int imports = 0;  // files handed to the importer in this process

HelperProcess& Importer() {
  static HelperProcess importer(
      [](const std::string& request) {
        const std::vector<std::uint8_t> bytes(request.begin(), request.end());
        LoadedModel model;
        std::string message;
        const bool loaded = Import(bytes, model, message);
        return Pack(loaded, model, message);
      },
      kMaxModelFileBytes, kMaxReplyBytes, kImportTimeoutMs, kWarmUpModel);
  return importer;
}

ImportCache& Cache() {
  static ImportCache cache(kCacheEntries, kCacheBytes);
  return cache;
}

// What was answered before, else the file check and the import in the helper process.
bool ImportBytes(const std::vector<std::uint8_t>& bytes, LoadedModel& out, std::string& error) {
  const std::string contents(bytes.begin(), bytes.end());
  if (const ImportCache::Result* kept = Cache().Find(contents)) {
    if (kept->loaded) out = kept->model;
    error = kept->error;
    return kept->loaded;
  }
  if (!XFileCheck::Check(bytes, error)) return false;
  // The importer has crashed on damaged files that pass the check: it runs in the helper
  // process, which hands the model back.
  std::string reply;
  ImportCache::Result result;
  ++imports;
  if (!Importer().Call(contents, reply) ||
      !Unpack(reply, result.loaded, result.model, result.error)) {
    error = "the importer failed on this file";
    return false;
  }
  if (!result.loaded) result.model = LoadedModel{};
  Cache().Put(contents, result);
  out = std::move(result.model);
  error = std::move(result.error);
  return result.loaded;
}

}  // namespace

bool LoadXModelFromMemory(const std::vector<std::uint8_t>& bytes, LoadedModel& out,
                          std::string& error) {
  return DecodeModelBytes(bytes, ImportBytes, out, error);
}

bool LoadXModel(const std::string& path, LoadedModel& out, std::string& error) {
  return LoadModelFile(path, LoadXModelFromMemory, out, error);
}

bool StartXModelImporter() {
  return Importer().Start();
}

void ServeXModelImporterIfHelper(int argc, const char* const* argv) {
  if (HelperProcess::TakeHelperRole(argc, argv)) Importer();  // serves; never returns
}

XModelImporterStats GetXModelImporterStats() {
  return XModelImporterStats{imports, Importer().GetStarts()};
}

}  // namespace vorlith
