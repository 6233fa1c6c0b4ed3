#include "platform/gl/GlWebContext.h"

#include <emscripten.h>
#include <emscripten/html5.h>

namespace vorlith {
namespace {

std::string lastError;

}  // namespace

std::unique_ptr<GlWebContext> GlWebContext::Open(const std::string& canvas) {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_FALSE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  // WebGL 2 itself has all the drawing needs; switching every extension on would cost a round
  // trip to the browser's GPU side for each before the first picture.
  attributes.enableExtensionsByDefault = EM_FALSE;
  std::unique_ptr<GlWebContext> gl(new GlWebContext(canvas));
  gl->context = emscripten_webgl_create_context(canvas.c_str(), &attributes);
  if (gl->context <= 0) {
    lastError = "the browser offers no WebGL 2 (error " + std::to_string(gl->context) + ")";
    return nullptr;
  }
  gl->MakeCurrent();
  return gl;
}

std::string GlWebContext::GetError() {
  return lastError;
}

GlWebContext::~GlWebContext() {
  if (context <= 0) return;
  emscripten_webgl_make_context_current(0);
  emscripten_webgl_destroy_context(static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(context));
}

bool GlWebContext::MakeCurrent() {
  return emscripten_webgl_make_context_current(
             static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(context)) == EMSCRIPTEN_RESULT_SUCCESS;
}

void GlWebContext::GetDrawableSize(int& width, int& height) const {
  if (emscripten_get_canvas_element_size(canvas.c_str(), &width, &height) !=
      EMSCRIPTEN_RESULT_SUCCESS) {
    width = height = 0;
  }
}

// The browser shows the picture once the frame's callback has returned. The page counts the
// pictures and keeps the time of the first (from the navigation's start), for its tests.
void GlWebContext::SwapBuffers() {
  EM_ASM({
    if (!Module.firstPictureTime) Module.firstPictureTime = performance.now();
    Module.picturesShown = (Module.picturesShown | 0) + 1;
  });
}

void GlWebContext::SetError(const std::string& text) {
  lastError = text;
}

}  // namespace vorlith
