#include "platform/gl/GlSdlContext.h"

#include <SDL.h>

#include "base/ForeignAllocationScope.h"
#include "platform/gl/GlApi.h"

namespace vorlith {

std::unique_ptr<GlSdlContext> GlSdlContext::Open(SDL_Window* window) {
  ForeignAllocationScope driverAllocations;
  std::unique_ptr<GlSdlContext> gl(new GlSdlContext());
  if (!gl->Create(window)) return nullptr;
  return gl;
}

std::string GlSdlContext::GetError() {
  return SDL_GetError();
}

GlSdlContext::~GlSdlContext() {
  ForeignAllocationScope driverAllocations;
  if (context) {
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(context);
  }
  if (ownWindow) SDL_DestroyWindow(ownWindow);
  if (videoInitialised) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool GlSdlContext::Create(SDL_Window* target) {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    videoInitialised = true;
  }
  // An accelerated context first, then whatever the system offers.
  for (int accelerated : {1, -1}) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, accelerated);
    window = target;
    if (!window) {
      if (ownWindow) SDL_DestroyWindow(ownWindow);
      ownWindow = SDL_CreateWindow("vorlith", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 16,
                                   16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
      window = ownWindow;
    }
    if (!window) continue;
    context = SDL_GL_CreateContext(window);
    if (context) break;
  }
  if (!context) return false;
  SDL_GL_MakeCurrent(window, context);
  if (const int version = epoxy_gl_version(); version < 33) {
    SDL_SetError("the driver offers OpenGL %d.%d only", version / 10, version % 10);
    return false;
  }
  if (!ownWindow) SDL_GL_SetSwapInterval(1);
  return true;
}

bool GlSdlContext::MakeCurrent() {
  return SDL_GL_MakeCurrent(window, context) == 0;
}

void GlSdlContext::GetDrawableSize(int& width, int& height) const {
  SDL_GL_GetDrawableSize(window, &width, &height);
}

void GlSdlContext::SwapBuffers() {
  SDL_GL_SwapWindow(window);
}

bool GlSdlContext::IsPresentable() const {
  if (ownWindow) return true;
  const Uint32 flags = SDL_GetWindowFlags(window);
  return (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
}

void GlSdlContext::SetError(const std::string& text) {
  SDL_SetError("%s", text.c_str());
}

}  // namespace vorlith
