#include "platform/gl/GlRenderDevice.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "base/ForeignAllocationScope.h"
#include "platform/gl/GlApi.h"
#include "platform/gl/GlLineRenderer.h"
#include "platform/gl/GlMeshStore.h"
#include "platform/gl/GlPresentCopy.h"
#include "platform/gl/GlProgram.h"
#include "platform/gl/GlTextRenderer.h"
#include "platform/gl/GlTextureStore.h"
#include "platform/gl/GlWarmUp.h"

namespace vorlith {
namespace {

// Why the device could not be made, for the message the user is shown.
__attribute__((format(printf, 2, 3))) void SetError(GlContext& context, const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  context.SetError(text);
}

void DeleteFramebufferObjects(unsigned framebuffer, unsigned colour, unsigned depth) {
  if (framebuffer != 0) glDeleteFramebuffers(1, &framebuffer);
  if (colour != 0) glDeleteTextures(1, &colour);
  if (depth != 0) glDeleteRenderbuffers(1, &depth);
}

}  // namespace

std::unique_ptr<GlRenderDevice> GlRenderDevice::Open(std::unique_ptr<GlContext> context) {
  if (!context) return nullptr;
  ForeignAllocationScope driverAllocations;
  std::unique_ptr<GlRenderDevice> device(new GlRenderDevice());
  device->context = std::move(context);
  device->MakeCurrent();
  device->meshStore = std::make_unique<GlMeshStore>();
  device->textureStore = std::make_unique<GlTextureStore>();
  return device;
}

// What the device made, released in its context before the context goes.
GlRenderDevice::~GlRenderDevice() {
  ForeignAllocationScope driverAllocations;
  if (!context) return;
  MakeCurrent();
  meshStore.reset();
  textureStore.reset();
  lines.reset();
  text.reset();
  presentCopy.reset();
  DeleteFramebuffer();
  context.reset();
}

bool GlRenderDevice::Create(int width, int height, bool depthBuffer) {
  ForeignAllocationScope driverAllocations;
  if (!context) return false;
  if (width <= 0 || height <= 0) {
    SetError(*context, "a back buffer of %d x %d pixels cannot be made", width, height);
    return false;
  }
  MakeCurrent();
  if (!meshStore->HasProgram()) {
    // All four are started before any is asked after (see GlProgram::Start).
    std::unique_ptr<GlProgram> program = GlMeshStore::StartProgram();
    auto lineRenderer = std::make_unique<GlLineRenderer>();
    lineRenderer->Start();
    auto textRenderer = std::make_unique<GlTextRenderer>();
    textRenderer->Start();
    auto copy = std::make_unique<GlPresentCopy>();
    copy->Start();
    std::string error;
    if (!program->Finish(error)) {
      SetError(*context, "mesh shader: %s", error.c_str());
      return false;
    }
    if (!lineRenderer->Init(error)) {
      SetError(*context, "line shader: %s", error.c_str());
      return false;
    }
    if (!textRenderer->Init(error)) {
      SetError(*context, "text shader: %s", error.c_str());
      return false;
    }
    if (!copy->Init(error)) {
      SetError(*context, "presentation shader: %s", error.c_str());
      return false;
    }
    text = std::move(textRenderer);
    presentCopy = std::move(copy);
    meshStore->Adopt(std::move(program));
    lines = std::move(lineRenderer);
  }
  hasDepth = depthBuffer;
  created = MakeFramebuffer(width, height);
  // Let the driver finish its first frame (and start whatever it starts lazily) here.
  glFinish();
  return created;
}

bool GlRenderDevice::Reset(int width, int height) {
  ForeignAllocationScope driverAllocations;
  if (!context || !meshStore->HasProgram() || width <= 0 || height <= 0) return false;
  MakeCurrent();
  if (created && width == backWidth && height == backHeight) {
    lost = false;
    return true;
  }
  // The picture is kept, scaled to the new size: a paused game shows it until its next frame.
  const unsigned oldFramebuffer = framebuffer, oldColour = colourTexture,
                 oldDepth = depthRenderbuffer;
  const int oldWidth = backWidth, oldHeight = backHeight;
  framebuffer = colourTexture = depthRenderbuffer = 0;
  created = MakeFramebuffer(width, height);
  if (created && oldFramebuffer != 0) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, oldFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    glBlitFramebuffer(0, 0, oldWidth, oldHeight, 0, 0, width, height, GL_COLOR_BUFFER_BIT,
                      GL_LINEAR);
    UseFramebuffer();
  }
  DeleteFramebufferObjects(oldFramebuffer, oldColour, oldDepth);
  if (created) lost = false;
  return created;
}

bool GlRenderDevice::MakeFramebuffer(int width, int height) {
  meshStore->ForgetState();
  DeleteFramebuffer();
  // Asked first: some drivers fail hard, not with an error, on textures far over the limit.
  GLint largestTexture = 0, largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestTexture);
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
  largest = std::min(largest, largestTexture);
  if (width > largest || height > largest) {
    SetError(*context, "OpenGL cannot make a back buffer of %d x %d pixels (at most %d x %d)",
             width, height, static_cast<int>(largest), static_cast<int>(largest));
    return false;
  }
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  // A texture, so that Present can draw it into the window.
  glGenTextures(1, &colourTexture);
  glBindTexture(GL_TEXTURE_2D, colourTexture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, 0);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colourTexture, 0);
  if (hasDepth) {
    glGenRenderbuffers(1, &depthRenderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              depthRenderbuffer);
  }
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    SetError(*context, "OpenGL cannot make a back buffer of %d x %d pixels (at most %d x %d)",
             width, height, static_cast<int>(largest), static_cast<int>(largest));
    DeleteFramebuffer();
    return false;
  }
  backWidth = width;
  backHeight = height;
  viewport = Viewport{0, 0, width, height, 0.0f, 1.0f};
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClearDepth(1.0);
  glDepthMask(GL_TRUE);
  glClear(GL_COLOR_BUFFER_BIT | (hasDepth ? GL_DEPTH_BUFFER_BIT : 0));
  return true;
}

void GlRenderDevice::DeleteFramebuffer() {
  DeleteFramebufferObjects(framebuffer, colourTexture, depthRenderbuffer);
  framebuffer = colourTexture = depthRenderbuffer = 0;
  backWidth = backHeight = 0;
}

void GlRenderDevice::UseFramebuffer() {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

RenderDevice::Status GlRenderDevice::TestCooperativeLevel() {
  if (!context->IsPresentable()) {
    lost = true;
    return Status::Lost;
  }
  if (lost || !created) return Status::NotReset;
  return Status::Ok;
}

bool GlRenderDevice::BeginScene() {
  meshStore->ForgetState();
  ForeignAllocationScope driverAllocations;
  if (!created || !MakeCurrent()) return false;
  if (presented && !warmedUp) WarmUp();
  UseFramebuffer();
  return true;
}

// Once the first picture is on screen: the driver builds its code for the draws a play frame
// makes, in a scratch buffer of the back buffer's kind, so that a stage starts without it.
void GlRenderDevice::WarmUp() {
  constexpr int kScratchSize = 16;
  warmedUp = true;
  const unsigned backFramebuffer = framebuffer, backColour = colourTexture,
                 backDepth = depthRenderbuffer;
  const int width = backWidth, height = backHeight;
  const Viewport backViewport = viewport;
  framebuffer = colourTexture = depthRenderbuffer = 0;
  if (MakeFramebuffer(kScratchSize, kScratchSize)) WarmUpPipeline(*this);
  DeleteFramebuffer();
  framebuffer = backFramebuffer;
  colourTexture = backColour;
  depthRenderbuffer = backDepth;
  backWidth = width;
  backHeight = height;
  viewport = backViewport;
  meshStore->ForgetState();
}

void GlRenderDevice::EndScene() {
  meshStore->Flush();
  glFlush();
}

void GlRenderDevice::Present() {
  ForeignAllocationScope driverAllocations;
  if (!created || !context->HasSurface() || lost || !context->IsPresentable()) return;
  meshStore->ForgetState();
  int drawableWidth = 0, drawableHeight = 0;
  context->GetDrawableSize(drawableWidth, drawableHeight);
  if (drawableWidth <= 0 || drawableHeight <= 0) return;
  const double scale = std::min(static_cast<double>(drawableWidth) / backWidth,
                                static_cast<double>(drawableHeight) / backHeight);
  const int shownWidth = static_cast<int>(std::lround(backWidth * scale));
  const int shownHeight = static_cast<int>(std::lround(backHeight * scale));
  const int left = (drawableWidth - shownWidth) / 2, bottom = (drawableHeight - shownHeight) / 2;
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glDisable(GL_SCISSOR_TEST);
  glViewport(0, 0, drawableWidth, drawableHeight);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  if (shownWidth == backWidth && shownHeight == backHeight) {
    presentCopy->Draw(colourTexture, left, bottom, backWidth, backHeight);
  } else {
    glBlitFramebuffer(0, 0, backWidth, backHeight, left, bottom, left + shownWidth,
                      bottom + shownHeight, GL_COLOR_BUFFER_BIT, GL_LINEAR);
  }
  pauseLabel.Draw(drawableWidth, drawableHeight);
  context->SwapBuffers();
  presented = true;
  UseFramebuffer();
}

bool GlRenderDevice::GetBackBufferSize(int& width, int& height) const {
  if (!created) return false;
  width = backWidth;
  height = backHeight;
  return true;
}

// Limits the following draws to the current viewport; false when it covers no pixel.
bool GlRenderDevice::ScissorToViewport() {
  const int x0 = std::clamp(viewport.x, 0, backWidth);
  const int y0 = std::clamp(viewport.y, 0, backHeight);
  const int x1 = std::clamp(viewport.x + viewport.width, 0, backWidth);
  const int y1 = std::clamp(viewport.y + viewport.height, 0, backHeight);
  glEnable(GL_SCISSOR_TEST);
  glScissor(x0, backHeight - y1, std::max(0, x1 - x0), std::max(0, y1 - y0));
  return x1 > x0 && y1 > y0;
}

void GlRenderDevice::Clear(std::uint32_t argb, bool clearDepth) {
  ForeignAllocationScope driverAllocations;
  if (!created) return;
  meshStore->Flush();
  UseFramebuffer();
  if (ScissorToViewport()) {
    const ColorValue c = ColourFromArgb(argb);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(c.r, c.g, c.b, c.a);
    GLbitfield bits = GL_COLOR_BUFFER_BIT;
    if (clearDepth && hasDepth) {
      glDepthMask(GL_TRUE);
      glClearDepth(1.0);
      bits |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(bits);
  }
  glDisable(GL_SCISSOR_TEST);
}

void GlRenderDevice::SetViewport(const Viewport& viewport) {
  this->viewport = viewport;
}

MeshId GlRenderDevice::CreateMesh(const MeshData& mesh) {
  meshStore->ForgetState();
  ForeignAllocationScope driverAllocations;
  if (!context) return 0;
  return meshStore->Create(mesh);
}

void GlRenderDevice::DrawSubset(MeshId mesh, int subset) {
  ForeignAllocationScope driverAllocations;
  if (!created) return;
  meshStore->Draw(mesh, subset, GlMeshTarget{framebuffer, backHeight, hasDepth, viewport},
                  *textureStore);
}

void GlRenderDevice::ReleaseMesh(MeshId mesh) {
  meshStore->ForgetState();
  if (context) meshStore->Release(mesh);
}

TextureId GlRenderDevice::CreateTextureFromFile(const std::string& path) {
  meshStore->ForgetState();
  ForeignAllocationScope driverAllocations;
  if (!context) return 0;
  return textureStore->CreateFromFile(path);
}

void GlRenderDevice::ReleaseTexture(TextureId texture) {
  meshStore->ForgetState();
  if (!context || !textureStore->Release(texture)) return;
  if (meshStore->Texture() == texture) meshStore->SetTexture(0);
}

FontId GlRenderDevice::CreateFont(const FontDesc& desc) {
  if (!text) return 0;
  ForeignAllocationScope driverAllocations;
  return text->CreateFont(desc);
}

bool GlRenderDevice::MeasureText(FontId font, const std::string& utf8, int& width, int& height) {
  width = height = 0;
  return text && text->Measure(font, utf8, width, height);
}

void GlRenderDevice::DrawText(FontId font, const std::string& utf8, int x, int y,
                              std::uint32_t argb) {
  if (!created || !text) return;
  ForeignAllocationScope driverAllocations;
  if (Begin2D()) text->Draw(font, utf8, x, y, argb, backWidth, backHeight);
  glDisable(GL_SCISSOR_TEST);
}

void GlRenderDevice::ReleaseFont(FontId font) {
  if (text) text->ReleaseFont(font);
}

// Screen-space drawing: back-buffer pixels over the whole buffer, clipped to the current
// viewport, blended, no depth test. False when the viewport covers no pixel.
bool GlRenderDevice::Begin2D() {
  meshStore->ForgetState();
  UseFramebuffer();
  if (!ScissorToViewport()) return false;
  glViewport(0, 0, backWidth, backHeight);
  glDepthRange(0.0, 1.0);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
  return true;
}

void GlRenderDevice::DrawPolyline(const float* xy, int count, float width, std::uint32_t argb,
                                  bool antialias, std::uint32_t, float) {
  if (!created || !lines) return;
  ForeignAllocationScope driverAllocations;
  if (Begin2D()) lines->Draw(xy, count, width, argb, antialias, backWidth, backHeight);
  glDisable(GL_SCISSOR_TEST);
}

void GlRenderDevice::Finish() {
  if (!context) return;
  meshStore->Flush();
  glFinish();
}

bool GlRenderDevice::ReadBackBuffer(std::vector<std::uint8_t>& rgba, int& width, int& height) {
  ForeignAllocationScope driverAllocations;
  if (!created) return false;
  meshStore->Flush();
  UseFramebuffer();
  glFinish();
  const std::size_t rowBytes = static_cast<std::size_t>(backWidth) * 4;
  rgba.resize(rowBytes * backHeight);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, backWidth, backHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  // GL reads the bottom row first.
  for (int top = 0, bottom = backHeight - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(rgba.begin() + top * rowBytes, rgba.begin() + (top + 1) * rowBytes,
                     rgba.begin() + bottom * rowBytes);
  }
  width = backWidth;
  height = backHeight;
  return true;
}

}  // namespace vorlith
