#include "platform/sdl/SdlInputDevices.h"

#include <SDL.h>

#include "platform/Window.h"

namespace vorlith {

SdlInputDevices::SdlInputDevices(const Window* window) : window(window) {}

SdlInputDevices::~SdlInputDevices() = default;

bool SdlInputDevices::ReadKeyboard(KeyboardState& state) {
  state = KeyboardState{};
  if (!window || !window->HasInputFocus()) return false;
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  if (!keys) return false;
  const int n = count < KeyboardState::kKeyCount ? count : KeyboardState::kKeyCount;
  for (int code = 0; code < n; ++code) state.held[code] = keys[code] != 0;
  return true;
}

bool SdlInputDevices::ReadController(int index, ControllerState& state) {
  state = ControllerState{};
  if (!window || !window->HasInputFocus()) return false;
  return controllers.Read(index, state);
}

}  // namespace vorlith
