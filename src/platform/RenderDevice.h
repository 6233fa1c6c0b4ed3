#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/RenderTypes.h"

namespace vorlith {

// The drawing device the game talks to: a back buffer of a fixed size with an optional
// 16-bit depth buffer, a small fixed-function pipeline (one directional light, global
// ambient, per-material colours, one modulating texture), text and screen-space lines.
// All pixel positions are back-buffer pixels with the origin at the top left.
//
// The real implementation draws with OpenGL into an offscreen framebuffer and presents it
// to the window; the headless one keeps the state and draws nothing.
class RenderDevice {
 public:
  enum class Status { Ok, Lost, NotReset };

  virtual ~RenderDevice() = default;

  // Device lifecycle. Create makes the back buffer (and depth buffer when asked); Reset
  // remakes it at a new size with the last picture kept, scaled to it (the same size keeps
  // it as it is). Both return false when the device cannot be had.
  virtual bool Create(int width, int height, bool depthBuffer) = 0;
  virtual bool Reset(int width, int height) = 0;
  // Lost while there is nothing to present to (window minimized or hidden), NotReset once
  // that ends until Reset is called.
  virtual Status TestCooperativeLevel() = 0;
  virtual bool BeginScene() = 0;
  virtual void EndScene() = 0;
  virtual void Present() = 0;
  // While on, every Present shows a small "PAUSE" label over the picture, on the window
  // only: the back buffer (and every screenshot of it) stays the game's own picture.
  virtual void SetPauseLabel(bool shown) { (void)shown; }
  virtual bool GetBackBufferSize(int& width, int& height) const = 0;

  // Clears the current viewport only: colour, and depth to 1.0 when clearDepth.
  virtual void Clear(std::uint32_t argb, bool clearDepth) = 0;
  virtual void SetViewport(const Viewport& viewport) = 0;
  virtual Viewport GetViewport() const = 0;

  // Fixed-function state.
  virtual void SetTransform(TransformState which, const Matrix& matrix) = 0;
  virtual void SetCullMode(CullMode mode) = 0;
  virtual void SetLighting(bool on) = 0;
  virtual void SetDepthTest(bool on) = 0;
  virtual void SetAlphaBlend(bool on) = 0;  // source alpha over inverse source alpha
  virtual void SetAmbient(std::uint32_t argb) = 0;
  virtual void SetTextureFilter(TextureFilter filter) = 0;
  virtual void SetLight(int index, const Light& light) = 0;
  virtual void EnableLight(int index, bool on) = 0;
  virtual void SetMaterial(const Material& material) = 0;
  virtual void SetTexture(TextureId texture) = 0;  // 0: untextured

  // Meshes live in GPU buffers from creation to release; drawing allocates nothing.
  virtual MeshId CreateMesh(const MeshData& mesh) = 0;
  virtual void DrawSubset(MeshId mesh, int subset) = 0;
  virtual void ReleaseMesh(MeshId mesh) = 0;

  // Textures from image files; 0 when the file cannot be loaded.
  virtual TextureId CreateTextureFromFile(const std::string& path) = 0;
  virtual void ReleaseTexture(TextureId texture) = 0;

  // Text. CreateFont returns 0 when no font can be made. MeasureText gives the extent the
  // same font draws. DrawText puts the text's top-left corner at (x, y), unclipped but for
  // the current viewport.
  virtual FontId CreateFont(const FontDesc& desc) = 0;
  virtual bool MeasureText(FontId font, const std::string& utf8, int& width, int& height) = 0;
  virtual void DrawText(FontId font, const std::string& utf8, int x, int y, std::uint32_t argb) = 0;
  virtual void ReleaseFont(FontId font) = 0;

  // A connected polyline through count points (x0, y0, x1, y1, ...) in back-buffer pixels.
  virtual void DrawPolyline(const float* xy, int count, float width, std::uint32_t argb,
                            bool antialias, std::uint32_t pattern, float patternScale) = 0;

  // The back buffer as tightly packed RGBA rows, top row first.
  virtual bool ReadBackBuffer(std::vector<std::uint8_t>& rgba, int& width, int& height) = 0;
};

}  // namespace vorlith
