#pragma once

#include <memory>
#include <string>

#include "platform/gl/GlContext.h"

namespace vorlith {

// The browser's context: WebGL 2 on the page's canvas (a CSS selector), without
// antialiasing (a multisampled page buffer cannot take the blit in Present), depth or alpha:
// the game draws into its own framebuffer.
class GlWebContext : public GlContext {
 public:
  // Null when the browser offers no WebGL 2 (GetError says why).
  static std::unique_ptr<GlWebContext> Open(const std::string& canvas);
  // Why the last context or device could not be made.
  static std::string GetError();
  ~GlWebContext() override;
  GlWebContext(const GlWebContext&) = delete;
  GlWebContext& operator=(const GlWebContext&) = delete;

  bool MakeCurrent() override;
  void GetDrawableSize(int& width, int& height) const override;
  void SwapBuffers() override;
  // The canvas is always there to show the picture on.
  bool HasSurface() const override { return true; }
  // A hidden page gets no frames at all: there is always something to present to.
  bool IsPresentable() const override { return true; }
  void SetError(const std::string& text) override;

 private:
  explicit GlWebContext(std::string canvas) : canvas(std::move(canvas)) {}

  std::string canvas;
  long context = 0;
};

}  // namespace vorlith
