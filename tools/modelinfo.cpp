// Tells, for each .x file given, whether it loads as the game loads models:
//   modelinfo <file.x>...
// A file that loads: its subset, vertex and triangle counts and each material's colours and
// texture name. One that does not: the loader's message. Exit status 1 when any fails.
#include <cstdio>
#include <string>

#include "base/Utf8.h"
#include "platform/XModelLoader.h"

namespace {

void PrintColour(const char* label, const vorlith::ColorValue& c) {
  std::printf(" %s %.3f %.3f %.3f %.3f", label, c.r, c.g, c.b, c.a);
}

void PrintModel(const vorlith::LoadedModel& model) {
  std::printf(": loads, %zu subsets, %zu vertices, %zu triangles%s\n", model.mesh.subsets.size(),
              model.mesh.vertices.size(), model.mesh.indices.size() / 3,
              model.mesh.hasNormals ? ", normals" : ", no normals");
  for (std::size_t i = 0; i < model.materials.size(); ++i) {
    const vorlith::Material& m = model.materials[i];
    std::printf("  material %zu: %u triangles,", i, model.mesh.subsets[i].indexCount / 3);
    PrintColour("diffuse", m.diffuse);
    PrintColour("specular", m.specular);
    PrintColour("emissive", m.emissive);
    std::printf(" power %.3f", m.power);
    if (!model.textureNames[i].empty())
      std::printf(" texture \"%s\"", vorlith::EscapeForMessage(model.textureNames[i]).c_str());
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <file.x>...\n", argv[0]);
    return 2;
  }
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    vorlith::LoadedModel model;
    std::string error;
    std::printf("%s", vorlith::EscapeForMessage(argv[i]).c_str());
    if (vorlith::LoadXModel(argv[i], model, error)) {
      PrintModel(model);
    } else {
      std::printf(": does not load: %s\n", error.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
