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

GLuint Compile(GLenum type, const char* source, std::string& error) {
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok != GL_TRUE) {
    error = ShaderLog(shader);
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

GlProgram::~GlProgram() {
  if (program != 0) glDeleteProgram(program);
}

bool GlProgram::Build(const char* vertexSource, const char* fragmentSource, std::string& error) {
  GLuint vertex = Compile(GL_VERTEX_SHADER, vertexSource, error);
  if (vertex == 0) return false;
  GLuint fragment = Compile(GL_FRAGMENT_SHADER, fragmentSource, error);
  if (fragment == 0) {
    glDeleteShader(vertex);
    return false;
  }
  program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint ok = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (ok == GL_TRUE) return true;
  GLint length = 0;
  glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
  glGetProgramInfoLog(program, length, nullptr, log.data());
  error = log.data();
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
