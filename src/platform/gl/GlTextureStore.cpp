#include "platform/gl/GlTextureStore.h"

#include "platform/gl/GlApi.h"

namespace vorlith {

GlTextureStore::~GlTextureStore() {
  for (GLuint name : names) {
    if (name != 0) glDeleteTextures(1, &name);
  }
}

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
