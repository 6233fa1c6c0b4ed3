#include <gtest/gtest.h>

#include <algorithm>

#include "FakeRenderDevice.h"
#include "FakeWindow.h"
#include "TestPlatform.h"
#include "app/GraphicsDevice.h"
#include "base/Utf8.h"
#include "graphics/LineDrawer.h"
#include "graphics/TextFont.h"
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
    EXPECT_TRUE(font->GetLineHeight() <= height && font->GetLineHeight() >= height - 2) << height;
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

}  // namespace
}  // namespace vorlith
