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

  // Compiles and links without asking how that went. Programs started one after another
  // and finished after are built side by side where the driver can (a browser's GPU process),
  // and the first question waits for them all at once.
  void Start(const char* vertexSource, const char* fragmentSource);
  // False (with the compiler's or linker's log in error) when the started pair did not build.
  bool Finish(std::string& error);
  GLuint Id() const { return program; }
  GLint Uniform(const char* name) const;

 private:
  void DeleteShaders();

  GLuint program = 0;
  GLuint vertex = 0, fragment = 0;  // between Start and Finish
};

// A 0xAARRGGBB colour as the 0..1 floats of a vec4 uniform.
ColorValue ColourFromArgb(std::uint32_t argb);
void SetColourUniform(GLint location, const ColorValue& colour);

}  // namespace vorlith
