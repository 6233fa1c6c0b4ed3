#include "graphics/Model.h"

#include <string>

#include "base/DataDirectory.h"
#include "graphics/Transforms.h"
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
    if (!loaded.textureNames[i].empty()) {
      textures[i] = device->CreateTextureFromFile(DataDirectory::Resolve(loaded.textureNames[i]));
    }
  }
  return true;
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
