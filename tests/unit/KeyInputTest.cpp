#include "input/KeyInput.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/InputDevices.h"

namespace vorlith {
namespace {

class ScriptedDevices : public InputDevices {
 public:
  bool keyboardReadable = true;
  KeyboardState keys;
  std::vector<ControllerState> controllers;
  std::vector<bool> controllerReadable;

  bool ReadKeyboard(KeyboardState& state) override {
    state = keys;
    return keyboardReadable;
  }
  int GetControllerCount() const override { return static_cast<int>(controllers.size()); }
  bool ReadController(int index, ControllerState& state) override {
    state = controllers[index];
    return controllerReadable.empty() || controllerReadable[index];
  }
};

TEST(KeyInputTest, KeyboardMapsArrowsButtonsAndSecondPad) {
  ScriptedDevices devices;
  devices.keys.up = devices.keys.down = true;  // both held: up wins the stick
  devices.keys.right = true;
  devices.keys.z = devices.keys.v = true;
  devices.keys.s = true;
  KeyInput input(&devices);
  input.Update();
  const PadState& pad = *input.GetPad(0);
  EXPECT_EQ(pad.up, 1);
  EXPECT_EQ(pad.down, 1);
  EXPECT_EQ(pad.left, 0);
  EXPECT_EQ(pad.right, 1);
  EXPECT_FLOAT_EQ(pad.stickY, -1.0f);
  EXPECT_FLOAT_EQ(pad.stickX, 1.0f);
  EXPECT_EQ(pad.buttons[0], 1);
  EXPECT_EQ(pad.buttons[1], 0);
  EXPECT_EQ(pad.buttons[3], 1);
  EXPECT_EQ(pad.left2, 1);
  EXPECT_FLOAT_EQ(pad.stick2X, -1.0f);
}

TEST(KeyInputTest, ReleasedKeysClearInTheNextUpdate) {
  ScriptedDevices devices;
  devices.keys.z = true;
  KeyInput input(&devices);
  input.Update();
  EXPECT_EQ(input.GetPad(0)->buttons[0], 1);
  devices.keys.z = false;
  input.Update();
  EXPECT_EQ(input.GetPad(0)->buttons[0], 0);
  devices.keys.z = true;
  devices.keyboardReadable = false;  // window in the background
  input.Update();
  EXPECT_EQ(input.GetPad(0)->buttons[0], 0);
}

TEST(KeyInputTest, AxisScalingAtItsBreakPoints) {
  EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(-1000), -1.0f);
  EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(-800), -1.0f);
  EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(-500), -0.5f);
  EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(-201), -1.0f / 600.0f);
  EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(-200), 0.0f);
  EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(200), 0.0f);
  EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(500), 0.5f);
  EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(799), 599.0f / 600.0f);
  EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(1000), 1.0f);
}

TEST(KeyInputTest, ControllersAddToTheKeyboard) {
  ScriptedDevices devices;
  devices.keys.left = true;
  ControllerState stick;
  stick.axisX = 1000;  // fully right against the held Left key
  stick.axisY = -500;
  stick.buttons[2] = true;
  ControllerState threshold;
  threshold.axisY = -200;  // exactly at the dead zone: no direction
  devices.controllers = {stick, threshold};
  KeyInput input(&devices);
  input.Update();
  const PadState& pad = *input.GetPad(0);
  EXPECT_EQ(pad.left, 1);
  EXPECT_EQ(pad.right, 1);
  EXPECT_FLOAT_EQ(pad.stickX, 0.0f);
  EXPECT_EQ(pad.up, 1);
  EXPECT_FLOAT_EQ(pad.stickY, -0.5f);
  EXPECT_EQ(pad.buttons[2], 1);
}

TEST(KeyInputTest, UnreadableControllerIsSkippedAndOtherPadsStayZero) {
  ScriptedDevices devices;
  ControllerState pushed;
  pushed.axisX = 1000;
  pushed.buttons[0] = true;
  devices.controllers = {pushed};
  devices.controllerReadable = {false};
  KeyInput input(&devices);
  input.Update();
  EXPECT_EQ(input.GetPad(0)->right, 0);
  EXPECT_EQ(input.GetPad(0)->buttons[0], 0);
  for (int i = 1; i < KeyInput::kPadCount; ++i) {
    EXPECT_EQ(input.GetPad(i)->buttons[0], 0);
    EXPECT_EQ(input.GetPad(i)->stickX, 0.0f);
  }
  EXPECT_EQ(input.GetPad(16), nullptr);
  EXPECT_EQ(input.GetPad(-1), nullptr);
}

TEST(KeyInputTest, NoDevicesReadsReleased) {
  KeyInput input(nullptr);
  input.Update();
  EXPECT_EQ(input.GetPad(0)->up, 0);
}

}  // namespace
}  // namespace vorlith
