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
  auto held = [keys, count](SDL_Scancode code) { return code < count && keys[code] != 0; };
  state.up = held(SDL_SCANCODE_UP);
  state.down = held(SDL_SCANCODE_DOWN);
  state.left = held(SDL_SCANCODE_LEFT);
  state.right = held(SDL_SCANCODE_RIGHT);
  state.z = held(SDL_SCANCODE_Z);
  state.x = held(SDL_SCANCODE_X);
  state.c = held(SDL_SCANCODE_C);
  state.v = held(SDL_SCANCODE_V);
  state.e = held(SDL_SCANCODE_E);
  state.d = held(SDL_SCANCODE_D);
  state.s = held(SDL_SCANCODE_S);
  state.f = held(SDL_SCANCODE_F);
  state.h = held(SDL_SCANCODE_H);
  return true;
}

bool SdlInputDevices::ReadController(int index, ControllerState& state) {
  state = ControllerState{};
  if (!window || !window->HasInputFocus()) return false;
  return controllers.Read(index, state);
}

}  // namespace vorlith
