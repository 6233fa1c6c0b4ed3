// Converts a .x model into the mesh file the browser build loads in its place:
//   mesh_convert IN.x OUT
// The model is read by the game's own loader (the same import, checks and helper process as
// the desktop), so the browser gets exactly the desktop's mesh. A file that does not load
// writes nothing: the loader's message goes to stderr and the exit status is 1.
#include <cstdio>
#include <string>

#include "base/MeshFile.h"
#include "platform/OutputFile.h"
#include "platform/XModelLoader.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: mesh_convert IN.x OUT\n");
    return 2;
  }
  vorlith::LoadedModel model;
  std::string error;
  if (!vorlith::LoadXModel(argv[1], model, error)) {
    std::fprintf(stderr, "mesh_convert: %s\n", error.c_str());
    return 1;
  }
  const std::vector<std::uint8_t> bytes = vorlith::WriteMeshFile(model);
  vorlith::LoadedModel check;
  if (!vorlith::ReadMeshFile(bytes, check, error)) {
    std::fprintf(stderr, "mesh_convert: %s: the mesh file does not read back: %s\n", argv[1],
                 error.c_str());
    return 1;
  }
  vorlith::OutputFile out("mesh file");
  if (!out.Open(argv[2], error)) {
    std::fprintf(stderr, "mesh_convert: %s\n", error.c_str());
    return 1;
  }
  out.Write(bytes.data(), bytes.size());
  if (out.Close()) return 0;
  std::remove(argv[2]);  // no half-written file that a build would take as up to date
  return 1;
}
