#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/LoadedModel.h"

namespace vorlith {

// Turns a model file's bytes into a model; false with a message in error.
using ModelDecoder = bool (*)(const std::vector<std::uint8_t>& bytes, LoadedModel& out,
                              std::string& error);

// The whole of a model file (.x or mesh file), refusing one larger than kMaxModelFileBytes.
// False with the message the game shows ("cannot open model file PATH: no such file", ...).
bool ReadModelFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes,
                        std::string& error);
// bytes decoded, refused when larger than kMaxModelFileBytes; out is emptied first.
bool DecodeModelBytes(const std::vector<std::uint8_t>& bytes, ModelDecoder decode, LoadedModel& out,
                      std::string& error);
// A model file read whole and decoded; a decoding error is prefixed with the path.
bool LoadModelFile(const std::string& path, ModelDecoder decode, LoadedModel& out,
                   std::string& error);

}  // namespace vorlith
