// GlTextureStore's image files in the browser.
#include <emscripten.h>

#include <cstdlib>

#include "platform/gl/GlApi.h"
#include "platform/gl/GlTextureStore.h"

namespace vorlith {

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

}  // namespace vorlith
