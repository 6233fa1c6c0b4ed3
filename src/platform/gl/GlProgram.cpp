#include "platform/gl/GlProgram.h"

#include <vector>

namespace vorlith {
namespace {

std::string ShaderLog(GLuint shader) {
  GLint length = 0;
  glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
  glGetShaderInfoLog(shader, length, nullptr, log.data());
  return log.data();
}

GLuint Compile(GLenum type, const char* source) {
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  return shader;
}

// Why a program did not link: the log of the first shader that did not compile, else the
// linker's.
std::string FailureLog(GLuint program, GLuint vertex, GLuint fragment) {
  for (GLuint shader : {vertex, fragment}) {
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) return ShaderLog(shader);
  }
  GLint length = 0;
  glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
  glGetProgramInfoLog(program, length, nullptr, log.data());
  return log.data();
}

}  // namespace

GlProgram::~GlProgram() {
  DeleteShaders();
  if (program != 0) glDeleteProgram(program);
}

void GlProgram::DeleteShaders() {
  if (vertex != 0) glDeleteShader(vertex);
  if (fragment != 0) glDeleteShader(fragment);
  vertex = fragment = 0;
}

void GlProgram::Start(const char* vertexSource, const char* fragmentSource) {
  vertex = Compile(GL_VERTEX_SHADER, vertexSource);
  fragment = Compile(GL_FRAGMENT_SHADER, fragmentSource);
  program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
}

// Only the link's result is asked for (the shaders' only when it failed): each question
// waits for the driver, in a browser for its GPU process, which may be busy with the page.
bool GlProgram::Finish(std::string& error) {
  GLint ok = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (ok != GL_TRUE) error = FailureLog(program, vertex, fragment);
  DeleteShaders();
  if (ok == GL_TRUE) return true;
  glDeleteProgram(program);
  program = 0;
  return false;
}

GLint GlProgram::Uniform(const char* name) const {
  return glGetUniformLocation(program, name);
}

ColorValue ColourFromArgb(std::uint32_t argb) {
  return ColorValue{((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f,
                    (argb & 0xFF) / 255.0f, ((argb >> 24) & 0xFF) / 255.0f};
}

void SetColourUniform(GLint location, const ColorValue& colour) {
  glUniform4f(location, colour.r, colour.g, colour.b, colour.a);
}

}  // namespace vorlith
