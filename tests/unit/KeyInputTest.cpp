#include <gtest/gtest.h>

#include <vector>

#include "input/KeyInput.h"
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

TEST(KeyInputTest, KeyboardMapsArrowsButtonsAndSecondPadAndClearsWhenReleased) {
  ScriptedDevices devices;
  devices.keys.up = devices.keys.down = true;  // both held: up wins the stick
  devices.keys.right = devices.keys.z = devices.keys.v = devices.keys.s = true;
  KeyInput input(&devices);
  input.Update();
  const PadState& pad = *input.GetPad(0);
  EXPECT_EQ(std::vector<int>({pad.up, pad.down, pad.left, pad.right}),
            std::vector<int>({1, 1, 0, 1}));
  EXPECT_EQ(std::vector<int>(pad.buttons, pad.buttons + 5), std::vector<int>({1, 0, 0, 1, 0}));
  EXPECT_FLOAT_EQ(pad.stickY, -1.0f);
  EXPECT_FLOAT_EQ(pad.stickX, 1.0f);
  EXPECT_EQ(pad.left2, 1);
  EXPECT_FLOAT_EQ(pad.stick2X, -1.0f);

  devices.keys = KeyboardState{};
  input.Update();
  EXPECT_EQ(pad.buttons[0], 0);
  EXPECT_FLOAT_EQ(pad.stickY, 0.0f);
  devices.keys.z = true;
  devices.keyboardReadable = false;  // the window in the background
  input.Update();
  EXPECT_EQ(pad.buttons[0], 0);
}

TEST(KeyInputTest, AxisScalingAtItsBreakPoints) {
  const std::pair<int, float> points[] = {{-1000, -1.0f},      {-800, -1.0f},       {-500, -0.5f},
                                          {-201, -1.0f / 600}, {-200, 0.0f},        {200, 0.0f},
                                          {500, 0.5f},         {799, 599.0f / 600}, {1000, 1.0f}};
  for (const auto& [value, scaled] : points) {
    EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(value), scaled) << value;
  }
}

TEST(KeyInputTest, ControllersAddToTheKeyboardUnlessUnreadable) {
  ScriptedDevices devices;
  devices.keys.left = true;
  ControllerState stick;
  stick.axisX = 1000;  // fully right against the held Left key
  stick.axisY = -500;
  stick.buttons[2] = true;
  ControllerState threshold;
  threshold.axisY = 200;  // exactly at the dead zone: no direction
  ControllerState unreadable;
  unreadable.axisY = 1000;
  unreadable.buttons[0] = true;
  devices.controllers = {stick, threshold, unreadable};
  devices.controllerReadable = {true, true, false};
  KeyInput input(&devices);
  input.Update();
  const PadState& pad = *input.GetPad(0);
  EXPECT_EQ(std::vector<int>({pad.up, pad.down, pad.left, pad.right}),
            std::vector<int>({1, 0, 1, 1}));
  EXPECT_EQ(std::vector<int>(pad.buttons, pad.buttons + 4), std::vector<int>({0, 0, 1, 0}));
  EXPECT_FLOAT_EQ(pad.stickX, 0.0f);
  EXPECT_FLOAT_EQ(pad.stickY, -0.5f);
  for (int i = 1; i < KeyInput::kPadCount; ++i) {  // only pad 0 is filled
    EXPECT_EQ(input.GetPad(i)->buttons[2], 0);
    EXPECT_EQ(input.GetPad(i)->stickX, 0.0f);
  }
  EXPECT_EQ(input.GetPad(KeyInput::kPadCount), nullptr);
  EXPECT_EQ(input.GetPad(-1), nullptr);
  KeyInput none(nullptr);  // no devices reads released
  none.Update();
  EXPECT_EQ(none.GetPad(0)->up, 0);
}

}  // namespace
}  // namespace vorlith
