// The title frame as the real drawing device renders it (OpenGL through SDL's offscreen
// video driver: no X server needed).
#include <gtest/gtest.h>

#include <algorithm>

#include "app/GameApp.h"
#include "platform/Platform.h"
#include "platform/RenderDevice.h"

namespace vorlith {

TEST(TitleRenderingTest, DarkBlueWithWhiteTextOnlyWherePressZKeyStands) {
  GameApp app(CreatePlatform(), {"vorlith"});
  ASSERT_TRUE(app.IsReady()) << "no OpenGL device under SDL_VIDEODRIVER=offscreen";
  RenderDevice* device = app.GetGraphicsDevice()->GetDevice();
  app.Update();
  app.Draw();
  std::vector<std::uint8_t> pixels;
  int width = 0, height = 0;
  ASSERT_TRUE(device->ReadBackBuffer(pixels, width, height));
  ASSERT_EQ(std::make_pair(width, height), std::make_pair(640, 480));

  // Where the text may stand: its measured extent at (250, 150), in the title's font.
  FontDesc desc;
  desc.height = 30;
  desc.weight = 300;
  const FontId font = device->CreateFont(desc);
  int textWidth = 0, textHeight = 0;
  ASSERT_TRUE(device->MeasureText(font, "Press Z key", textWidth, textHeight));
  device->ReleaseFont(font);
  const int left = 250, top = 150, right = left + textWidth, bottom = top + textHeight;

  int white = 0, inkLeft = width, inkRight = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
      const int r = p[0], g = p[1], b = p[2];
      if (x < left || x >= right || y < top || y >= bottom) {
        ASSERT_TRUE(r == 0 && g == 0 && b == 64)
            << x << ", " << y << ": " << r << "," << g << "," << b;
        continue;
      }
      // White over dark blue: grey levels between the two, never another colour.
      ASSERT_TRUE(r == g && b >= r && b >= 64) << x << ", " << y << ": " << r << "," << b;
      if (r == 0) continue;
      white += r == 255 && b == 255;
      inkLeft = std::min(inkLeft, x);
      inkRight = std::max(inkRight, x);
    }
  }
  EXPECT_GT(white, 100) << "too few white pixels for the text";
  EXPECT_LE(inkLeft, left + 4);    // the P starts at the left edge
  EXPECT_GE(inkRight, right - 6);  // the y ends near the right edge
}

}  // namespace vorlith
