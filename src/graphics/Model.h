#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/RenderTypes.h"

namespace vorlith {

class RenderDevice;

// One loaded .x model: a mesh with one subset per material, each with its colours and
// optional texture, loaded onto and drawn through the device given to Load.
class Model {
 public:
  explicit Model(const char* fileName);  // the name is borrowed, not copied
  ~Model();
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  bool Load(RenderDevice* target);
  void DrawSubsets();
  // Position in game-plane units, angles in degrees, uniform scale.
  void DrawAt(float x, float y, float z, float rotX, float rotY, float rotZ, float scale);

  const char* GetFileName() const { return fileName; }
  std::uint32_t GetMaterialCount() const { return materialCount; }
  const std::vector<Material>& GetMaterials() const { return materials; }
  const std::vector<TextureId>& GetTextures() const { return textures; }
  bool IsLoaded() const { return mesh != 0; }
  // Why the last Load failed, naming the file; empty after a success.
  const std::string& GetLoadError() const { return loadError; }
  // One line for each texture the last Load left out, naming the model, the texture and why.
  const std::vector<std::string>& GetTextureProblems() const { return textureProblems; }

 private:
  void Release();
  TextureId LoadTexture(const std::string& modelPath, const std::string& name);

  MeshId mesh = 0;
  std::uint32_t materialCount = 0;
  std::vector<Material> materials;
  std::vector<TextureId> textures;
  const char* fileName;
  std::string loadError;
  std::vector<std::string> textureProblems;
  RenderDevice* device = nullptr;  // the device the mesh and textures live on
};

}  // namespace vorlith
