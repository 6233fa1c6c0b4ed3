#pragma once

#include "platform/InputDevices.h"
#include "platform/sdl/SdlControllerSet.h"

namespace vorlith {

class Window;

// The keyboard through SDL's key state, and the attached game controllers (SdlControllerSet):
// SDL game controllers with their A, B, X, Y buttons, left stick and D-pad, or plain
// joysticks without a mapping with their raw buttons 0 to 3 and axes 0 and 1. Nothing is
// read while the window is not in front: then every control reads released.
class SdlInputDevices : public InputDevices {
 public:
  explicit SdlInputDevices(const Window* window);
  ~SdlInputDevices() override;
  SdlInputDevices(const SdlInputDevices&) = delete;
  SdlInputDevices& operator=(const SdlInputDevices&) = delete;

  void Refresh() override { controllers.Refresh(); }
  bool ReadKeyboard(KeyboardState& state) override;
  int GetControllerCount() const override { return controllers.GetCount(); }
  bool ReadController(int index, ControllerState& state) override;

 private:
  const Window* window;
  SdlControllerSet controllers;
};

}  // namespace vorlith
