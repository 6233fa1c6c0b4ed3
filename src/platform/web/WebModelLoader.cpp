// The browser build's model loader: there is no importer here. The build converted each .x
// file through the desktop's loader into a mesh file of the same name (cmake/WebAssets.cmake),
// so a model loads with the desktop's geometry, materials and texture names, and a missing
// or damaged file fails through the same message path ("PATH: mesh file: ...").
#include "platform/MeshFile.h"
#include "platform/XModelLoader.h"

namespace vorlith {
namespace {

int decoded = 0;  // files handed to the mesh file reader

}  // namespace

bool LoadXModelFromMemory(const std::vector<std::uint8_t>& bytes, LoadedModel& out,
                          std::string& error) {
  out = LoadedModel{};
  error.clear();
  if (bytes.size() > kMaxModelFileBytes) {
    error = "too large for a model";
    return false;
  }
  ++decoded;
  return ReadMeshFile(bytes, out, error);
}

// Nothing to start: reading a mesh file needs no helper process.
bool StartXModelImporter() {
  return true;
}

XModelImporterStats GetXModelImporterStats() {
  return XModelImporterStats{decoded, 0};
}

}  // namespace vorlith
