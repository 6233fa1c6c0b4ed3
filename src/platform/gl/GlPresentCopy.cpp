#include "platform/gl/GlPresentCopy.h"

#include "platform/gl/GlShaders.h"

namespace vorlith {

GlPresentCopy::~GlPresentCopy() {
  if (vertexArray != 0) glDeleteVertexArrays(1, &vertexArray);
}

void GlPresentCopy::Start() {
  program.Start(kCopyVertexShader, kCopyFragmentShader);
}

bool GlPresentCopy::Init(std::string& error) {
  if (!program.Finish(error)) return false;
  originLocation = program.Uniform("origin");
  imageLocation = program.Uniform("image");
  glGenVertexArrays(1, &vertexArray);  // no attributes: the corners come from gl_VertexID
  return true;
}

void GlPresentCopy::Draw(GLuint texture, int left, int bottom, int width, int height) {
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glViewport(left, bottom, width, height);
  glUseProgram(program.Id());
  glUniform2i(originLocation, left, bottom);
  glUniform1i(imageLocation, 0);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture);
  glBindSampler(0, 0);
  glBindVertexArray(vertexArray);
  glDrawArrays(GL_TRIANGLES, 0, 3);
  glBindVertexArray(0);
  glBindTexture(GL_TEXTURE_2D, 0);  // the texture is the framebuffer's: never sample it there
}

}  // namespace vorlith
