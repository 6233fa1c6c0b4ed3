// GlTextureStore's image files on the desktop, decoded by SDL_image.
#include <SDL.h>
#include <SDL_image.h>

#include "platform/gl/GlApi.h"
#include "platform/gl/GlTextureStore.h"

namespace vorlith {

TextureId GlTextureStore::CreateFromFile(const std::string& path) {
  SDL_Surface* loaded = IMG_Load(path.c_str());
  if (!loaded) return 0;
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0);
  SDL_FreeSurface(loaded);
  if (!rgba) return 0;
  const GLuint name = Upload(rgba->pixels, rgba->w, rgba->h, rgba->pitch / 4);
  SDL_FreeSurface(rgba);
  return Keep(name);
}

}  // namespace vorlith
