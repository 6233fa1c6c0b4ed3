#pragma once

#include <epoxy/gl.h>

#include <string>

namespace vorlith {

// One linked vertex + fragment shader pair.
class GlProgram {
 public:
  GlProgram() = default;
  ~GlProgram();
  GlProgram(const GlProgram&) = delete;
  GlProgram& operator=(const GlProgram&) = delete;

  // False (with the compiler's or linker's log in error) when the pair does not build.
  bool Build(const char* vertexSource, const char* fragmentSource, std::string& error);
  GLuint Id() const { return program; }
  GLint Uniform(const char* name) const;

 private:
  GLuint program = 0;
};

// The vertex shader of the 2D renderers (lines, text): `position` in back-buffer pixels,
// origin top left, to clip space; `value` (of the GLSL type given) passed on as `vValue`.
std::string ScreenSpaceVertexShader(const char* valueType);

}  // namespace vorlith
