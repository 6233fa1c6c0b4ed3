#include <SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "base/ForeignAllocationScope.h"
#include "base/MatrixMath.h"
#include "graphics/Model.h"
#include "graphics/Transforms.h"
#include "platform/PngFile.h"
#include "platform/gl/GlRenderDevice.h"
#include "platform/gl/GlSdlContext.h"

namespace vorlith {
namespace {

using Rgba = std::array<int, 4>;

Rgba RgbaAt(const std::vector<std::uint8_t>& rgba, int width, int x, int y) {
  const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

// An offscreen 640 x 480 device, cleared to black, unlit, with an identity view and a
// pixel-sized orthographic projection: mesh corners are given in back-buffer pixels.
class GlRenderDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device = GlRenderDevice::Open(GlSdlContext::Open(nullptr));
    ASSERT_NE(device, nullptr) << "no OpenGL 3.3 context";
    ASSERT_TRUE(device->Create(640, 480, true));
    ASSERT_TRUE(device->BeginScene());
    device->SetTransform(TransformState::View, MatrixIdentity());
    device->SetTransform(TransformState::Projection, MatrixOrthoLH(640, 480, 0.0f, 10.0f));
    device->SetCullMode(CullMode::None);
    device->SetDepthTest(true);
    device->SetLighting(false);
    device->Clear(0xFF000000, true);
  }

  // The back buffer, which must be of the size given.
  std::vector<std::uint8_t> Pixels(int w = 640, int h = 480) {
    std::vector<std::uint8_t> rgba;
    int width = 0, height = 0;
    EXPECT_TRUE(device->ReadBackBuffer(rgba, width, height) && width == w && height == h);
    rgba.resize(static_cast<std::size_t>(w) * h * 4);
    return rgba;
  }
  Rgba At(int x, int y, int w = 640, int h = 480) { return RgbaAt(Pixels(w, h), w, x, y); }
  // One subset facing the viewer with corners (x, y, u, v): three make a triangle, four a quad.
  MeshId Mesh(const std::vector<std::array<float, 4>>& corners) {
    MeshData mesh;
    for (const auto& [x, y, u, v] : corners)
      mesh.vertices.push_back(MeshVertex{x - 320, 240 - y, 1, 0, 0, -1, u, v});
    mesh.indices = {0, 1, 2, 0, 2, 3};
    mesh.indices.resize(corners.size() == 4 ? 6 : 3);
    mesh.subsets = {{0, static_cast<std::uint32_t>(mesh.indices.size())}};
    return device->CreateMesh(mesh);
  }
  MeshId Triangle(float x0, float y0, float x1, float y1, float x2, float y2) {
    return Mesh({{x0, y0, 0, 0}, {x1, y1, 0, 0}, {x2, y2, 0, 0}});
  }
  void SetMaterial(const ColorValue& colour) {
    Material material;
    material.diffuse = material.ambient = colour;
    device->SetMaterial(material);
  }

  std::unique_ptr<GlRenderDevice> device;
};

TEST_F(GlRenderDeviceTest, CounterClockwiseIsCulledAndHalfTransparencyBlendsOpaque) {
  device->SetCullMode(CullMode::CounterClockwise);
  device->DrawSubset(Triangle(100, 100, 100, 200, 200, 200), 0);  // counter-clockwise
  device->DrawSubset(Triangle(300, 100, 400, 100, 300, 200), 0);  // clockwise
  EXPECT_EQ(std::pair(At(110, 190)[0], At(310, 110)[0]), std::pair(0, 255));

  device->Clear(0xFFFF0000, true);
  device->SetLighting(true);
  device->SetAmbient(0xFFFFFFFF);
  SetMaterial({0, 0, 1, 0.5f});
  device->SetAlphaBlend(true);
  device->DrawSubset(Triangle(100, 100, 300, 100, 100, 300), 0);  // clockwise too
  const Rgba blended = At(130, 130);
  EXPECT_NEAR(blended[0], 128, 2);
  EXPECT_NEAR(blended[2], 128, 2);
  EXPECT_EQ(blended[3], 255);
}

TEST_F(GlRenderDeviceTest, GaugeOfHundredReachesFromY380ToY280AndLinesStayInTheViewport) {
  const float gauge[] = {440, 380, 440, 280}, clipped[] = {500, 380, 500, 280};
  device->DrawPolyline(gauge, 2, 10.0f, 0xFF6464FF, true, 1, 1.0f);
  device->SetViewport(Viewport{0, 0, 640, 330, 0.0f, 1.0f});
  device->DrawPolyline(clipped, 2, 10.0f, 0xFF6464FF, true, 1, 1.0f);
  // 10 pixels wide about x = 440, nothing past its ends or the viewport.
  for (int y : {281, 330, 379}) EXPECT_EQ(At(440, y), (Rgba{0x64, 0x64, 0xFF, 0xFF})) << y;
  const std::tuple<int, int, int> blues[] = {{436, 330, 0xFF}, {443, 330, 0xFF}, {500, 329, 0xFF},
                                             {430, 330, 0},    {450, 330, 0},    {440, 275, 0},
                                             {440, 385, 0},    {500, 330, 0}};
  for (const auto& [x, y, blue] : blues) EXPECT_EQ(At(x, y)[2], blue) << x << ", " << y;
}

TEST_F(GlRenderDeviceTest, TextureModulatesWithItsTopRowAtVZero) {
  const std::string png = std::filesystem::temp_directory_path() / "vorlith_gl_texture_test.png";
  ASSERT_TRUE(
      WritePng(png, {255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 255}, 2, 2));
  const TextureId texture = device->CreateTextureFromFile(png);
  std::filesystem::remove(png);
  ASSERT_NE(texture, 0u);
  EXPECT_EQ(device->CreateTextureFromFile(png), 0u);
  // One pixel wider than the limit: refused before it is decoded.
  ASSERT_TRUE(WritePng(png, std::vector<std::uint8_t>(4097 * 4, 255), 4097, 1));
  EXPECT_EQ(device->CreateTextureFromFile(png), 0u);
  std::filesystem::remove(png);
  const MeshId quad =
      Mesh({{220, 140, 0, 0}, {420, 140, 1, 0}, {420, 340, 1, 1}, {220, 340, 0, 1}});
  device->SetTextureFilter(TextureFilter::Point);
  device->SetTexture(texture);
  device->DrawSubset(quad, 0);
  EXPECT_EQ(std::pair(At(320, 200), At(320, 280)),
            std::pair(Rgba{255, 0, 0, 255}, Rgba{0, 0, 255, 255}));
  device->ReleaseTexture(texture);
  device->DrawSubset(quad, 0);  // a released texture draws untextured
  EXPECT_EQ(At(320, 200), (Rgba{255, 255, 255, 255}));
}

// A square plate 10 units wide, purple on its upper (+y) side, green underneath.
const char* const kTwoSidedPlate = R"(xof 0303txt 0032
Mesh {
 8; -5;0.5;-5;, -5;0.5;5;, 5;0.5;5;, 5;0.5;-5;, -5;-0.5;-5;, 5;-0.5;-5;, 5;-0.5;5;, -5;-0.5;5;;
 4; 3;0,1,2;, 3;0,2,3;, 3;4,5,6;, 3;4,6,7;;
 MeshMaterialList { 2; 4; 0, 0, 1, 1;;
  Material { 0.6;0;0.3;1;; 0; 0;0;0;; 0;0;0;; }
  Material { 0;0.5;0;1;; 0; 0;0;0;; 0;0;0;; } }
 MeshNormals { 2; 0;1;0;, 0;-1;0;; 4; 3;0,0,0;, 3;0,0,0;, 3;1,1,1;, 3;1,1,1;; }
}
)";

TEST_F(GlRenderDeviceTest, PlayfieldShowsAModelsUpperSideLitAtItsPlace) {
  const std::string path = std::filesystem::temp_directory_path() / "vorlith_gl_plate_test.x";
  std::ofstream(path) << kTwoSidedPlate;
  Model plate(path.c_str());
  ASSERT_TRUE(plate.Load(device.get()));
  std::filesystem::remove(path);
  SetHudViewport(device.get());
  device->Clear(0xFF102030, true);
  SetupPlayfieldScene(device.get());
  plate.DrawAt(50, 50, 0, 0, 0, 0, 1.0f);
  plate.DrawAt(-25 + 5, -25 + 5, 0, 0, 0, 0, 1.0f);  // touching the top-left corner
  plate.DrawAt(50, 100, 0, 0, -60, 0, 1.0f);         // tilted away from the light
  // Material x (global ambient + light x max(0, N.-L)): N.-L is 1/sqrt(3) for the plates
  // facing the viewer, below 0 for the tilted one.
  const float ambient = 0x6F / 255.0f, lit = ambient + 1.0f / std::sqrt(3.0f);
  for (auto [x, y, light] : {std::tuple{400, 240, lit}, {161, 1, lit}, {400, 400, ambient}}) {
    const Rgba seen = At(x, y);
    EXPECT_NEAR(seen[0], 255 * 0.6f * light, 2) << x << ", " << y;
    EXPECT_EQ(seen[1], 0) << x << ", " << y;
    EXPECT_NEAR(seen[2], 255 * 0.3f * light, 2) << x << ", " << y;
  }
  EXPECT_EQ(At(159, 1), (Rgba{0x10, 0x20, 0x30, 0xFF}));  // the status area's own clear
  EXPECT_EQ(At(400 + 20, 240), (Rgba{0, 0, 0, 0xFF}));    // 10 units across: 32 pixels
}

TEST_F(GlRenderDeviceTest, TextStaysInsideItsExtentAndTheViewport) {
  FontDesc desc;
  desc.height = 30;
  const FontId font = device->CreateFont(desc);
  if (font == 0) GTEST_SKIP() << "no font face installed";
  int width = 0, height = 0;
  ASSERT_TRUE(device->MeasureText(font, "Press Z key", width, height));
  device->SetViewport(Viewport{0, 0, 250 + width / 2, 480, 0.0f, 1.0f});  // its left half
  device->DrawText(font, "Press Z key", 250, 150, 0xFFFFFFFF);
  const std::vector<std::uint8_t> rgba = Pixels();
  int inside = 0, outside = 0, left = 640;
  for (std::size_t i = 0; i < rgba.size(); i += 4) {
    const int x = static_cast<int>(i / 4 % 640), y = static_cast<int>(i / 4 / 640);
    const bool inHalf = x >= 250 && x < 250 + width / 2 && y >= 150 && y < 150 + height;
    if (rgba[i] < 128) continue;
    ++(inHalf ? inside : outside);
    left = std::min(left, x);
  }
  EXPECT_GT(inside, 30);
  EXPECT_LE(left, 250 + 4);  // the P starts at the left edge
  EXPECT_EQ(outside, 0);
}

// Glyphs this large overflow the atlas within one string: it is emptied and the string drawn
// as far as it fits, still into the back buffer and still clipped.
TEST_F(GlRenderDeviceTest, TextThatOverflowsTheAtlasIsDrawnClipped) {
  FontDesc desc;
  desc.height = 400;
  const FontId font = device->CreateFont(desc);
  if (font == 0) GTEST_SKIP() << "no font face installed";
  device->SetViewport(Viewport{0, 0, 320, 480, 0.0f, 1.0f});
  device->DrawText(font, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, 0, 0xFFFFFFFF);
  const std::vector<std::uint8_t> rgba = Pixels();
  int inside = 0, outside = 0;
  for (std::size_t i = 0; i < rgba.size(); i += 4) {
    if (rgba[i] >= 128) ++(i / 4 % 640 < 320 ? inside : outside);
  }
  EXPECT_GT(inside, 1000);
  EXPECT_EQ(outside, 0);
}

// A mode switch keeps the last picture (a paused game has no frame to draw it again): at the
// same size as it is, at another scaled to it.
TEST_F(GlRenderDeviceTest, ResetKeepsThePictureScaledToTheNewSize) {
  device->SetViewport(Viewport{0, 0, 320, 480, 0.0f, 1.0f});
  device->Clear(0xFFFF0000, true);  // the left half red
  device->EndScene();
  ASSERT_TRUE(device->Reset(640, 480));
  EXPECT_EQ(std::pair(At(319, 10), At(320, 10)),
            std::pair(Rgba{255, 0, 0, 255}, Rgba{0, 0, 0, 255}));
  ASSERT_TRUE(device->Reset(1280, 960));
  const std::vector<std::uint8_t> scaled = Pixels(1280, 960);
  EXPECT_EQ(std::tuple(RgbaAt(scaled, 1280, 10, 900)[0], RgbaAt(scaled, 1280, 630, 10)[0],
                       RgbaAt(scaled, 1280, 650, 10)[0]),
            std::tuple(255, 255, 0));
}

// What the window shows after Present: the back buffer pixel for pixel when it has the
// window's size, scaled and letterboxed when it has not.
TEST(GlRenderDevicePresentTest, WindowShowsTheBackBufferExactlyAtItsSizeAndLetterboxedOtherwise) {
  // The window loads the OpenGL driver, which keeps what it allocates; so may reading back.
  ForeignAllocationScope driverAllocations;
  SDL_Window* window = SDL_CreateWindow("present", 0, 0, 640, 480, SDL_WINDOW_OPENGL);
  ASSERT_NE(window, nullptr) << SDL_GetError();
  for (auto [width, height] : {std::pair{640, 480}, {320, 160}}) {
    std::unique_ptr<GlRenderDevice> device = GlRenderDevice::Open(GlSdlContext::Open(window));
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(device->Create(width, height, true) && device->BeginScene());
    device->Clear(0xFF204060, true);
    device->SetViewport(Viewport{0, 0, width / 4, height, 0.0f, 1.0f});
    device->Clear(0xFFC08010, true);
    const float line[] = {10.5f, 7.0f, 200.0f, 150.0f};
    device->SetViewport(Viewport{0, 0, width, height, 0.0f, 1.0f});
    device->DrawPolyline(line, 2, 3.0f, 0x80FFFFFF, true, 1, 1.0f);
    device->EndScene();
    device->Present();
    std::vector<std::uint8_t> back, shown(640 * 480 * 4);
    int backWidth = 0, backHeight = 0;
    ASSERT_TRUE(device->ReadBackBuffer(back, backWidth, backHeight));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, shown.data());
    // Window row r (from the bottom) against back-buffer row height - 1 - r (from the top).
    auto shownAt = [&](int x, int y) { return RgbaAt(shown, 640, x, y); };
    auto backAt = [&](int x, int y) { return RgbaAt(back, width, x, height - 1 - y); };
    if (width == 640) {
      int differing = 0;
      for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) differing += shownAt(x, y) != backAt(x, y);
      EXPECT_EQ(differing, 0);
    } else {  // twice the size, centred: bars of 80 rows above and below
      const Rgba black{0, 0, 0, 255};
      EXPECT_EQ(
          std::tuple(shownAt(320, 40), shownAt(320, 439), shownAt(600, 100), shownAt(20, 300)),
          std::tuple(black, black, backAt(300, 10), backAt(10, 110)));
    }
  }
  SDL_DestroyWindow(window);
}

// Draws of one mesh are gathered into instanced draws; the picture must be the one of every
// subset sent on its own (Finish after each), in the same order: overlapping half-transparent
// quads in one plane show any change of order. The runs break where an instance stops short,
// starts late, changes a material, another mesh comes between, or the viewport changes.
TEST_F(GlRenderDeviceTest, GatheredDrawsGiveThePictureOfDrawsSentOneByOne) {
  MeshData layers;
  for (std::uint32_t s = 0; s < 3; ++s) {
    const float x = 10.0f * s, y = -10.0f * s;
    for (auto [dx, dy] : {std::pair{0, 0}, {40, 0}, {40, -40}, {0, -40}})
      layers.vertices.push_back(MeshVertex{x + dx, y + dy, 1, 0, 0, -1, 0, 0});
    for (std::uint32_t i : {0, 1, 2, 0, 2, 3}) layers.indices.push_back(4 * s + i);
    layers.subsets.push_back({6 * s, 6});
  }
  const MeshId mesh = device->CreateMesh(layers), other = Triangle(0, 0, 60, 0, 0, 60);
  const ColorValue colours[] = {{1, 0, 0, 0.5f}, {0, 1, 0, 0.5f}, {0, 0, 1, 0.5f}};
  struct Step {
    float x, y;
    int firstSubset, endSubset;
    bool otherColour, otherMesh, smallViewport;
  };
  const Step steps[] = {{-220, 140, 0, 3, 0, 0, 0}, {-200, 130, 0, 3, 0, 0, 0},
                        {-180, 120, 0, 2, 0, 0, 0}, {-160, 110, 0, 3, 0, 0, 0},
                        {-140, 100, 0, 3, 1, 0, 0}, {-130, 100, 0, 1, 0, 1, 0},
                        {-120, 90, 1, 3, 0, 0, 0},  {-110, 85, 0, 3, 0, 0, 0},
                        {-100, 80, 0, 3, 0, 0, 1},  {-90, 75, 0, 3, 0, 0, 1}};
  auto draw = [&](bool oneByOne) {
    device->SetViewport(Viewport{0, 0, 640, 480, 0.0f, 1.0f});
    device->Clear(0xFF000000, true);
    device->SetLighting(true);
    device->SetAmbient(0xFFFFFFFF);
    device->SetAlphaBlend(true);
    for (const Step& step : steps) {
      if (step.smallViewport) device->SetViewport(Viewport{0, 0, 640, 300, 0.0f, 1.0f});
      device->SetTransform(TransformState::World, MatrixTranslation(step.x, step.y, 0));
      for (int s = step.firstSubset; s < step.endSubset; ++s) {
        SetMaterial(colours[(s + (step.otherColour ? 1 : 0)) % 3]);
        device->DrawSubset(step.otherMesh ? other : mesh, step.otherMesh ? 0 : s);
        if (oneByOne) device->Finish();
      }
    }
    return Pixels();
  };
  const std::vector<std::uint8_t> gathered = draw(false), oneByOne = draw(true);
  EXPECT_GT(std::ranges::count(gathered, 64), 100);  // the layers mixed
  EXPECT_TRUE(gathered == oneByOne);
}

}  // namespace
}  // namespace vorlith
