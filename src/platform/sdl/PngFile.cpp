#include "platform/PngFile.h"

#include <SDL.h>
#include <SDL_image.h>

namespace vorlith {

bool WritePng(const std::string& path, const std::vector<std::uint8_t>& rgba, int width,
              int height) {
  if (width <= 0 || height <= 0 ||
      rgba.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
    return false;
  }
  // SDL reads the pixels in place and never writes them.
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(rgba.data()), width, height, 32,
                                         width * 4, SDL_PIXELFORMAT_ABGR8888);
  if (!surface) return false;
  const bool written = IMG_SavePNG(surface, path.c_str()) == 0;
  SDL_FreeSurface(surface);
  return written;
}

}  // namespace vorlith
