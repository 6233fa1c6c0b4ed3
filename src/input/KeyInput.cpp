#include "input/KeyInput.h"

#include "platform/InputDevices.h"

namespace vorlith {
namespace {

// The second direction pad's keys: E, D, S, F.
constexpr int kKeyE = 8, kKeyD = 7, kKeyS = 22, kKeyF = 9;
// The high score table's key and controller button (H, the right shoulder), while no action
// has them.
constexpr int kTableKey = 11;
constexpr int kTableControllerButton = 10;

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
  auto held = [&keys](const Bindings::Pair& codes) {
    for (int code : codes) {
      if (code > 0 && code < KeyboardState::kKeyCount && keys.held[code]) return 1;
    }
    return 0;
  };
  PadState& pad = pads[0];
  pad.up |= held(bindings.keys[Bindings::kUp]);
  pad.down |= held(bindings.keys[Bindings::kDown]);
  pad.left |= held(bindings.keys[Bindings::kLeft]);
  pad.right |= held(bindings.keys[Bindings::kRight]);
  for (int i = 0; i < 4; ++i) pad.buttons[i] |= held(bindings.keys[Bindings::kFire + i]);
  if (bindings.ActionOfKey(kTableKey, -1) < 0) pad.buttons[kTableButton] |= keys.held[kTableKey];
  pad.stickY += Direction(pad.up, pad.down);
  pad.stickX += Direction(pad.left, pad.right);
  pad.up2 |= keys.held[kKeyE];
  pad.down2 |= keys.held[kKeyD];
  pad.left2 |= keys.held[kKeyS];
  pad.right2 |= keys.held[kKeyF];
  pad.stick2Y += Direction(pad.up2, pad.down2);
  pad.stick2X += Direction(pad.left2, pad.right2);
}

void KeyInput::AddController(const ControllerState& controller) {
  auto held = [&controller](const Bindings::Pair& buttons) {
    for (int button : buttons) {
      if (button >= 0 && button < ControllerState::kButtonCount && controller.buttons[button]) {
        return true;
      }
    }
    return false;
  };
  PadState& pad = pads[0];
  pad.up |= controller.axisY < -kDeadZone || held(bindings.buttons[Bindings::kUp]);
  pad.down |= controller.axisY > kDeadZone || held(bindings.buttons[Bindings::kDown]);
  pad.left |= controller.axisX < -kDeadZone || held(bindings.buttons[Bindings::kLeft]);
  pad.right |= controller.axisX > kDeadZone || held(bindings.buttons[Bindings::kRight]);
  for (int i = 0; i < 4; ++i) pad.buttons[i] |= held(bindings.buttons[Bindings::kFire + i]);
  if (bindings.ActionOfButton(kTableControllerButton, -1) < 0) {
    pad.buttons[kTableButton] |= controller.buttons[kTableControllerButton];
  }
  pad.stickY += ScaleAxis(controller.axisY);
  pad.stickX += ScaleAxis(controller.axisX);
}

}  // namespace vorlith
