#include <gtest/gtest.h>

#include "platform/headless/HeadlessWindow.h"
#include "platform/sdl/SdlInputDevices.h"

namespace vorlith {
namespace {

TEST(SdlInputDevicesTest, AxesAreScaledToPlusMinusAThousand) {
  EXPECT_EQ(SdlInputDevices::ScaleAxis(-32768), -1000);
  EXPECT_EQ(SdlInputDevices::ScaleAxis(32767), 1000);
  EXPECT_EQ(SdlInputDevices::ScaleAxis(0), 0);
  EXPECT_EQ(SdlInputDevices::ScaleAxis(16384), 500);
  EXPECT_EQ(SdlInputDevices::ScaleAxis(-6554), -200);
}

TEST(SdlInputDevicesTest, NothingIsReadWithoutFocus) {
  HeadlessWindow window;
  window.SetFocused(false);
  SdlInputDevices devices(&window);
  KeyboardState keys;
  keys.z = true;
  EXPECT_FALSE(devices.ReadKeyboard(keys));
  EXPECT_FALSE(keys.z);
  ControllerState pad;
  EXPECT_FALSE(devices.ReadController(0, pad));
}

}  // namespace
}  // namespace vorlith
