#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
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

// Sets (or, given no value, removes) an environment variable for its lifetime, then puts back
// what was there: later tests in the same process still see TestEnvironment's folders.
class EnvironmentScope {
 public:
  EnvironmentScope(const char* name, const char* value) : name(name) {
    if (const char* old = std::getenv(name)) saved = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~EnvironmentScope() { saved ? setenv(name, saved->c_str(), 1) : unsetenv(name); }
  EnvironmentScope(const EnvironmentScope&) = delete;
  EnvironmentScope& operator=(const EnvironmentScope&) = delete;

 private:
  const char* name;
  std::optional<std::string> saved;
};

}  // namespace vorlith::testing
