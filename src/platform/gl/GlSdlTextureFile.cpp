// GlTextureStore's image files on the desktop, decoded by SDL_image.
#include <SDL.h>
#include <SDL_image.h>

#include "platform/ImageFile.h"
#include "platform/gl/GlApi.h"
#include "platform/gl/GlTextureStore.h"

namespace vorlith {

// Only a file that passes ImageFile's checks reaches the decoder, as the format its header
// shows.
TextureId GlTextureStore::CreateFromFile(const std::string& path) {
  ImageFile image;
  std::string why;
  if (!image.Read(path, why)) return 0;
  SDL_RWops* stream = SDL_RWFromConstMem(image.bytes.data(), static_cast<int>(image.bytes.size()));
  SDL_Surface* loaded = stream ? IMG_LoadTyped_RW(stream, 1, image.type) : nullptr;
  if (!loaded) return 0;
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0);
  SDL_FreeSurface(loaded);
  if (!rgba) return 0;
  const GLuint name = Upload(rgba->pixels, rgba->w, rgba->h, rgba->pitch / 4);
  SDL_FreeSurface(rgba);
  return Keep(name);
}

}  // namespace vorlith
