#pragma once

#include "platform/InputDevices.h"

namespace vorlith {

class WebWindow;

// The keyboard as the page's canvas gets it and the browser's game controllers; neither is
// read while the canvas is in the background.
class WebInputDevices : public InputDevices {
 public:
  explicit WebInputDevices(const WebWindow* window) : window(window) {}  // borrowed

  bool ReadKeyboard(KeyboardState& state) override;
  int GetControllerCount() const override;
  bool ReadController(int index, ControllerState& state) override;

 private:
  const WebWindow* window;
};

}  // namespace vorlith
