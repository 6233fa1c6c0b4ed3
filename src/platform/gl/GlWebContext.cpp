// The parts of the drawing device that differ in the browser: WebGL 2 on the page's canvas
// through emscripten instead of an SDL window's OpenGL context.
#include <emscripten.h>
#include <emscripten/html5.h>

#include "platform/gl/GlLineRenderer.h"
#include "platform/gl/GlMeshStore.h"
#include "platform/gl/GlPresentCopy.h"
#include "platform/gl/GlRenderDevice.h"
#include "platform/gl/GlTextRenderer.h"
#include "platform/gl/GlTextureStore.h"

namespace vorlith {

std::unique_ptr<RenderDevice> CreateWebGlRenderDevice(const std::string& canvas) {
  std::unique_ptr<GlRenderDevice> device(new GlRenderDevice());
  device->canvas = canvas;
  if (!device->OpenContext(nullptr)) return nullptr;
  return device;
}

std::string GlRenderDevice::webError;

std::string GetWebGlError() {
  return GlRenderDevice::webError;
}

GlRenderDevice::~GlRenderDevice() {
  if (!context) return;
  MakeCurrent();
  meshStore.reset();
  textureStore.reset();
  lines.reset();
  text.reset();
  presentCopy.reset();
  DeleteFramebuffer();
  emscripten_webgl_make_context_current(0);
  emscripten_webgl_destroy_context(static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(webContext));
}

// WebGL 2 without antialiasing (a multisampled page buffer cannot take the blit in
// Present), depth or alpha: the game draws into its own framebuffer.
bool GlRenderDevice::OpenContext(SDL_Window*) {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_FALSE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  webContext = emscripten_webgl_create_context(canvas.c_str(), &attributes);
  if (webContext <= 0) {
    webError = "the browser offers no WebGL 2 (error " + std::to_string(webContext) + ")";
    return false;
  }
  context = this;
  MakeCurrent();
  meshStore = std::make_unique<GlMeshStore>();
  textureStore = std::make_unique<GlTextureStore>();
  return true;
}

bool GlRenderDevice::MakeCurrent() {
  return emscripten_webgl_make_context_current(
             static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(webContext)) == EMSCRIPTEN_RESULT_SUCCESS;
}

void GlRenderDevice::GetDrawableSize(int& width, int& height) const {
  if (emscripten_get_canvas_element_size(canvas.c_str(), &width, &height) !=
      EMSCRIPTEN_RESULT_SUCCESS) {
    width = height = 0;
  }
}

// The browser shows the picture once the frame's callback has returned. The page counts the
// pictures and keeps the time of the first (from the navigation's start), for its tests.
void GlRenderDevice::SwapBuffers() {
  EM_ASM({
    if (!Module.firstPictureTime) Module.firstPictureTime = performance.now();
    Module.picturesShown = (Module.picturesShown | 0) + 1;
  });
}

// The canvas is always there to show the picture on.
bool GlRenderDevice::HasSurface() const {
  return true;
}

// A hidden page gets no frames at all: there is always something to present to.
bool GlRenderDevice::WindowPresentable() const {
  return true;
}

}  // namespace vorlith
