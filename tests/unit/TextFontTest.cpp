#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "graphics/TextFont.h"

namespace vorlith {
namespace {

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
    EXPECT_EQ(centred.argb, 0xFFFF0000u);
    EXPECT_EQ(std::make_pair(device.texts[1].x, device.texts[1].y), std::make_pair(5, 6));
    EXPECT_TRUE(dialogs.shown.empty());
  }
  EXPECT_TRUE(device.fonts.empty());
  TextFont font;
  font.Create(&device, dialogs, 0);
  EXPECT_FALSE(font.IsCreated());
  EXPECT_EQ(dialogs.shown, (Shown{{"ok", "D3DXCreateFont FALSE"}}));
}

}  // namespace
}  // namespace vorlith
