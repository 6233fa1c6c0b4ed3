#include <gtest/gtest.h>

#include <cstring>

#include "TestPlatform.h"
#include "input/KeyInput.h"
#include "input/KeyNames.h"
#include "replay/ReplayFormat.h"

namespace vorlith {
namespace {

// Key positions as KeyboardState numbers them.
constexpr int kUp = 82, kDown = 81, kLeft = 80, kRight = 79, kZ = 29, kX = 27, kC = 6, kV = 25;
constexpr int kD = 7, kF = 9, kS = 22;

// Pad 0's directions and buttons 0 to 3 as the letters UDLRZXCV ("-" for none).
std::string Held(KeyInput& input) {
  return ControlsToText(ControlsFromPad(*input.GetPad(0)));
}

TEST(KeyInputTest, KeyboardMapsArrowsButtonsAndSecondPadAndClearsWhenReleased) {
  testing::HeldKeys devices;
  for (int key : {kUp, kDown, kRight, kZ, kV, kS}) devices.keys.held[key] = true;  // up wins
  KeyInput input(&devices);
  input.Update();
  const PadState& pad = *input.GetPad(0);
  EXPECT_EQ(std::tuple(Held(input), pad.buttons[4], pad.stickX, pad.stickY, pad.left2, pad.stick2X),
            std::tuple("UDRZV", 0, 1.0f, -1.0f, 1, -1.0f));
  devices.keys = KeyboardState{};
  devices.keys.held[kD] = devices.keys.held[kF] = true;  // the second pad's down and right
  input.Update();
  EXPECT_EQ(std::tuple(pad.up2, pad.down2, pad.left2, pad.right2, pad.stick2X, pad.stick2Y),
            std::tuple(0, 1, 0, 1, 1.0f, 1.0f));

  devices.keys = KeyboardState{};
  input.Update();
  EXPECT_EQ(std::tuple(Held(input), pad.stickY), std::tuple("-", 0.0f));
  devices.keys.held[kZ] = true;
  devices.keyboardReadable = false;  // the window in the background
  input.Update();
  EXPECT_EQ(Held(input), "-");
}

// A replayed frame must play exactly as the live keys it was recorded from: every field of
// the pad, sticks included, for each of the 256 control bytes.
TEST(KeyInputTest, AReplayedFrameGivesThePadItsKeysGiveLive) {
  testing::HeldKeys devices;
  KeyInput input(&devices);
  for (int byte = 0; byte < 256; ++byte) {
    const auto controls = static_cast<ReplayControls>(byte);
    KeyboardState& keys = devices.keys;
    const std::pair<char, int> letters[] = {{'U', kUp}, {'D', kDown}, {'L', kLeft}, {'R', kRight},
                                            {'Z', kZ},  {'X', kX},    {'C', kC},    {'V', kV}};
    for (const auto& [letter, key] : letters) keys.held[key] = controls & ControlBit(letter);
    const PadState live = input.ReadPad(), replayed = PadFromControls(controls);
    ASSERT_EQ(std::memcmp(&live, &replayed, sizeof live), 0) << ControlsToText(controls);
    ASSERT_EQ(ControlsFromPad(live), controls);
  }
}

TEST(KeyInputTest, StickScalingAndDirectionsAtTheirBreakPointsAndControllersAddToKeys) {
  const std::pair<int, float> points[] = {{-1000, -1.0f},      {-800, -1.0f},       {-500, -0.5f},
                                          {-201, -1.0f / 600}, {-200, 0.0f},        {200, 0.0f},
                                          {500, 0.5f},         {799, 599.0f / 600}, {1000, 1.0f}};
  for (const auto& [value, scaled] : points)
    EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(value), scaled) << value;
  // A stick held just at the dead zone's edge gives no direction; one step further does.
  const std::pair<ControllerState, const char*> sticks[] = {
      {{-200, 200}, "-"}, {{200, -200}, "-"}, {{-201, 201}, "DL"}, {{201, -201}, "UR"}};
  for (const auto& [stick, held] : sticks) {
    testing::HeldKeys devices;
    devices.controllers = {stick};
    KeyInput input(&devices);
    input.Update();
    EXPECT_EQ(Held(input), held) << stick.axisX << ", " << stick.axisY;
  }
  // Controllers add to the keyboard unless unreadable.
  testing::HeldKeys devices;
  devices.keys.held[kLeft] = true;
  ControllerState stick{1000, -500, {false, false, true, false}};  // right against held Left
  ControllerState unreadable{0, 1000, {true, false, false, false}};
  devices.controllers = {stick, unreadable};
  devices.controllerReadable = {true, false};
  KeyInput input(&devices);
  input.Update();
  const PadState& pad = *input.GetPad(0);
  EXPECT_EQ(std::tuple(Held(input), pad.stickX, pad.stickY), std::tuple("ULRC", 0.0f, -0.5f));
  for (int i = 1; i < KeyInput::kPadCount; ++i)  // only pad 0 is filled
    EXPECT_EQ(std::tuple(input.GetPad(i)->buttons[2], input.GetPad(i)->stickX),
              std::tuple(0, 0.0f));
  EXPECT_EQ(std::tuple(input.GetPad(KeyInput::kPadCount), input.GetPad(-1)),
            std::tuple(nullptr, nullptr));
  KeyInput none(nullptr);  // no devices reads released
  none.Update();
  EXPECT_EQ(Held(none), "-");
}

// Rebound keys and buttons replace the defaults: W and Space move up and fire, Z and the
// D-pad do nothing; a second key for an action works as its first.
TEST(KeyInputTest, TheBindingsDecideWhichKeysAndButtonsGiveEachAction) {
  constexpr int kW = 26, kSpace = 44, kBack = 4, kDpadUp = 11, kStart = 6;
  testing::HeldKeys devices;
  KeyInput input(&devices);
  Bindings bindings;
  bindings.keys[Bindings::kUp] = {kW, KeyNames::kNoKey};
  bindings.keys[Bindings::kFire] = {kSpace, kX};
  bindings.keys[Bindings::kX] = {kZ, KeyNames::kNoKey};
  bindings.buttons[Bindings::kReturn] = {kStart, kBack};
  bindings.buttons[Bindings::kUp] = {KeyNames::kNoButton, KeyNames::kNoButton};
  input.SetBindings(bindings);
  for (int key : {kW, kUp, kSpace}) devices.keys.held[key] = true;
  input.Update();
  EXPECT_EQ(std::tuple(Held(input), input.GetPad(0)->stickY), std::tuple("UZ", -1.0f));
  devices.keys = KeyboardState{};
  devices.keys.held[kX] = devices.keys.held[kZ] = true;  // fire's second key, and x's
  ControllerState pad;
  pad.buttons[kBack] = pad.buttons[kDpadUp] = true;
  devices.controllers = {pad};
  input.Update();
  EXPECT_EQ(Held(input), "ZXV");
}

}  // namespace
}  // namespace vorlith
