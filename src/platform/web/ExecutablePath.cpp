#include "platform/ExecutablePath.h"

namespace vorlith {

// The program has no directory of its own in the page: the root of its file system.
std::string ExecutableDirectory() {
  return "/";
}

}  // namespace vorlith
