#pragma once

#include <string>

namespace vorlith {

// What the GL device draws with: a context and the surface it presents to, made by the
// target (an SDL window's OpenGL 3.3 context on the desktop, the page canvas's WebGL 2 in the
// browser). Destroying it releases the context.
class GlContext {
 public:
  virtual ~GlContext() = default;

  virtual bool MakeCurrent() = 0;
  // The surface's size in pixels.
  virtual void GetDrawableSize(int& width, int& height) const = 0;
  virtual void SwapBuffers() = 0;
  // False for a context on a hidden surface of its own, which only draws offscreen.
  virtual bool HasSurface() const = 0;
  // False while the surface cannot show a picture (a minimised or hidden window).
  virtual bool IsPresentable() const = 0;
  // Keeps why the device failed, for the message the user is shown.
  virtual void SetError(const std::string& text) = 0;
};

}  // namespace vorlith
