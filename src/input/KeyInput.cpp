#include "input/KeyInput.h"

#include "platform/InputDevices.h"

namespace vorlith {
namespace {

float Direction(bool negative, bool positive) {
  if (negative) return -1.0f;
  if (positive) return 1.0f;
  return 0.0f;
}

}  // namespace

KeyInput::KeyInput(InputDevices* devices) : devices(devices) {}

void KeyInput::Update() {
  for (PadState& pad : pads) pad = PadState{};
  if (!devices) return;
  devices->Refresh();
  KeyboardState keys;
  if (devices->ReadKeyboard(keys)) AddKeyboard(keys);
  for (int i = 0; i < devices->GetControllerCount(); ++i) {
    ControllerState controller;
    if (devices->ReadController(i, controller)) AddController(controller);
  }
}

const PadState* KeyInput::GetPad(int index) const {
  if (index < 0 || index >= kPadCount) return nullptr;
  return &pads[index];
}

PadState KeyInput::ReadPad() {
  Update();
  return pads[0];
}

float KeyInput::ScaleAxis(int value) {
  if (value <= -800) return -1.0f;
  if (value >= 800) return 1.0f;
  if (value >= -kDeadZone && value <= kDeadZone) return 0.0f;
  if (value < -kDeadZone) return static_cast<float>(value + kDeadZone) / 600.0f;
  return static_cast<float>(value - kDeadZone) / 600.0f;
}

void KeyInput::AddKeyboard(const KeyboardState& keys) {
  PadState& pad = pads[0];
  pad.up |= keys.up;
  pad.down |= keys.down;
  pad.left |= keys.left;
  pad.right |= keys.right;
  pad.buttons[0] |= keys.z;
  pad.buttons[1] |= keys.x;
  pad.buttons[2] |= keys.c;
  pad.buttons[3] |= keys.v;
  pad.buttons[kTableButton] |= keys.h;
  pad.stickY += Direction(pad.up, pad.down);
  pad.stickX += Direction(pad.left, pad.right);
  pad.up2 |= keys.e;
  pad.down2 |= keys.d;
  pad.left2 |= keys.s;
  pad.right2 |= keys.f;
  pad.stick2Y += Direction(pad.up2, pad.down2);
  pad.stick2X += Direction(pad.left2, pad.right2);
}

void KeyInput::AddController(const ControllerState& controller) {
  PadState& pad = pads[0];
  pad.up |= controller.axisY < -kDeadZone || controller.up;
  pad.down |= controller.axisY > kDeadZone || controller.down;
  pad.left |= controller.axisX < -kDeadZone || controller.left;
  pad.right |= controller.axisX > kDeadZone || controller.right;
  for (int i = 0; i < 4; ++i) pad.buttons[i] |= controller.buttons[i];
  pad.buttons[kTableButton] |= controller.back;
  pad.stickY += ScaleAxis(controller.axisY);
  pad.stickX += ScaleAxis(controller.axisX);
}

}  // namespace vorlith
