#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/LoadedModel.h"

namespace vorlith {

// Reads a text, binary or compressed .x file in its own coordinates and winding.
// (In the browser build, the mesh file the build made of it under the same name.)
// False with a message in error when the file cannot be read as a model.
bool LoadXModel(const std::string& path, LoadedModel& out, std::string& error);
// The same for a file's bytes already in memory; more than kMaxModelFileBytes are refused.
bool LoadXModelFromMemory(const std::vector<std::uint8_t>& bytes, LoadedModel& out,
                          std::string& error);

// The importer runs in a helper process that lives as long as the program; bytes it has
// answered before are answered again from memory, so loading the same files again imports
// nothing. Starting the helper while the process is still small (before the window and the
// drawing device exist) keeps its fork cheap; otherwise the first load starts it. False when
// it cannot be started.
bool StartXModelImporter();
// In a helper process started as the program again with a hidden option (Windows): serves the
// importer's requests and never returns. Otherwise does nothing.
void ServeXModelImporterIfHelper(int argc, const char* const* argv);

struct XModelImporterStats {
  int imports = 0;       // files handed to the importer
  int helperStarts = 0;  // helper processes started (one more after each that died)
};
XModelImporterStats GetXModelImporterStats();

}  // namespace vorlith
