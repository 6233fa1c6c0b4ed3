#pragma once

#include <map>

namespace vorlith {

class Dialogs;
class Model;

// Slot number -> model, for one stage.
class RenderDevice;

class ModelRegistry {
 public:
  ModelRegistry() = default;
  ~ModelRegistry();
  ModelRegistry(const ModelRegistry&) = delete;
  ModelRegistry& operator=(const ModelRegistry&) = delete;

  void RegisterModel(int slot, const char* fileName);
  // Loads every registered model onto the device; false (and a message) at the first failure.
  bool LoadAllModels(RenderDevice* device, Dialogs& dialogs);
  Model* GetModel(int slot) const;
  void ReleaseAllModels();

 private:
  std::map<int, Model*> models;
};

}  // namespace vorlith
