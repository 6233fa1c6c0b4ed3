#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/RenderTypes.h"

namespace vorlith {

// A .x model as read from its file: the geometry with one subset per material in the file's
// material order, each material's colours (ambient set equal to diffuse, since the format
// carries no ambient colour) and its texture file name ("" for none, '\' turned into '/').
struct LoadedModel {
  MeshData mesh;
  std::vector<Material> materials;
  std::vector<std::string> textureNames;
};

// Files larger than this are refused before parsing.
constexpr std::uintmax_t kMaxModelFileBytes = 16u * 1024u * 1024u;

}  // namespace vorlith
