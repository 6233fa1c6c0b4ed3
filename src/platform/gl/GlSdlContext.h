#pragma once

#include <memory>
#include <string>

#include "platform/gl/GlContext.h"

struct SDL_Window;

namespace vorlith {

// The desktop's context: OpenGL 3.3 core on an SDL window, or on a hidden window of its own
// (tools, tests), presenting by swapping that window.
class GlSdlContext : public GlContext {
 public:
  // Null when no OpenGL 3.3 context can be had (GetError says why).
  static std::unique_ptr<GlSdlContext> Open(SDL_Window* window);
  // Why the window or the context could not be had, as SDL put it.
  static std::string GetError();
  ~GlSdlContext() override;
  GlSdlContext(const GlSdlContext&) = delete;
  GlSdlContext& operator=(const GlSdlContext&) = delete;

  bool MakeCurrent() override;
  void GetDrawableSize(int& width, int& height) const override;
  void SwapBuffers() override;
  bool HasSurface() const override { return ownWindow == nullptr; }
  bool IsPresentable() const override;
  void SetError(const std::string& text) override;

 private:
  GlSdlContext() = default;
  bool Create(SDL_Window* target);

  SDL_Window* window = nullptr;
  SDL_Window* ownWindow = nullptr;
  void* context = nullptr;
  bool videoInitialised = false;
};

}  // namespace vorlith
