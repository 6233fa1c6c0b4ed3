// Reading a model file whole, shared by the desktop's importer and the browser's mesh files:
// both fail with the same messages.
#include <filesystem>
#include <fstream>

#include "platform/Utf8.h"
#include "platform/XModelLoader.h"

namespace vorlith {

bool ReadModelFileBytes(const std::string& rawPath, std::vector<std::uint8_t>& bytes,
                        std::string& error) {
  const std::string path = EscapeForMessage(rawPath);
  std::error_code code;
  if (!std::filesystem::is_regular_file(rawPath, code)) {
    const bool exists = std::filesystem::exists(rawPath, code);
    error = "cannot open model file " + path + (exists ? ": not a regular file" : ": no such file");
    return false;
  }
  const std::uintmax_t size = std::filesystem::file_size(rawPath, code);
  if (code) {
    error = "cannot read model file " + path + ": " + code.message();
    return false;
  }
  if (size > kMaxModelFileBytes) {
    error = "model file " + path + " is too large (" + std::to_string(size) + " bytes)";
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size));
  std::ifstream file(rawPath, std::ios::binary);
  if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    error = "cannot read model file " + path;
    return false;
  }
  return true;
}

bool LoadXModel(const std::string& path, LoadedModel& out, std::string& error) {
  out = LoadedModel{};
  error.clear();
  std::vector<std::uint8_t> bytes;
  if (!ReadModelFileBytes(path, bytes, error)) return false;
  if (!LoadXModelFromMemory(bytes, out, error)) {
    error = EscapeForMessage(path) + ": " + error;
    return false;
  }
  return true;
}

}  // namespace vorlith
