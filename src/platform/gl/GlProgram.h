#pragma once

#include <cstdint>
#include <string>

#include "base/RenderTypes.h"
#include "platform/gl/GlApi.h"

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

// A 0xAARRGGBB colour as the 0..1 floats of a vec4 uniform.
ColorValue ColourFromArgb(std::uint32_t argb);
void SetColourUniform(GLint location, const ColorValue& colour);

}  // namespace vorlith
