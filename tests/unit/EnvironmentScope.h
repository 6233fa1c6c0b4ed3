#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace vorlith::testing {

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
