#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/RenderTypes.h"

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

// Reads a text, binary or compressed .x file in its own coordinates and winding.
// False with a message in error when the file cannot be read as a model.
bool LoadXModel(const std::string& path, LoadedModel& out, std::string& error);
// The same for a file's bytes already in memory.
bool LoadXModelFromMemory(const std::vector<std::uint8_t>& bytes, LoadedModel& out,
                          std::string& error);

}  // namespace vorlith
