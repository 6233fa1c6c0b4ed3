#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "graphics/TextFont.h"

namespace vorlith {
namespace {

using testing::RecordingDialogs;

// Measures every string as a test says.
class FixedExtentDevice : public HeadlessRenderDevice {
 public:
  FontId CreateFont(const FontDesc& desc) override {
    lastDesc = desc;
    return failFonts ? 0 : 7;
  }
  bool MeasureText(FontId, const std::string& text, int& width, int& height) override {
    measured = text;
    width = extentX;
    height = extentY;
    return true;
  }
  void DrawText(FontId font, const std::string& text, int x, int y, std::uint32_t argb) override {
    drawn.push_back({font, text, x, y, argb, GetViewport()});
  }
  void ReleaseFont(FontId font) override { released.push_back(font); }

  bool failFonts = false;
  int extentX = 0, extentY = 0;
  FontDesc lastDesc;
  std::string measured;
  std::vector<TextCall> drawn;
  std::vector<FontId> released;
};

class TextFontTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDialogs(&dialogs); }
  void TearDown() override { SetDialogs(nullptr); }
  RecordingDialogs dialogs;
  FixedExtentDevice device;
};

TEST_F(TextFontTest, CentredTextIsPlacedByItsMeasuredExtent) {
  TextFont font;
  font.Create(&device, 18, 0, 300, "HGP創英角ﾎﾟｯﾌﾟ体");
  EXPECT_EQ(device.lastDesc.height, 18);
  EXPECT_EQ(device.lastDesc.weight, 300u);
  EXPECT_EQ(device.lastDesc.faceName, "HGP創英角ﾎﾟｯﾌﾟ体");
  device.extentX = 101, device.extentY = 17;
  font.DrawText("Game Over", 200, 100, 0xFFFF0000, Center);
  device.extentX = -7, device.extentY = -3;  // halves round toward zero
  font.DrawText("x", 0, 0, 0xFFFFFFFF, Center);
  font.DrawText("left", 5, 6, 0xFF00FF00, TopLeft);
  ASSERT_EQ(device.drawn.size(), 3u);
  EXPECT_EQ(device.measured, "x");
  EXPECT_EQ(device.drawn[0].x, 150);
  EXPECT_EQ(device.drawn[0].y, 92);
  EXPECT_EQ(device.drawn[0].argb, 0xFFFF0000u);
  EXPECT_EQ(device.drawn[1].x, 3);
  EXPECT_EQ(device.drawn[1].y, 1);
  EXPECT_EQ(device.drawn[2].x, 5);
  EXPECT_EQ(device.drawn[2].y, 6);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(TextFontTest, AFontThatCannotBeMadeSaysSoAndDrawsNothing) {
  device.failFonts = true;
  TextFont font;
  font.Create(&device, 12);
  EXPECT_FALSE(font.IsCreated());
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].first, "ok");
  EXPECT_EQ(dialogs.shown[0].second, "D3DXCreateFont FALSE");
  font.DrawText("nothing", 1, 2, 0xFFFFFFFF, Center);
  EXPECT_TRUE(device.drawn.empty());
}

TEST_F(TextFontTest, TheDeviceFontIsReleasedOnceWithItsOwner) {
  {
    TextFont font;
    font.Create(&device, 12);
    font.Create(&device, 30);  // a second Create lets go of the first font
    EXPECT_EQ(device.released.size(), 1u);
  }
  EXPECT_EQ(device.released.size(), 2u);
}

}  // namespace
}  // namespace vorlith
