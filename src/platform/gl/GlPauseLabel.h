#pragma once

namespace vorlith {

// The "PAUSE" label the OpenGL device draws over the presented picture while the game is
// paused: white block letters on a black box in the middle of the window, made of scissored
// clears, so it needs no shader, texture or font and leaves no state behind but the clear
// colour.
class GlPauseLabel {
 public:
  void SetShown(bool on) { shown = on; }
  bool IsShown() const { return shown; }
  // Draws into the bound draw framebuffer of the given size, when shown.
  void Draw(int drawableWidth, int drawableHeight) const;

 private:
  bool shown = false;
};

}  // namespace vorlith
