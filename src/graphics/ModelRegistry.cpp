#include "graphics/ModelRegistry.h"

#include "graphics/Model.h"
#include "platform/Dialogs.h"

namespace vorlith {

ModelRegistry::~ModelRegistry() {
  ReleaseAllModels();
}

void ModelRegistry::RegisterModel(int slot, const char* fileName) {
  Model*& entry = models[slot];
  delete entry;
  entry = new Model(fileName);
}

bool ModelRegistry::LoadAllModels(RenderDevice* device, Dialogs& dialogs) {
  for (auto& [slot, model] : models) {
    if (model && !model->Load(device)) {
      dialogs.ShowMessage("Error! ModelRegistry::LoadAllModels()",
                          "モデルの読み込みに失敗しました。\n" + model->GetLoadError());
      return false;
    }
  }
  return true;
}

Model* ModelRegistry::GetModel(int slot) const {
  const auto found = models.find(slot);
  return found == models.end() ? nullptr : found->second;
}

void ModelRegistry::ReleaseAllModels() {
  for (auto& [slot, model] : models) {
    delete model;
    model = nullptr;
  }
}

}  // namespace vorlith
