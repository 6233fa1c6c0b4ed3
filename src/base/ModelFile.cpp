#include "base/ModelFile.h"

#include <filesystem>
#include <fstream>

namespace vorlith {

bool ReadModelFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes,
                        std::string& error) {
  std::error_code code;
  if (!std::filesystem::is_regular_file(path, code)) {
    const bool exists = std::filesystem::exists(path, code);
    error = "cannot open model file " + path + (exists ? ": not a regular file" : ": no such file");
    return false;
  }
  const std::uintmax_t size = std::filesystem::file_size(path, code);
  if (code) {
    error = "cannot read model file " + path + ": " + code.message();
    return false;
  }
  if (size > kMaxModelFileBytes) {
    error = "model file " + path + " is too large (" + std::to_string(size) + " bytes)";
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size));
  std::ifstream file(path, std::ios::binary);
  if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    error = "cannot read model file " + path;
    return false;
  }
  return true;
}

bool DecodeModelBytes(const std::vector<std::uint8_t>& bytes, ModelDecoder decode, LoadedModel& out,
                      std::string& error) {
  out = LoadedModel{};
  error.clear();
  if (bytes.size() > kMaxModelFileBytes) {
    error = "too large for a model";
    return false;
  }
  return decode(bytes, out, error);
}

bool LoadModelFile(const std::string& path, ModelDecoder decode, LoadedModel& out,
                   std::string& error) {
  out = LoadedModel{};
  error.clear();
  std::vector<std::uint8_t> bytes;
  if (!ReadModelFileBytes(path, bytes, error)) return false;
  if (!decode(bytes, out, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace vorlith
