// The parts of the drawing device that differ on the desktop: the OpenGL context of an SDL
// window (or of a hidden window of its own), presenting by swapping that window.
#include <SDL.h>

#include "base/ForeignAllocationScope.h"
#include "platform/gl/GlApi.h"
#include "platform/gl/GlLineRenderer.h"
#include "platform/gl/GlMeshStore.h"
#include "platform/gl/GlPresentCopy.h"
#include "platform/gl/GlRenderDevice.h"
#include "platform/gl/GlTextRenderer.h"
#include "platform/gl/GlTextureStore.h"
#include "platform/sdl/SdlWindow.h"

namespace vorlith {

std::unique_ptr<RenderDevice> CreateGlRenderDevice(SdlWindow* window) {
  return CreateGlRenderDeviceOn(window ? window->GetSdlWindow() : nullptr);
}

std::unique_ptr<RenderDevice> CreateGlRenderDeviceOn(SDL_Window* window) {
  return GlRenderDevice::Open(window);
}

std::unique_ptr<GlRenderDevice> GlRenderDevice::Open(SDL_Window* window) {
  std::unique_ptr<GlRenderDevice> device(new GlRenderDevice());
  if (!device->OpenContext(window)) return nullptr;
  return device;
}

GlRenderDevice::~GlRenderDevice() {
  ForeignAllocationScope driverAllocations;
  if (context) {
    SDL_GL_MakeCurrent(window, context);
    meshStore.reset();
    textureStore.reset();
    lines.reset();
    text.reset();
    presentCopy.reset();
    DeleteFramebuffer();
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(context);
  }
  if (ownWindow) SDL_DestroyWindow(ownWindow);
  if (videoInitialised) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool GlRenderDevice::OpenContext(SDL_Window* target) {
  ForeignAllocationScope driverAllocations;
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
  meshStore = std::make_unique<GlMeshStore>();
  textureStore = std::make_unique<GlTextureStore>();
  return true;
}

bool GlRenderDevice::MakeCurrent() {
  return SDL_GL_MakeCurrent(window, context) == 0;
}

void GlRenderDevice::GetDrawableSize(int& width, int& height) const {
  SDL_GL_GetDrawableSize(window, &width, &height);
}

void GlRenderDevice::SwapBuffers() {
  SDL_GL_SwapWindow(window);
}

bool GlRenderDevice::HasSurface() const {
  return window != nullptr;
}

bool GlRenderDevice::WindowPresentable() const {
  if (!window || ownWindow) return true;
  const Uint32 flags = SDL_GetWindowFlags(window);
  return (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
}

}  // namespace vorlith
