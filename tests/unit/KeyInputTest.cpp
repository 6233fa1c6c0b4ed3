#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "input/KeyInput.h"
#include "platform/InputDevices.h"
#include "replay/ReplayFormat.h"

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

// Pad 0's directions and buttons 0 to 3 as the letters UDLRZXCV ("-" for none).
std::string Held(KeyInput& input) {
  return ControlsToText(ControlsFromPad(*input.GetPad(0)));
}

TEST(KeyInputTest, KeyboardMapsArrowsButtonsAndSecondPadAndClearsWhenReleased) {
  ScriptedDevices devices;
  devices.keys.up = devices.keys.down = true;  // both held: up wins the stick
  devices.keys.right = devices.keys.z = devices.keys.v = devices.keys.s = true;
  KeyInput input(&devices);
  input.Update();
  const PadState& pad = *input.GetPad(0);
  EXPECT_EQ(Held(input), "UDRZV");
  EXPECT_EQ(pad.buttons[4], 0);
  EXPECT_FLOAT_EQ(pad.stickY, -1.0f);
  EXPECT_FLOAT_EQ(pad.stickX, 1.0f);
  EXPECT_EQ(pad.left2, 1);
  EXPECT_FLOAT_EQ(pad.stick2X, -1.0f);
  devices.keys = KeyboardState{};
  devices.keys.d = devices.keys.f = true;  // the second pad's down and right alone
  input.Update();
  EXPECT_EQ(std::tuple(pad.up2, pad.down2, pad.left2, pad.right2, pad.stick2X, pad.stick2Y),
            std::tuple(0, 1, 0, 1, 1.0f, 1.0f));

  devices.keys = KeyboardState{};
  input.Update();
  EXPECT_EQ(Held(input), "-");
  EXPECT_FLOAT_EQ(pad.stickY, 0.0f);
  devices.keys.z = true;
  devices.keyboardReadable = false;  // the window in the background
  input.Update();
  EXPECT_EQ(Held(input), "-");
}

// A replayed frame must play exactly as the live keys it was recorded from: every field of
// the pad, sticks included, for each of the 256 control bytes.
TEST(KeyInputTest, AReplayedFrameGivesThePadItsKeysGiveLive) {
  ScriptedDevices devices;
  KeyInput input(&devices);
  for (int byte = 0; byte < 256; ++byte) {
    const auto controls = static_cast<ReplayControls>(byte);
    KeyboardState& keys = devices.keys;
    keys.up = controls & ControlBit('U');
    keys.down = controls & ControlBit('D');
    keys.left = controls & ControlBit('L');
    keys.right = controls & ControlBit('R');
    keys.z = controls & ControlBit('Z');
    keys.x = controls & ControlBit('X');
    keys.c = controls & ControlBit('C');
    keys.v = controls & ControlBit('V');
    const PadState live = input.ReadPad(), replayed = PadFromControls(controls);
    ASSERT_EQ(std::memcmp(&live, &replayed, sizeof live), 0) << ControlsToText(controls);
    ASSERT_EQ(ControlsFromPad(live), controls);
  }
}

TEST(KeyInputTest, StickScalingAndDirectionsAtTheirBreakPoints) {
  const std::pair<int, float> points[] = {{-1000, -1.0f},      {-800, -1.0f},       {-500, -0.5f},
                                          {-201, -1.0f / 600}, {-200, 0.0f},        {200, 0.0f},
                                          {500, 0.5f},         {799, 599.0f / 600}, {1000, 1.0f}};
  for (const auto& [value, scaled] : points) {
    EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(value), scaled) << value;
  }
  // A stick held just at the dead zone's edge gives no direction; one step further does.
  const std::pair<ControllerState, const char*> sticks[] = {
      {{-200, 200}, "-"}, {{200, -200}, "-"}, {{-201, 201}, "DL"}, {{201, -201}, "UR"}};
  for (const auto& [stick, held] : sticks) {
    ScriptedDevices devices;
    devices.controllers = {stick};
    KeyInput input(&devices);
    input.Update();
    EXPECT_EQ(Held(input), held) << stick.axisX << ", " << stick.axisY;
  }
}

TEST(KeyInputTest, ControllersAddToTheKeyboardUnlessUnreadable) {
  ScriptedDevices devices;
  devices.keys.left = true;
  ControllerState stick{1000, -500, {false, false, true, false}};  // right against held Left
  ControllerState unreadable{0, 1000, {true, false, false, false}};
  devices.controllers = {stick, unreadable};
  devices.controllerReadable = {true, false};
  KeyInput input(&devices);
  input.Update();
  const PadState& pad = *input.GetPad(0);
  EXPECT_EQ(Held(input), "ULRC");
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
  EXPECT_EQ(Held(none), "-");
}

}  // namespace
}  // namespace vorlith
