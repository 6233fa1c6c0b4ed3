#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "FakeRenderDevice.h"
#include "FakeWindow.h"
#include "TestPlatform.h"
#include "app/GraphicsDevice.h"
#include "base/AcosF.h"
#include "base/MatrixMath.h"
#include "base/SinCosF.h"
#include "base/Utf8.h"
#include "graphics/LineDrawer.h"
#include "graphics/TextFont.h"
#include "graphics/Transforms.h"
#include "platform/sdl/TtfFontRasterizer.h"

namespace vorlith {
namespace {

// A graphics device on a 1280 x 1024 desktop.
struct Fixture {
  FakeWindow window{1280, 1024};
  FakeRenderDevice* device = nullptr;
  std::unique_ptr<GraphicsDevice> graphics;

  explicit Fixture(int ww, int wh, int fw, int fh, bool full = false, bool depth = true,
                   bool createFails = false) {
    const StartupOptions o{ww, wh, fw, fh, full};
    auto owned = std::make_unique<FakeRenderDevice>(&window);
    owned->createFails = createFails;
    device = owned.get();
    graphics = std::make_unique<GraphicsDevice>(&window, std::move(owned), o, depth);
  }

  // Full screen with the back buffer given, or the centred window of that size.
  void ExpectMode(bool full, int width, int height) const {
    int w = 0, h = 0, x = 0, y = 0;
    ASSERT_TRUE(device->GetBackBufferSize(w, h));
    EXPECT_EQ(std::tuple(w, h, window.fullScreen, graphics->IsFullScreen()),
              std::tuple(width, height, full, full));
    if (full) return;
    window.GetClientSize(w, h);
    window.GetPosition(x, y);
    EXPECT_EQ(std::vector({x, y, w, h}),
              std::vector({(1280 - width) / 2, (1024 - height) / 2, width, height}));
  }
};

TEST(GraphicsDeviceTest, WindowAndFullScreenSwitchBackAndForth) {
  Fixture f(800, 600, 1024, 768);
  ASSERT_TRUE(f.graphics->IsReady());
  ASSERT_TRUE(f.graphics->BeginScene());
  f.graphics->Clear(0xFF000000);  // colour and depth
  f.graphics->EndScene();
  EXPECT_TRUE(f.device->depthBuffer && f.device->clears.at(0).depth);
  f.ExpectMode(false, 800, 600);
  f.graphics->SetFullScreen(true);
  f.ExpectMode(true, 1024, 768);
  f.graphics->SetFullScreen(true);  // already there: nothing happens
  EXPECT_EQ(f.device->resetCount, 1);
  f.graphics->SetFullScreen(false);
  f.ExpectMode(false, 800, 600);

  Fixture atStart(800, 600, 1024, 768, true);
  atStart.ExpectMode(true, 1024, 768);
}

TEST(GraphicsDeviceTest, UnusableSizesLeaveNoDeviceAndABadFullScreenSizeOnlyFailsTheSwitch) {
  for (int width : {0, -5, 100000}) {
    Fixture f(width, 480, 640, 480);
    EXPECT_FALSE(f.graphics->IsReady());
    EXPECT_FALSE(f.graphics->BeginScene());
    f.graphics->Present();  // harmless without a device
    f.graphics->SetFullScreen(true);
    EXPECT_EQ(f.device->presentCount, 0);
  }
  EXPECT_FALSE(Fixture(640, 480, 640, 480, false, true, true).graphics->IsReady());

  Fixture f(800, 600, 0, 0);
  ASSERT_TRUE(f.graphics->IsReady());
  f.graphics->SetFullScreen(true);
  f.graphics->SetFullScreen(false);
  f.ExpectMode(false, 800, 600);
}

TEST(GraphicsDeviceTest, PresentFollowsTheLostAndNotResetStates) {
  Fixture f(800, 600, 1024, 768, false, false);  // without a depth buffer
  ASSERT_TRUE(f.graphics->BeginScene());
  f.graphics->Clear(0xFF000000);
  f.graphics->EndScene();
  EXPECT_FALSE(f.device->depthBuffer || f.device->clears.at(0).depth);
  f.graphics->Present();
  EXPECT_EQ(f.device->presentCount, 1);
  f.window.minimized = true;  // nothing to present to: lost
  f.graphics->Present();
  f.graphics->Present();
  EXPECT_EQ(std::pair(f.device->presentCount, f.device->resetCount), std::pair(1, 0));
  f.window.minimized = false;  // back: not reset until a Present resets it
  EXPECT_EQ(f.device->TestCooperativeLevel(), RenderDevice::Status::NotReset);
  f.device->resetFails = true;  // a failed reset skips presentation until one succeeds
  f.graphics->Present();
  EXPECT_EQ(f.device->presentCount, 1);
  f.device->resetFails = false;
  f.graphics->Present();
  EXPECT_EQ(
      std::tuple(f.device->resetCount, f.device->presentCount, f.device->TestCooperativeLevel()),
      std::tuple(1, 2, RenderDevice::Status::Ok));
  f.ExpectMode(false, 800, 600);
}

// A gauge draws its points untextured with its options once created; the 101st point and
// points set outside the line are refused.
TEST(LineDrawerTest, GaugeDrawsItsPointsUntexturedWithItsOptionsOnceCreated) {
  FakeRenderDevice device;
  device.texture = 42;
  LineDrawer gauge;
  ASSERT_TRUE(gauge.AddPoint({440, 380}));
  ASSERT_TRUE(gauge.AddPoint({440, 380 - 100}));
  gauge.Draw(0xFFFFFFFF);  // not created yet, then without a device: nothing drawn
  gauge.Create(nullptr, 1, 10.0f, true, false, 1.0f);
  gauge.Draw(0xFFFFFFFF);
  gauge.Create(&device, 1, 10.0f, true, false, 1.0f);
  gauge.SetPoint(1, 440, 380 - 70);
  gauge.Draw(0xFF6464FF);
  ASSERT_EQ(device.polylines.size(), 1u);
  const FakeRenderDevice::Polyline& line = device.polylines[0];
  EXPECT_EQ(line.xy, (std::vector<float>{440, 380, 440, 310}));
  EXPECT_EQ(std::tuple(line.width, line.argb, line.antialias, line.texture),
            std::tuple(10.0f, 0xFF6464FFu, true, 0u));

  for (int i = 2; i < 100; ++i) ASSERT_TRUE(gauge.AddPoint({static_cast<float>(i), 0}));
  EXPECT_FALSE(gauge.AddPoint({1000, 1000}));
  gauge.SetPoint(100, 5, 5);  // outside: ignored
  gauge.SetPoint(-1, 5, 5);
  gauge.Draw(0xFFFFFFFF);
  ASSERT_EQ(device.polylines.size(), 2u);
  const std::vector<float>& xy = device.polylines[1].xy;
  EXPECT_EQ(std::pair(xy.size(), xy[198]), std::pair(std::size_t{200}, 99.0f));
}

using Shown = std::vector<std::pair<std::string, std::string>>;

// The device font is released with its owner or by a second Create; one that cannot be made
// says so.
TEST(TextFontTest, DrawsAtTheTopLeftOrCentredByTheMeasuredExtentAndReleasesItsFont) {
  testing::RecordingDialogs dialogs;
  FakeRenderDevice device;  // measures with the real font rasterizer
  {
    TextFont font;
    font.Create(&device, dialogs, 12);
    font.Create(&device, dialogs, 18, 0, 300, "HGP創英角ﾎﾟｯﾌﾟ体");
    EXPECT_EQ(device.fonts.size(), 1u);
    font.DrawText("Game Over", 200, 100, 0xFFFF0000, Center);
    font.DrawText("left", 5, 6, 0xFF00FF00, TopLeft);
    ASSERT_EQ(device.texts.size(), 2u);
    const auto& centred = device.texts[0];
    int width = 0, height = 0;
    ASSERT_TRUE(device.MeasureText(centred.font, "Game Over", width, height));
    EXPECT_TRUE(height >= 16 && height <= 18) << height;
    EXPECT_NEAR(centred.x + width / 2.0, 200, 0.5);
    EXPECT_NEAR(centred.y + height / 2.0, 100, 0.5);
    EXPECT_EQ(std::tuple(centred.argb, device.texts[1].x, device.texts[1].y, dialogs.shown.size()),
              std::tuple(0xFFFF0000u, 5, 6, 0u));
  }
  EXPECT_TRUE(device.fonts.empty());
  TextFont font;
  font.Create(&device, dialogs, 0);
  EXPECT_FALSE(font.IsCreated());
  EXPECT_EQ(dialogs.shown, (Shown{{"ok", "D3DXCreateFont FALSE"}}));
}

std::unique_ptr<FontRasterizer> Create(int height, const std::string& face = "") {
  return FontRasterizer::Create(FontDesc{.height = height, .weight = 300, .faceName = face});
}

// Unusable heights give no font; at 30 pixels, glyphs sit on the baseline inside the line.
TEST(TtfFontRasterizerTest, LineHeightIsNearThePixelHeightAndGlyphsSitInsideTheLine) {
  for (int height : {0, -12, 100000}) EXPECT_FALSE(Create(height)) << height;
  std::unique_ptr<FontRasterizer> font;
  for (int height : {12, 18, 30}) {
    font = Create(height);
    ASSERT_TRUE(font) << height;
    EXPECT_TRUE(font->GetLineHeight() <= height && font->GetLineHeight() >= height - 2)
        << height << ": " << font->GetLineHeight();
  }
  FontRasterizer::Glyph letter, low;
  ASSERT_TRUE(font->RenderGlyph(U'P', letter));
  ASSERT_EQ(letter.alpha.size(), static_cast<std::size_t>(letter.width * letter.height));
  EXPECT_GT(*std::max_element(letter.alpha.begin(), letter.alpha.end()), 200);
  EXPECT_GE(letter.offsetY, 0);
  EXPECT_LE(letter.offsetY + letter.height, font->GetLineHeight());
  ASSERT_TRUE(font->RenderGlyph(U'y', low));  // the descender reaches below the capital
  EXPECT_GT(low.offsetY + low.height, letter.offsetY + letter.height);
  EXPECT_LE(low.offsetY + low.height, font->GetLineHeight());
}

// The most separate runs of ink (pixels at least half covered) in a row of the glyph; two
// runs are separate when some pixel between them is at most a quarter covered (an open gap,
// not a grey smear).
int MostOpenRuns(const FontRasterizer::Glyph& glyph) {
  int most = 0;
  for (int y = 0; y < glyph.height; ++y) {
    int runs = 0, gapMin = 0;
    bool inInk = false;
    for (int x = 0; x < glyph.width; ++x) {
      const int alpha = glyph.alpha[static_cast<std::size_t>(y) * glyph.width + x];
      if (alpha >= 128) {
        if (!inInk && (runs == 0 || gapMin <= 64)) ++runs;
        inInk = true;
        gapMin = 255;
      } else {
        inInk = false;
        gapMin = std::min(gapMin, alpha);
      }
    }
    most = std::max(most, runs);
  }
  return most;
}

// Small text stays legible: the stems of "m" stand apart with both its counters open, at the
// debug overlay's size and the HUD's. A missing face falls back to a Japanese-capable one.
TEST(TtfFontRasterizerTest, TheStemsOfMStandApartAtSmallSizesAndAMissingFaceFallsBack) {
  for (const auto& [height, face] :
       {std::pair<int, std::string>{12, ""}, {12, "HGP創英角ﾎﾟｯﾌﾟ体"}, {18, "HGP創英角ﾎﾟｯﾌﾟ体"}}) {
    auto font = Create(height, face);
    ASSERT_TRUE(font);
    FontRasterizer::Glyph glyph;
    ASSERT_TRUE(font->RenderGlyph(U'm', glyph));
    std::string picture;
    for (int y = 0; y < glyph.height; ++y, picture += '\n')
      for (int x = 0; x < glyph.width; ++x)
        picture += " .:#"[glyph.alpha[static_cast<std::size_t>(y) * glyph.width + x] / 64];
    EXPECT_EQ(MostOpenRuns(glyph), 3) << height << " " << face << "\n" << picture;
    ASSERT_TRUE(font->RenderGlyph(U'自', glyph));
    EXPECT_TRUE(glyph.width > 4 && glyph.advance > 8) << glyph.width << " " << glyph.advance;
  }
}

TEST(Utf8Test, DecodesAndReplacesBadBytes) {
  const std::pair<const char*, std::u32string> cases[] = {
      {"自機ﾎﾟ", U"自機ﾎﾟ"},
      {"\xF0\x9F\x98\x80", U"\U0001F600"},
      {"a\xFF\x62", U"a\uFFFDb"},               // \x62: b
      {"\xE3\x81", U"\uFFFD\uFFFD"},            // cut short
      {"\xC0\xAF", U"\uFFFD\uFFFD"},            // overlong
      {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},  // surrogate
  };
  for (const auto& [bytes, decoded] : cases) EXPECT_EQ(DecodeUtf8(bytes), decoded) << bytes;
}

using Rect = std::array<int, 4>;

Rect RectOf(const Viewport& v) {
  return {v.x, v.y, v.width, v.height};
}

bool SameBits(const Matrix& a, const Matrix& b) {
  return std::memcmp(&a, &b, sizeof(Matrix)) == 0;
}

class TransformsTest : public ::testing::Test {
 protected:
  // Where a model point drawn with the given world matrix lands: back-buffer pixels and depth.
  Vec3 Project(const Vec3& point, const Matrix& world = MatrixIdentity()) {
    const Matrix all = MatrixMultiply(MatrixMultiply(world, device.view), device.projection);
    const Vec3 ndc = Vec3TransformCoord(point, all);
    const Viewport& v = device.viewport;
    return {v.x + (ndc.x + 1.0f) * 0.5f * v.width, v.y + (1.0f - ndc.y) * 0.5f * v.height,
            v.minZ + ndc.z * (v.maxZ - v.minZ)};
  }

  FakeRenderDevice device;
};

TEST_F(TransformsTest, PointsLandOnThePlayViewportWhichSplitsTheBackBufferAndZeroAnglesSkipTurns) {
  SetupPlayfieldScene(&device);
  struct Case {
    Vec3 point;
    Matrix world;
    float x, y;
  } cases[] = {
      {{125, 125, 0}, MatrixIdentity(), 640, 480},  // the field's bottom-right
      // A model's nose (+z) points up the screen, 10 units being 32 pixels, from the field's
      // centre at (400, 240); a turn of 90 degrees about z turns it clockwise; a scale of 2
      // doubles it. (Its top-left at (160, 0) follows, and shows in GlRenderDeviceTest.)
      {{0, 0, 10}, MakeWorldMatrix(50, 50, 0, 0, 0, 0, 1.0f), 400, 208},
      {{0, 0, 10}, MakeWorldMatrix(50, 50, 0, 0, 0, 90, 1.0f), 432, 240},
      {{0, 0, 10}, MakeWorldMatrix(50, 50, 0, 0, 0, 0, 2.0f), 400, 176},
  };
  for (const Case& c : cases) {
    const Vec3 seen = Project(c.point, c.world);
    EXPECT_NEAR(seen.x, c.x, 1e-3f) << c.x << ", " << c.y;
    EXPECT_NEAR(seen.y, c.y, 1e-3f) << c.x << ", " << c.y;
  }
  // Depth holds z from 99 (nearest) down to -900; a model's +y faces the viewer.
  EXPECT_NEAR(Project({50, 50, 99}).z, 0.0f, 1e-5f);
  EXPECT_NEAR(Project({50, 50, -900}).z, 1.0f, 1e-5f);
  const Matrix upright = MakeWorldMatrix(50, 50, 0, 0, 0, 0, 1.0f);
  EXPECT_LT(Project({0, 10, 0}, upright).z, Project({0, 0, 0}, upright).z);
  // An angle of zero skips its turn; a full turn is applied.
  const Matrix expected =
      MatrixMultiply(MatrixRotationX(1.5707964f), MatrixTranslation(12.5f, -3.0f, 0.25f));
  EXPECT_TRUE(SameBits(MakeWorldMatrix(12.5f, -3.0f, 0.25f, 0, 0, 0, 1.0f), expected));
  const Matrix full = MakeWorldMatrix(12.5f, -3.0f, 0.25f, 360, 360, 360, 1.0f);
  EXPECT_FALSE(SameBits(full, expected));
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(full.m[i / 4][i % 4], expected.m[i / 4][i % 4], 1e-4f);

  // The viewports split the back buffer by quarters.
  device.width = 641;
  device.height = 400;
  SetHudViewport(&device);
  EXPECT_EQ(RectOf(device.viewport), (Rect{0, 0, 160, 400}));
  SetupPlayfieldScene(&device);
  EXPECT_EQ(RectOf(device.viewport), (Rect{160, 0, 480, 400}));

  device.hasBackBuffer = false;
  SetupPlayfieldScene(&device);
  EXPECT_EQ(RectOf(device.viewport), (Rect{0, 0, 0, 0}));
  // Without a device nothing is drawn and the back buffer has no size.
  SetupPlayfieldScene(nullptr);
  SetHudViewport(nullptr);
  int width = 5, height = 5;
  GetBackBufferSize(nullptr, width, height);
  EXPECT_EQ(std::tuple(width, height), std::tuple(0, 0));
  // The play field's scene culls, lights and tests depth.
  device.world = MatrixTranslation(1, 2, 3);
  device.hasBackBuffer = true;
  SetupPlayfieldScene(&device);
  EXPECT_EQ(std::tuple(device.cullMode, device.lighting && device.lightEnabled && device.depthTest,
                       device.ambient, device.filter),
            std::tuple(CullMode::CounterClockwise, true, 0x006F6F6Fu, TextureFilter::Linear));
  EXPECT_TRUE(SameBits(device.world, MatrixIdentity()));
  EXPECT_NEAR(device.light.direction.y, -0.57735f, 1e-5f);
}

using std::bit_cast;

bool SameBits(float a, float b) {
  return bit_cast<std::uint32_t>(a) == bit_cast<std::uint32_t>(b) ||
         (std::isnan(a) && std::isnan(b));
}

void ExpectLibraryBits(float x) {
  const float librarySine = std::sin(x), libraryCosine = std::cos(x);
  float sine = 0, cosine = 0;
  SinCosF(x, sine, cosine);
  EXPECT_TRUE(SameBits(SinF(x), librarySine) && SameBits(sine, librarySine))
      << "sin " << std::hexfloat << x;
  EXPECT_TRUE(SameBits(CosF(x), libraryCosine) && SameBits(cosine, libraryCosine))
      << "cos " << std::hexfloat << x;
  EXPECT_TRUE(SameBits(TanF(x), std::tan(x))) << "tan " << std::hexfloat << x;
}

// The replacement must give this machine's C library's bits. That library picks its FMA build
// on CPUs with FMA; elsewhere its plain build may round a few inputs differently. Headings and
// phases as the movers form them, in whole and tenth degrees; then a stride through every
// float, through every branch: tiny, below pi/4, the one-step reduction, the 4/pi table,
// infinities and NaNs (tools/math_scan.sh checks all 2^32).
TEST(SinCosFTest, GameAnglesAndAStrideThroughAllFloatsGiveTheLibrarysBits) {
#if defined(__GLIBC__) && (defined(__x86_64__) || defined(__i386__))
  if (!__builtin_cpu_supports("fma")) GTEST_SKIP() << "the C library's sinf has no FMA here";
#else
  GTEST_SKIP() << "compared against glibc on x86-64 only";
#endif
  constexpr float kDegToRad = 0.017453292f;
  for (int tenth = -100000; tenth <= 100000 && !HasFailure(); ++tenth) {
    ExpectLibraryBits(static_cast<float>(tenth) * 0.1f * kDegToRad);
    if (tenth % 10 == 0) ExpectLibraryBits(static_cast<float>(tenth / 10) * kDegToRad);
  }
  for (std::uint64_t bits = 0; bits < (1ull << 32) && !HasFailure(); bits += 4093)
    ExpectLibraryBits(bit_cast<float>(static_cast<std::uint32_t>(bits)));
  for (float x : {INFINITY, -INFINITY, NAN, -NAN, 0.0f, -0.0f, 120.0f, -120.0f, 0.78539816f})
    ExpectLibraryBits(x);
}

// AcosF gives glibc's single-precision acos bits, NaNs too (their sign is part of the
// result): a stride through [-1, 1] and the ends.
TEST(AcosFTest, GivesTheLibrarysBits) {
#ifndef __GLIBC__
  GTEST_SKIP() << "compared against glibc only";
#endif
  const auto expectLibraryBits = [](float x) {
    EXPECT_EQ(bit_cast<std::uint32_t>(AcosF(x)), bit_cast<std::uint32_t>(std::acos(x)))
        << std::hexfloat << x;
  };
  for (std::uint32_t bits = 0; bits <= 0x3f800000u && !HasFailure(); bits += 257) {
    expectLibraryBits(bit_cast<float>(bits));
    expectLibraryBits(-bit_cast<float>(bits));
  }
  for (float x : {1.0f, -1.0f, 0.5f, -0.5f, 1.0000001f, INFINITY, NAN, 1e-30f})
    expectLibraryBits(x);
}

}  // namespace
}  // namespace vorlith
