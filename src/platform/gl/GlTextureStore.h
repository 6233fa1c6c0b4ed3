#pragma once

#include <string>
#include <vector>

#include "base/RenderTypes.h"

namespace vorlith {

// The textures loaded from picture files, by TextureId (1 up; a released id is reused). Needs
// the device's context current for every call, its destructor included.
class GlTextureStore {
 public:
  GlTextureStore() = default;
  ~GlTextureStore();
  GlTextureStore(const GlTextureStore&) = delete;
  GlTextureStore& operator=(const GlTextureStore&) = delete;

  // Loads the picture as RGBA8 with mipmaps, wrapping; 0 when it cannot be read. Leaves
  // GL_TEXTURE_2D unbound.
  TextureId CreateFromFile(const std::string& path);
  // False when the id was never handed out (0 or past the last slot).
  bool Release(TextureId texture);
  // The GL name of a live texture, else 0.
  unsigned Name(TextureId texture) const {
    return texture != 0 && texture <= names.size() ? names[texture - 1] : 0;
  }

 private:
  // A texture made from RGBA rows, top row first, rowLength pixels apart.
  static unsigned Upload(const void* rgba, int width, int height, int rowLength);
  // Hands out an id for a GL name.
  TextureId Keep(unsigned name);

  std::vector<unsigned> names;  // TextureId - 1; 0 for a released slot
};

}  // namespace vorlith
