#pragma once

#include <vector>

#include "platform/InputDevices.h"

struct _SDL_GameController;
struct _SDL_Joystick;

namespace vorlith {

class Window;

// The keyboard through SDL's key state, and the game controllers attached when the object
// is made: SDL game controllers with their A, B, X, Y buttons and left stick, or plain
// joysticks without a mapping with their raw buttons 0 to 3 and axes 0 and 1. Nothing is
// read while the window is not in front: then every control reads released.
class SdlInputDevices : public InputDevices {
 public:
  explicit SdlInputDevices(const Window* window);
  ~SdlInputDevices() override;
  SdlInputDevices(const SdlInputDevices&) = delete;
  SdlInputDevices& operator=(const SdlInputDevices&) = delete;

  bool ReadKeyboard(KeyboardState& state) override;
  int GetControllerCount() const override { return static_cast<int>(controllers.size()); }
  bool ReadController(int index, ControllerState& state) override;

  // An SDL axis value (-32768..32767) on the -1000..1000 scale.
  static int ScaleAxis(int sdlValue);

 private:
  struct Controller {
    _SDL_GameController* gameController = nullptr;
    _SDL_Joystick* joystick = nullptr;  // only for devices without a mapping
  };

  const Window* window;
  std::vector<Controller> controllers;
};

}  // namespace vorlith
