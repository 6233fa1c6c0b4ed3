#pragma once

#include "input/Bindings.h"
#include "input/PadSource.h"
#include "input/PadState.h"

namespace vorlith {

class InputDevices;
struct KeyboardState;
struct ControllerState;

// Turns the keyboard and the attached controllers into the pad-0 record the game
// reads once per frame, through the player's bindings (the actions up to return; pause is
// the window's). The devices are borrowed; with none, every pad reads released.
class KeyInput : public PadSource {
 public:
  static constexpr int kPadCount = 16;
  // Axis values within this distance of the centre count as released.
  static constexpr int kDeadZone = 200;

  explicit KeyInput(InputDevices* devices);
  KeyInput(const KeyInput&) = delete;
  KeyInput& operator=(const KeyInput&) = delete;

  // Clears every pad, lets the devices take in hot-plugged controllers, and refills pad 0
  // from the keyboard, then each controller in order.
  void Update();
  // Indices outside 0..15 give null.
  const PadState* GetPad(int index) const;
  // Update, then pad 0.
  PadState ReadPad() override;

  void SetBindings(const Bindings& bindings) { this->bindings = bindings; }
  const Bindings& GetBindings() const { return bindings; }

  // Stick contribution of one controller axis value in -1000..1000.
  static float ScaleAxis(int value);

 private:
  void AddKeyboard(const KeyboardState& keys);
  void AddController(const ControllerState& controller);

  Bindings bindings;
  PadState pads[kPadCount];
  InputDevices* devices;
};

}  // namespace vorlith
