#pragma once

#include <string>

#include "platform/gl/GlApi.h"
#include "platform/gl/GlProgram.h"

namespace vorlith {

// Puts the back buffer's colour texture into the window pixel for pixel, with a triangle
// that fetches one texel per pixel. Presenting at the back buffer's own size this way gives
// the same pixels as a blit; the blit costs software drivers a shader of their own, built
// on the first presentation of every run, where this program is built (and cached by the
// driver) like the game's others.
class GlPresentCopy {
 public:
  ~GlPresentCopy();
  void Start();                   // starts building the program
  bool Init(std::string& error);  // after Start
  // Draws the texture's width x height texels with their bottom left at (left, bottom) of
  // the bound draw framebuffer. Leaves blending, depth test, culling and scissor off and
  // the vertex array and the texture unbound.
  void Draw(GLuint texture, int left, int bottom, int width, int height);

 private:
  GlProgram program;
  GLint originLocation = -1, imageLocation = -1;
  GLuint vertexArray = 0;
};

}  // namespace vorlith
