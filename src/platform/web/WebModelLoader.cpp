// The browser build's model loader: there is no importer here. The build converted each .x
// file through the desktop's loader into a mesh file of the same name (cmake/WebAssets.cmake),
// so a model loads with the desktop's geometry, materials and texture names, and a missing
// or damaged file fails through the same message path ("PATH: mesh file: ...").
#include "base/MeshFile.h"
#include "base/ModelFile.h"
#include "platform/XModelLoader.h"

namespace vorlith {
namespace {

int decoded = 0;  // files handed to the mesh file reader

bool DecodeMeshFile(const std::vector<std::uint8_t>& bytes, LoadedModel& out, std::string& error) {
  ++decoded;
  return ReadMeshFile(bytes, out, error);
}

}  // namespace

bool LoadXModelFromMemory(const std::vector<std::uint8_t>& bytes, LoadedModel& out,
                          std::string& error) {
  return DecodeModelBytes(bytes, DecodeMeshFile, out, error);
}

bool LoadXModel(const std::string& path, LoadedModel& out, std::string& error) {
  return LoadModelFile(path, LoadXModelFromMemory, out, error);
}

// Nothing to start: reading a mesh file needs no helper process.
bool StartXModelImporter() {
  return true;
}

void ServeXModelImporterIfHelper(int, const char* const*) {}

XModelImporterStats GetXModelImporterStats() {
  return XModelImporterStats{decoded, 0};
}

}  // namespace vorlith
