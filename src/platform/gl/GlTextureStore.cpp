#include "platform/gl/GlTextureStore.h"

#include "platform/gl/GlApi.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

#include <cstdlib>
#else
#include <SDL.h>
#include <SDL_image.h>

#include "platform/ImageFile.h"
#endif

namespace vorlith {

GlTextureStore::~GlTextureStore() {
  for (GLuint name : names) {
    if (name != 0) glDeleteTextures(1, &name);
  }
}

#ifdef __EMSCRIPTEN__
// The browser decodes the image files preloaded with the page; their RGBA rows come top
// row first.
TextureId GlTextureStore::CreateFromFile(const std::string& path) {
  int width = 0, height = 0;
  char* pixels = emscripten_get_preloaded_image_data(path.c_str(), &width, &height);
  if (!pixels) return 0;
  const GLuint name = Upload(pixels, width, height, width);
  std::free(pixels);
  return Keep(name);
}
#else
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
#endif

unsigned GlTextureStore::Upload(const void* rgba, int width, int height, int rowLength) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
  // Rows go up top row first, so texture v = 0 is the image's top as the model files expect.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glGenerateMipmap(GL_TEXTURE_2D);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glBindTexture(GL_TEXTURE_2D, 0);
  return name;
}

TextureId GlTextureStore::Keep(unsigned name) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == 0) {
      names[i] = name;
      return static_cast<TextureId>(i + 1);
    }
  }
  names.push_back(name);
  return static_cast<TextureId>(names.size());
}

bool GlTextureStore::Release(TextureId texture) {
  if (texture == 0 || texture > names.size()) return false;
  GLuint& name = names[texture - 1];
  if (name != 0) glDeleteTextures(1, &name);
  name = 0;
  return true;
}

}  // namespace vorlith
