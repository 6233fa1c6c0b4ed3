#pragma once

#include <map>

namespace vorlith {

class Model;

// Slot number -> model, for one stage.
class ModelRegistry {
 public:
  ModelRegistry() = default;
  ~ModelRegistry();
  ModelRegistry(const ModelRegistry&) = delete;
  ModelRegistry& operator=(const ModelRegistry&) = delete;

  void RegisterModel(int slot, const char* fileName);
  bool LoadAllModels();
  Model* GetModel(int slot) const;
  void ReleaseAllModels();

 private:
  std::map<int, Model*> models;
};

}  // namespace vorlith
