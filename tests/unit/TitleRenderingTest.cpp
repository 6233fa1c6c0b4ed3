// The title frame as the real drawing device renders it (OpenGL through SDL's offscreen
// video driver: no X server needed).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/GameApp.h"
#include "platform/Platform.h"
#include "platform/RenderDevice.h"

namespace vorlith {
namespace {

struct Rgb {
  int r, g, b;
};

class TitleRenderingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<GameApp>(CreateSdlPlatform(), std::vector<std::string>{"vorlith"});
    ASSERT_TRUE(app->IsReady()) << "no OpenGL device under SDL_VIDEODRIVER=offscreen";
    device = app->GetGraphicsDevice()->GetDevice();
  }

  Rgb At(int x, int y) const {
    const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
    return {p[0], p[1], p[2]};
  }

  std::unique_ptr<GameApp> app;
  RenderDevice* device = nullptr;
  std::vector<std::uint8_t> pixels;
  int width = 0, height = 0;
};

TEST_F(TitleRenderingTest, DarkBlueWithWhiteTextOnlyWherePressZKeyStands) {
  app->Update();
  app->Draw();
  ASSERT_TRUE(device->ReadBackBuffer(pixels, width, height));
  ASSERT_EQ(width, 640);
  ASSERT_EQ(height, 480);

  // Where the text may stand: its measured extent at (250, 150), in the title's font.
  FontDesc desc;
  desc.height = 30;
  desc.weight = 300;
  const FontId font = device->CreateFont(desc);
  ASSERT_NE(font, 0u);
  int textWidth = 0, textHeight = 0;
  ASSERT_TRUE(device->MeasureText(font, "Press Z key", textWidth, textHeight));
  device->ReleaseFont(font);
  const int left = 250, top = 150, right = left + textWidth, bottom = top + textHeight;

  int white = 0, inkLeft = width, inkRight = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = At(x, y);
      const bool inText = x >= left && x < right && y >= top && y < bottom;
      if (!inText) {
        ASSERT_TRUE(c.r == 0 && c.g == 0 && c.b == 64)
            << "(" << x << ", " << y << ") is " << c.r << "," << c.g << "," << c.b;
        continue;
      }
      // White over dark blue: grey levels between the two, never another colour.
      ASSERT_EQ(c.r, c.g) << x << ", " << y;
      ASSERT_GE(c.b, c.r) << x << ", " << y;
      ASSERT_GE(c.b, 64) << x << ", " << y;
      if (c.r == 0) continue;
      if (c.r == 255 && c.b == 255) ++white;
      inkLeft = std::min(inkLeft, x);
      inkRight = std::max(inkRight, x);
    }
  }
  EXPECT_GT(white, 100) << "too few white pixels for the text";
  EXPECT_LE(inkLeft, left + 4);    // the P starts at the left edge
  EXPECT_GE(inkRight, right - 6);  // the y ends near the right edge
}

}  // namespace
}  // namespace vorlith
