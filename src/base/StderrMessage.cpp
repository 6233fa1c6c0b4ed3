#include "base/StderrMessage.h"

#include <cstdio>

namespace vorlith {

void PrintMessage(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  std::fflush(stderr);
}

}  // namespace vorlith
