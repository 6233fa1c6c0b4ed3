#include "platform/sdl/SdlInputDevices.h"

#include <SDL.h>

#include <algorithm>

#include "platform/Window.h"

namespace vorlith {

SdlInputDevices::SdlInputDevices(const Window* window) : window(window) {
  if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return;
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    Controller controller;
    if (SDL_IsGameController(i)) {
      controller.gameController = SDL_GameControllerOpen(i);
    } else {
      controller.joystick = SDL_JoystickOpen(i);
    }
    if (controller.gameController || controller.joystick) controllers.push_back(controller);
  }
}

SdlInputDevices::~SdlInputDevices() {
  for (const Controller& controller : controllers) {
    if (controller.gameController) SDL_GameControllerClose(controller.gameController);
    if (controller.joystick) SDL_JoystickClose(controller.joystick);
  }
}

int SdlInputDevices::ScaleAxis(int sdlValue) {
  const int scaled = sdlValue * 1000 / 32767;
  return std::clamp(scaled, -1000, 1000);
}

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
  return true;
}

bool SdlInputDevices::ReadController(int index, ControllerState& state) {
  state = ControllerState{};
  if (index < 0 || index >= GetControllerCount()) return false;
  if (!window || !window->HasInputFocus()) return false;
  const Controller& controller = controllers[index];
  if (SDL_GameController* pad = controller.gameController) {
    if (!SDL_GameControllerGetAttached(pad)) return false;
    state.axisX = ScaleAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
    state.axisY = ScaleAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
    static constexpr SDL_GameControllerButton kButtons[4] = {
        SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X,
        SDL_CONTROLLER_BUTTON_Y};
    for (int i = 0; i < 4; ++i) state.buttons[i] = SDL_GameControllerGetButton(pad, kButtons[i]);
    return true;
  }
  SDL_Joystick* stick = controller.joystick;
  if (!SDL_JoystickGetAttached(stick)) return false;
  if (SDL_JoystickNumAxes(stick) > 0) state.axisX = ScaleAxis(SDL_JoystickGetAxis(stick, 0));
  if (SDL_JoystickNumAxes(stick) > 1) state.axisY = ScaleAxis(SDL_JoystickGetAxis(stick, 1));
  const int buttons = std::min(4, SDL_JoystickNumButtons(stick));
  for (int i = 0; i < buttons; ++i) state.buttons[i] = SDL_JoystickGetButton(stick, i) != 0;
  return true;
}

}  // namespace vorlith
