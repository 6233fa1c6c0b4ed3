#include "platform/ExecutablePath.h"

#include <SDL.h>

namespace vorlith {

std::string ExecutableDirectory() {
  char* base = SDL_GetBasePath();  // needs no SDL_Init; reads /proc/self/exe on Linux
  if (!base) return {};
  std::string directory = base;
  SDL_free(base);
  while (directory.size() > 1 && (directory.back() == '/' || directory.back() == '\\')) {
    directory.pop_back();
  }
  return directory;
}

}  // namespace vorlith
