#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "graphics/MatrixMath.h"
#include "graphics/Model.h"
#include "graphics/Transforms.h"
#include "platform/GlRenderDevice.h"
#include "platform/PngFile.h"

namespace vorlith {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Pixel {
  int r, g, b, a;
};

// An offscreen device with an identity view and a pixel-sized orthographic projection:
// the point (x, y) lands on back-buffer pixel (320 + x, 240 - y).
class GlRenderDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device = GlRenderDevice::Open(nullptr);
    ASSERT_NE(device, nullptr) << "no OpenGL 3.3 context";
    ASSERT_TRUE(device->Create(kWidth, kHeight, true));
    ASSERT_TRUE(device->BeginScene());
    device->SetTransform(TransformState::View, MatrixIdentity());
    device->SetTransform(TransformState::Projection, MatrixOrthoLH(kWidth, kHeight, 0.0f, 10.0f));
    device->SetTransform(TransformState::World, MatrixIdentity());
    device->SetCullMode(CullMode::None);
    device->SetDepthTest(true);
  }

  Pixel At(int x, int y) {
    std::vector<std::uint8_t> rgba;
    int width = 0, height = 0;
    EXPECT_TRUE(device->ReadBackBuffer(rgba, width, height));
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 4;
    return Pixel{rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
  }

  // A triangle given by its corners in back-buffer pixels, facing the viewer (normal -Z).
  MeshId ScreenTriangle(float x0, float y0, float x1, float y1, float x2, float y2, float z = 1) {
    MeshData mesh;
    for (auto [x, y] : {std::pair{x0, y0}, {x1, y1}, {x2, y2}}) {
      MeshVertex v;
      v.px = x - kWidth / 2.0f;
      v.py = kHeight / 2.0f - y;
      v.pz = z;
      v.nz = -1.0f;
      mesh.vertices.push_back(v);
    }
    mesh.indices = {0, 1, 2};
    mesh.subsets = {{0, 3}};
    mesh.hasNormals = true;
    return device->CreateMesh(mesh);
  }

  static Material Coloured(float r, float g, float b, float a) {
    Material material;
    material.diffuse = ColorValue{r, g, b, a};
    material.ambient = material.diffuse;
    return material;
  }

  std::unique_ptr<GlRenderDevice> device;
};

TEST_F(GlRenderDeviceTest, ClearFillsOnlyTheCurrentViewport) {
  device->Clear(0xFF102030, true);
  device->SetViewport(Viewport{160, 0, 480, 480, 0.0f, 1.0f});
  device->Clear(0xFF000000 | 0xC08040, true);
  const Pixel status = At(159, 10);
  EXPECT_EQ(status.r, 0x10);
  EXPECT_EQ(status.g, 0x20);
  EXPECT_EQ(status.b, 0x30);
  const Pixel play = At(160, 479);
  EXPECT_EQ(play.r, 0xC0);
  EXPECT_EQ(play.g, 0x80);
  EXPECT_EQ(play.b, 0x40);
}

TEST_F(GlRenderDeviceTest, LitFaceHasTheFixedFunctionColour) {
  device->Clear(0xFF000000, true);
  device->SetLighting(true);
  device->SetAmbient(0x006F6F6F);
  Light light;
  light.type = LightType::Directional;
  light.diffuse = ColorValue{1, 1, 1, 0};
  light.direction = Vec3Normalize(Vec3{-1, -1, 1});
  device->SetLight(0, light);
  device->EnableLight(0, true);
  device->SetMaterial(Coloured(0.8f, 0.4f, 0.2f, 1.0f));
  const MeshId mesh = ScreenTriangle(100, 100, 300, 100, 100, 300);
  ASSERT_NE(mesh, 0u);
  device->DrawSubset(mesh, 0);

  const float ambient = 0x6F / 255.0f, diffuse = 1.0f / std::sqrt(3.0f);
  const Pixel lit = At(130, 130);
  EXPECT_NEAR(lit.r, 255 * 0.8f * (ambient + diffuse), 2.0);
  EXPECT_NEAR(lit.g, 255 * 0.4f * (ambient + diffuse), 2.0);
  EXPECT_NEAR(lit.b, 255 * 0.2f * (ambient + diffuse), 2.0);

  // Turned away from the light only the ambient part is left.
  light.direction = Vec3{0, 0, -1};
  device->SetLight(0, light);
  device->DrawSubset(mesh, 0);
  EXPECT_NEAR(At(130, 130).r, 255 * 0.8f * ambient, 2.0);
}

TEST_F(GlRenderDeviceTest, CullingFollowsTheWindingOnScreen) {
  device->Clear(0xFF000000, true);
  device->SetLighting(false);
  device->SetCullMode(CullMode::CounterClockwise);
  // Top-left, bottom-left, bottom-right: counter-clockwise as seen on screen.
  const MeshId ccw = ScreenTriangle(100, 100, 100, 200, 200, 200);
  // Top-left, top-right, bottom-left: clockwise as seen on screen.
  const MeshId cw = ScreenTriangle(300, 100, 400, 100, 300, 200);
  device->DrawSubset(ccw, 0);
  device->DrawSubset(cw, 0);
  EXPECT_EQ(At(110, 190).r, 0);
  EXPECT_EQ(At(310, 110).r, 255);

  device->SetCullMode(CullMode::Clockwise);
  device->Clear(0xFF000000, true);
  device->DrawSubset(ccw, 0);
  device->DrawSubset(cw, 0);
  EXPECT_EQ(At(110, 190).r, 255);
  EXPECT_EQ(At(310, 110).r, 0);
}

TEST_F(GlRenderDeviceTest, HalfTransparentMaterialBlendsOverTheBackground) {
  device->Clear(0xFFFF0000, true);
  device->SetLighting(true);
  device->SetAmbient(0xFFFFFFFF);
  device->EnableLight(0, false);
  device->SetMaterial(Coloured(0.0f, 0.0f, 1.0f, 0.5f));
  device->SetAlphaBlend(true);
  device->DrawSubset(ScreenTriangle(100, 100, 300, 100, 100, 300), 0);
  const Pixel blended = At(130, 130);
  EXPECT_NEAR(blended.r, 128, 2);
  EXPECT_NEAR(blended.b, 128, 2);
  EXPECT_EQ(blended.a, 255);  // the picture stays opaque
}

TEST_F(GlRenderDeviceTest, GaugeReachesFromItsBaseToItsTop) {
  device->Clear(0xFF000000, true);
  const float gauge[] = {440, 380, 440, 280};
  device->DrawPolyline(gauge, 2, 10.0f, 0xFF6464FF, true, 1, 1.0f);
  for (int y : {281, 330, 379}) {
    const Pixel p = At(440, y);
    EXPECT_EQ(p.r, 0x64) << y;
    EXPECT_EQ(p.b, 0xFF) << y;
  }
  EXPECT_EQ(At(436, 330).b, 0xFF);
  EXPECT_EQ(At(443, 330).b, 0xFF);
  EXPECT_EQ(At(430, 330).b, 0);
  EXPECT_EQ(At(450, 330).b, 0);
  EXPECT_EQ(At(440, 275).b, 0);
  EXPECT_EQ(At(440, 385).b, 0);
}

TEST_F(GlRenderDeviceTest, TextureModulatesWithItsTopRowAtVZero) {
  const std::filesystem::path png =
      std::filesystem::temp_directory_path() / "vorlith_gl_texture_test.png";
  // 2 x 2: red over blue, opaque.
  const std::vector<std::uint8_t> pixels = {255, 0, 0,   255, 255, 0, 0,   255,
                                            0,   0, 255, 255, 0,   0, 255, 255};
  ASSERT_TRUE(WritePng(png.string(), pixels, 2, 2));
  const TextureId texture = device->CreateTextureFromFile(png.string());
  std::filesystem::remove(png);
  ASSERT_NE(texture, 0u);
  EXPECT_EQ(device->CreateTextureFromFile(png.string()), 0u);

  MeshData quad;
  const float corners[4][4] = {
      {-100, 100, 0, 0}, {100, 100, 1, 0}, {100, -100, 1, 1}, {-100, -100, 0, 1}};
  for (const auto& c : corners) {
    MeshVertex v;
    v.px = c[0];
    v.py = c[1];
    v.pz = 1;
    v.u = c[2];
    v.v = c[3];
    quad.vertices.push_back(v);
  }
  quad.indices = {0, 1, 2, 0, 2, 3};
  quad.subsets = {{0, 6}};
  const MeshId mesh = device->CreateMesh(quad);
  device->Clear(0xFF000000, true);
  device->SetLighting(false);
  device->SetTextureFilter(TextureFilter::Point);
  device->SetTexture(texture);
  device->DrawSubset(mesh, 0);
  EXPECT_EQ(At(320, 200).r, 255);  // upper half of the quad
  EXPECT_EQ(At(320, 200).b, 0);
  EXPECT_EQ(At(320, 280).b, 255);  // lower half
  EXPECT_EQ(At(320, 280).r, 0);
  device->ReleaseTexture(texture);
  device->Clear(0xFF000000, true);
  device->DrawSubset(mesh, 0);  // a released texture draws untextured
  EXPECT_EQ(At(320, 200).g, 255);
}

// A square plate, red on its upper (+y, towards the viewer) side and green underneath.
const char* const kTwoSidedPlate = R"(xof 0303txt 0032
Mesh {
 8;
 -5.0;0.5;-5.0;, -5.0;0.5;5.0;, 5.0;0.5;5.0;, 5.0;0.5;-5.0;,
 -5.0;-0.5;-5.0;, 5.0;-0.5;-5.0;, 5.0;-0.5;5.0;, -5.0;-0.5;5.0;;
 4;
 3;0,1,2;, 3;0,2,3;, 3;4,5,6;, 3;4,6,7;;
 MeshMaterialList {
  2; 4; 0, 0, 1, 1;;
  Material { 1.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.5;0.0;0.0;; }
  Material { 0.0;1.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.5;0.0;; }
 }
 MeshNormals {
  2; 0.0;1.0;0.0;, 0.0;-1.0;0.0;;
  4; 3;0,0,0;, 3;0,0,0;, 3;1,1,1;, 3;1,1,1;;
 }
}
)";

TEST_F(GlRenderDeviceTest, PlayfieldShowsAModelsUpperSideAtItsPlace) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "vorlith_gl_plate_test.x";
  std::ofstream(path) << kTwoSidedPlate;
  const std::string name = path.string();
  SetGraphicsDevice(device.get());
  {
    Model plate(name.c_str());
    ASSERT_TRUE(plate.Load());
    SetHudViewport();
    device->Clear(0xFF323232, true);
    SetupPlayfieldScene();
    device->Clear(0xFF000000, true);
    plate.DrawAt(50, 50, 0, 0, 0, 0, 1.0f);
    plate.DrawAt(-25 + 5, -25 + 5, 0, 0, 0, 0, 1.0f);  // touching the top-left corner
    plate.DrawAt(50, 100, 0, 0, 0, 30, 1.0f);
  }
  SetGraphicsDevice(nullptr);
  std::filesystem::remove(path);
  const Pixel centre = At(400, 240);
  EXPECT_GT(centre.r, 200);
  EXPECT_EQ(centre.g, 0);
  EXPECT_GT(At(161, 1).r, 200);
  EXPECT_EQ(At(159, 1).r, 0x32);      // the status area keeps its own colour
  EXPECT_EQ(At(400 + 20, 240).r, 0);  // 10 units across: 32 pixels
  EXPECT_GT(At(400, 400).r, 200);
}

// Counts lit pixels inside and outside a rectangle.
struct LitCount {
  int inside = 0, outside = 0;
};

TEST_F(GlRenderDeviceTest, TextDrawsInsideItsExtentAndTheViewport) {
  FontDesc desc;
  desc.height = 30;
  const FontId font = device->CreateFont(desc);
  if (font == 0) GTEST_SKIP() << "no font face installed";
  int width = 0, height = 0;
  ASSERT_TRUE(device->MeasureText(font, "Press Z key", width, height));
  EXPECT_GT(width, 60);
  EXPECT_GE(height, 25);
  device->Clear(0xFF000000, true);
  device->DrawText(font, "Press Z key", 250, 150, 0xFFFFFFFF);
  // The same text again, but its viewport shows only its left half.
  device->SetViewport(Viewport{0, 300, 250 + width / 2, 100, 0.0f, 1.0f});
  device->DrawText(font, "Press Z key", 250, 320, 0xFFFFFFFF);

  std::vector<std::uint8_t> rgba;
  int w = 0, h = 0;
  ASSERT_TRUE(device->ReadBackBuffer(rgba, w, h));
  LitCount first, clipped;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (rgba[(static_cast<std::size_t>(y) * w + x) * 4] < 128) continue;
      const bool inFirst = x >= 250 && x < 250 + width && y >= 150 && y < 150 + height;
      const bool inLeftHalf = x >= 250 && x < 250 + width / 2 && y >= 320 && y < 320 + height;
      (inFirst ? first.inside : inLeftHalf ? clipped.inside : first.outside)++;
    }
  }
  EXPECT_GT(first.inside, 100);
  EXPECT_GT(clipped.inside, 30);
  EXPECT_LT(clipped.inside, first.inside);
  EXPECT_EQ(first.outside, 0);
  device->ReleaseFont(font);
  EXPECT_FALSE(device->MeasureText(font, "x", width, height));
}

}  // namespace
}  // namespace vorlith
