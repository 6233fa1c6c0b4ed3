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
// (In the browser build, the mesh file the build made of it under the same name.)
// False with a message in error when the file cannot be read as a model.
bool LoadXModel(const std::string& path, LoadedModel& out, std::string& error);
// The whole of a model file (.x or mesh file), refusing one larger than kMaxModelFileBytes.
// False with the message the game shows ("cannot open model file PATH: no such file", ...).
bool ReadModelFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes,
                        std::string& error);
// The same for a file's bytes already in memory.
bool LoadXModelFromMemory(const std::vector<std::uint8_t>& bytes, LoadedModel& out,
                          std::string& error);

// The importer runs in a helper process that lives as long as the program; bytes it has
// answered before are answered again from memory, so loading the same files again imports
// nothing. Starting the helper while the process is still small (before the window and the
// drawing device exist) keeps its fork cheap; otherwise the first load starts it. False when
// it cannot be started.
bool StartXModelImporter();

struct XModelImporterStats {
  int imports = 0;       // files handed to the importer
  int helperStarts = 0;  // helper processes started (one more after each that died)
};
XModelImporterStats GetXModelImporterStats();

}  // namespace vorlith
