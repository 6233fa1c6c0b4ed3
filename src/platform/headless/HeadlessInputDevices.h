#pragma once

#include "platform/InputDevices.h"

namespace vorlith {

// No keyboard and no controllers: nothing is ever held.
class HeadlessInputDevices : public InputDevices {
 public:
  bool ReadKeyboard(KeyboardState& state) override {
    state = KeyboardState{};
    return false;
  }
  int GetControllerCount() const override { return 0; }
  bool ReadController(int, ControllerState&) override { return false; }
};

}  // namespace vorlith
