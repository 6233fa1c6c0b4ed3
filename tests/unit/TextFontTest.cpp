#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "graphics/TextFont.h"

namespace vorlith {
namespace {

class TextFontTest : public ::testing::Test {
 protected:
  testing::RecordingDialogs dialogs;
  FakeRenderDevice device;  // measures with the real font rasterizer
};

TEST_F(TextFontTest, DrawsAtTheTopLeftOrCentredByTheMeasuredExtent) {
  TextFont font;
  font.Create(&device, dialogs, 18, 0, 300, "HGP創英角ﾎﾟｯﾌﾟ体");
  font.DrawText("Game Over", 200, 100, 0xFFFF0000, Center);
  font.DrawText("left", 5, 6, 0xFF00FF00, TopLeft);
  ASSERT_EQ(device.GetTexts().size(), 2u);
  const auto& centred = device.GetTexts()[0];
  int width = 0, height = 0;
  ASSERT_TRUE(device.MeasureText(centred.font, "Game Over", width, height));
  EXPECT_TRUE(height >= 16 && height <= 18) << height;
  EXPECT_NEAR(centred.x + width / 2.0, 200, 0.5);
  EXPECT_NEAR(centred.y + height / 2.0, 100, 0.5);
  EXPECT_EQ(centred.argb, 0xFFFF0000u);
  EXPECT_EQ(std::make_pair(device.GetTexts()[1].x, device.GetTexts()[1].y), std::make_pair(5, 6));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(TextFontTest, AFontThatCannotBeMadeSaysSo) {
  TextFont font;
  font.Create(&device, dialogs, 0);
  EXPECT_FALSE(font.IsCreated());
  using Shown = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(dialogs.shown, (Shown{{"ok", "D3DXCreateFont FALSE"}}));
}

TEST_F(TextFontTest, TheDeviceFontIsReleasedWithItsOwnerOrASecondCreate) {
  {
    TextFont font;
    font.Create(&device, dialogs, 12);
    font.Create(&device, dialogs, 30);
    EXPECT_EQ(device.GetLiveFontCount(), 1);
  }
  EXPECT_EQ(device.GetLiveFontCount(), 0);
}

}  // namespace
}  // namespace vorlith
