#pragma once

// The fuzzers' input as a file, for the readers that take one: one file per process, under
// TMPDIR (or /tmp), named with the ending given.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vorlith::fuzz {

// Writes the bytes to this process's file; returns its path, or "" when it cannot be written.
inline std::string WriteInputFile(const std::uint8_t* data, std::size_t size, const char* ending) {
  const char* dir = std::getenv("TMPDIR");
  std::string path =
      std::string(dir ? dir : "/tmp") + "/vorlith_fuzz_" + std::to_string(getpid()) + ending;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return "";
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
  return path;
}

}  // namespace vorlith::fuzz
