#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FontRasterizer.h"
#include "platform/RenderDevice.h"

namespace vorlith {

class Window;

// A drawing device that draws nothing. It keeps the state the game sets (sizes, viewport,
// ids of what it made), measures text with real fonts, and logs the clears and texts of the
// current frame so tests can see what a frame would show. Like the real device it is lost
// while its window is minimized or hidden and not reset after that until Reset; tests can
// also force those states and failures of creation and BeginScene.
class HeadlessRenderDevice : public RenderDevice {
 public:
  struct ClearCall {
    Viewport viewport;
    std::uint32_t argb = 0;
    bool depth = false;
  };
  struct TextCall {
    FontId font = 0;
    std::string text;
    int x = 0, y = 0;
    std::uint32_t argb = 0;
    Viewport viewport;
  };

  // The window decides lost and not-reset states; null for a device that is never lost.
  explicit HeadlessRenderDevice(const Window* window = nullptr) : window(window) {}
  ~HeadlessRenderDevice() override;

  // Test controls.
  void SetCreateFails(bool fails) { createFails = fails; }
  void SetResetFails(bool fails) { resetFails = fails; }
  void SetBeginSceneFails(bool fails) { beginSceneFails = fails; }
  // Overrides the window-driven state until StopForcingStatus.
  void ForceStatus(Status status) {
    forcedStatus = status;
    statusForced = true;
  }
  void StopForcingStatus() { statusForced = false; }

  // What happened.
  bool IsCreated() const { return created; }
  bool HasDepthBuffer() const { return depthBuffer; }
  int GetResetCount() const { return resetCount; }
  int GetPresentCount() const { return presentCount; }
  // Presents made while the pause label was on.
  int GetLabelledPresentCount() const { return labelledPresentCount; }
  bool IsPauseLabelOn() const { return pauseLabel; }
  int GetBeginSceneCount() const { return beginSceneCount; }
  bool IsInScene() const { return inScene; }
  // Clears and texts since the last successful BeginScene.
  const std::vector<ClearCall>& GetClears() const { return clears; }
  const std::vector<TextCall>& GetTexts() const { return texts; }
  int GetLiveFontCount() const { return static_cast<int>(fonts.size()); }
  bool IsAlphaBlendOn() const { return alphaBlend; }
  bool IsDepthTestOn() const { return depthTest; }
  bool IsLightingOn() const { return lighting; }
  CullMode GetCullMode() const { return cullMode; }
  TextureFilter GetTextureFilter() const { return textureFilter; }

  bool Create(int width, int height, bool depthBuffer) override;
  bool Reset(int width, int height) override;
  Status TestCooperativeLevel() override;
  bool BeginScene() override;
  void EndScene() override;
  void Present() override;
  void SetPauseLabel(bool shown) override { pauseLabel = shown; }
  bool GetBackBufferSize(int& width, int& height) const override;

  void Clear(std::uint32_t argb, bool clearDepth) override;
  void SetViewport(const Viewport& viewport) override;
  Viewport GetViewport() const override { return viewport; }

  void SetTransform(TransformState which, const Matrix& matrix) override;
  void SetCullMode(CullMode mode) override { cullMode = mode; }
  void SetLighting(bool on) override { lighting = on; }
  void SetDepthTest(bool on) override { depthTest = on; }
  void SetAlphaBlend(bool on) override { alphaBlend = on; }
  void SetAmbient(std::uint32_t argb) override { ambient = argb; }
  void SetTextureFilter(TextureFilter filter) override { textureFilter = filter; }
  void SetLight(int index, const Light& light) override;
  void EnableLight(int index, bool on) override;
  void SetMaterial(const Material& material) override { this->material = material; }
  void SetTexture(TextureId texture) override { this->texture = texture; }

  MeshId CreateMesh(const MeshData& mesh) override;
  void DrawSubset(MeshId mesh, int subset) override;
  void ReleaseMesh(MeshId mesh) override;

  TextureId CreateTextureFromFile(const std::string& path) override;
  void ReleaseTexture(TextureId texture) override;

  FontId CreateFont(const FontDesc& desc) override;
  bool MeasureText(FontId font, const std::string& utf8, int& width, int& height) override;
  void DrawText(FontId font, const std::string& utf8, int x, int y, std::uint32_t argb) override;
  void ReleaseFont(FontId font) override;

  void DrawPolyline(const float* xy, int count, float width, std::uint32_t argb, bool antialias,
                    std::uint32_t pattern, float patternScale) override;

  bool ReadBackBuffer(std::vector<std::uint8_t>& rgba, int& width, int& height) override;

  // Largest back buffer side the device accepts.
  static constexpr int kMaxSize = 16384;

 private:
  static bool UsableSize(int width, int height);
  std::uint32_t NextId() { return ++lastId; }

  const Window* window;
  bool createFails = false, resetFails = false, beginSceneFails = false;
  bool statusForced = false;
  Status forcedStatus = Status::Ok;
  bool wasLost = false;

  bool created = false;
  bool depthBuffer = false;
  int width = 0, height = 0;
  int resetCount = 0, presentCount = 0, labelledPresentCount = 0, beginSceneCount = 0;
  bool pauseLabel = false;
  bool inScene = false;
  Viewport viewport;

  Matrix transforms[3];
  CullMode cullMode = CullMode::CounterClockwise;
  bool lighting = true, depthTest = true, alphaBlend = false;
  std::uint32_t ambient = 0;
  TextureFilter textureFilter = TextureFilter::Point;
  std::map<int, Light> lights;
  std::map<int, bool> lightsOn;
  Material material;
  TextureId texture = 0;

  std::uint32_t lastId = 0;
  std::map<MeshId, std::size_t> meshes;  // subset count
  std::map<TextureId, std::string> textures;
  std::map<FontId, std::unique_ptr<FontRasterizer>> fonts;

  std::vector<ClearCall> clears;
  std::vector<TextCall> texts;
};

}  // namespace vorlith
