#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vorlith::testing {

// A file's bytes, whole ("" when it cannot be read).
inline std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A fresh, empty folder under the temporary directory, named for this process and test (ctest
// runs tests side by side), removed with all it holds when it goes.
struct ScratchFolder : std::filesystem::path {
  explicit ScratchFolder(const std::string& name)
      : path(std::filesystem::temp_directory_path() /
             (name + "-" + std::to_string(getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    std::filesystem::remove_all(*this);
    std::filesystem::create_directories(*this);
  }
  ~ScratchFolder() { std::filesystem::remove_all(*this); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
};

}  // namespace vorlith::testing
