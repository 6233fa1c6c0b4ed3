#include "base/ModelFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "base/Utf8.h"

namespace vorlith {

bool ReadModelFileBytes(const std::string& rawPath, std::vector<std::uint8_t>& bytes,
                        std::string& error) {
  const std::string path = EscapeForMessage(rawPath);
  std::error_code code;
  const std::filesystem::file_status status = std::filesystem::status(PathFromUtf8(rawPath), code);
  if (status.type() == std::filesystem::file_type::not_found) {
    error = "cannot open model file " + path + ": no such file";
    return false;
  }
  if (code) {  // a symlink loop, a directory on the way that may not be searched, ...
    error = "cannot open model file " + path + ": " + code.message();
    return false;
  }
  if (!std::filesystem::is_regular_file(status)) {
    error = "cannot open model file " + path + ": not a regular file";
    return false;
  }
  const std::uintmax_t size = std::filesystem::file_size(PathFromUtf8(rawPath), code);
  if (code) {
    error = "cannot read model file " + path + ": " + code.message();
    return false;
  }
  if (size > kMaxModelFileBytes) {
    error = "model file " + path + " is too large (" + std::to_string(size) + " bytes)";
    return false;
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(rawPath.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) {
    error = "cannot read model file " + path + ": " + std::strerror(errno);
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    const bool failed = std::ferror(file.get()) != 0;
    error = "cannot read model file " + path + ": " +
            (failed ? std::strerror(errno) : "it became shorter while it was read");
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
    error = EscapeForMessage(path) + ": " + error;
    return false;
  }
  return true;
}

}  // namespace vorlith
