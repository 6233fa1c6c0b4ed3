#include "graphics/Model.h"

#include <cstdio>
#include <string>

#include "base/DataDirectory.h"
#include "base/Utf8.h"
#include "graphics/Transforms.h"
#include "platform/ImageFile.h"
#include "platform/RenderDevice.h"
#include "platform/XModelLoader.h"

namespace vorlith {

Model::Model(const char* fileName) : fileName(fileName) {}

Model::~Model() {
  Release();
}

void Model::Release() {
  if (device) {
    for (TextureId texture : textures) {
      if (texture != 0) device->ReleaseTexture(texture);
    }
    if (mesh != 0) device->ReleaseMesh(mesh);
  }
  textures.clear();
  textureProblems.clear();
  materials.clear();
  materialCount = 0;
  mesh = 0;
  device = nullptr;
}

bool Model::Load(RenderDevice* target) {
  Release();
  loadError.clear();
  if (!target || !fileName) {
    loadError = "no drawing device";
    return false;
  }
  LoadedModel loaded;
  const std::string path = DataDirectory::Resolve(fileName);
  if (!LoadXModel(path, loaded, loadError)) return false;
  const MeshId created = target->CreateMesh(loaded.mesh);
  if (created == 0) {
    loadError = path + ": the drawing device did not take the mesh";
    return false;
  }
  device = target;
  mesh = created;
  materialCount = static_cast<std::uint32_t>(loaded.materials.size());
  materials = std::move(loaded.materials);
  textures.assign(materialCount, 0);
  for (std::uint32_t i = 0; i < materialCount; ++i) {
    materials[i].ambient = materials[i].diffuse;
    if (!loaded.textureNames[i].empty()) textures[i] = LoadTexture(path, loaded.textureNames[i]);
  }
  return true;
}

// A texture the model file names, loaded only from a checked image inside the data
// directory; otherwise the subset is drawn untextured and stderr says why.
TextureId Model::LoadTexture(const std::string& modelPath, const std::string& name) {
  std::string path, why;
  ImageFile image;
  if (DataDirectory::ResolveTexture(modelPath, name, path, why) && image.Read(path, why)) {
    if (const TextureId texture = device->CreateTextureFromFile(path)) return texture;
    why = "the image cannot be decoded";
  }
  textureProblems.push_back(EscapeForMessage(modelPath) + ": texture '" + EscapeForMessage(name) +
                            "' not loaded: " + why);
  std::fprintf(stderr, "vorlith: %s\n", textureProblems.back().c_str());
  return 0;
}

void Model::DrawSubsets() {
  if (!device || mesh == 0) return;
  for (std::uint32_t i = 0; i < materialCount; ++i) {
    device->SetAlphaBlend(true);
    device->SetMaterial(materials[i]);
    device->SetTexture(textures[i]);
    device->DrawSubset(mesh, static_cast<int>(i));
  }
}

void Model::DrawAt(float x, float y, float z, float rotX, float rotY, float rotZ, float scale) {
  if (!device || mesh == 0) return;
  device->SetTransform(TransformState::World, MakeWorldMatrix(x, y, z, rotX, rotY, rotZ, scale));
  DrawSubsets();
}

}  // namespace vorlith
