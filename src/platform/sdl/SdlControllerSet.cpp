#include "platform/sdl/SdlControllerSet.h"

#include <SDL.h>

#include <algorithm>

#include "platform/sdl/SdlControllerMappings.h"

namespace vorlith {
namespace {

void ReadGameController(SDL_GameController* pad, ControllerState& state) {
  state.axisX =
      SdlControllerSet::ScaleAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
  state.axisY =
      SdlControllerSet::ScaleAxis(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
  static_assert(SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1 == ControllerState::kButtonCount);
  for (int i = 0; i < ControllerState::kButtonCount; ++i) {
    state.buttons[i] = SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(i));
  }
}

// Without a mapping: axes 0 and 1, raw buttons 0 to 3.
void ReadJoystick(SDL_Joystick* stick, ControllerState& state) {
  if (SDL_JoystickNumAxes(stick) > 0) {
    state.axisX = SdlControllerSet::ScaleAxis(SDL_JoystickGetAxis(stick, 0));
  }
  if (SDL_JoystickNumAxes(stick) > 1) {
    state.axisY = SdlControllerSet::ScaleAxis(SDL_JoystickGetAxis(stick, 1));
  }
  const int buttons = std::min(4, SDL_JoystickNumButtons(stick));
  for (int i = 0; i < buttons; ++i) state.buttons[i] = SDL_JoystickGetButton(stick, i) != 0;
}

}  // namespace

SdlControllerSet::SdlControllerSet() {
  active = SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0;
  if (!active) return;
  SdlControllerMappings::LoadAll();
  SDL_AddEventWatch(&SdlControllerSet::WatchDevices, this);
}

SdlControllerSet::~SdlControllerSet() {
  if (!active) return;
  SDL_DelEventWatch(&SdlControllerSet::WatchDevices, this);
  for (const Controller& controller : controllers) {
    if (controller.gameController) SDL_GameControllerClose(controller.gameController);
    if (controller.joystick) SDL_JoystickClose(controller.joystick);
  }
}

int SdlControllerSet::WatchDevices(void* self, SDL_Event* event) {
  switch (event->type) {
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
      static_cast<SdlControllerSet*>(self)->changed = true;
      break;
    default:
      break;
  }
  return 0;
}

int SdlControllerSet::ScaleAxis(int sdlValue) {
  const int scaled = sdlValue * 1000 / 32767;
  return std::clamp(scaled, -1000, 1000);
}

void SdlControllerSet::Refresh() {
  if (!active || !changed.exchange(false)) return;
  CloseRemoved();
  OpenAdded();
}

void SdlControllerSet::CloseRemoved() {
  auto gone = [](const Controller& controller) {
    if (controller.gameController) {
      if (SDL_GameControllerGetAttached(controller.gameController)) return false;
      SDL_GameControllerClose(controller.gameController);
      return true;
    }
    if (SDL_JoystickGetAttached(controller.joystick)) return false;
    SDL_JoystickClose(controller.joystick);
    return true;
  };
  controllers.erase(std::remove_if(controllers.begin(), controllers.end(), gone),
                    controllers.end());
}

void SdlControllerSet::OpenAdded() {
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    const int instance = SDL_JoystickGetDeviceInstanceID(i);
    if (instance < 0 || IsOpen(instance)) continue;
    Controller controller;
    controller.instance = instance;
    if (SDL_IsGameController(i)) {
      controller.gameController = SDL_GameControllerOpen(i);
    } else {
      controller.joystick = SDL_JoystickOpen(i);
    }
    if (controller.gameController || controller.joystick) controllers.push_back(controller);
  }
}

bool SdlControllerSet::IsOpen(int instance) const {
  return std::any_of(controllers.begin(), controllers.end(),
                     [instance](const Controller& c) { return c.instance == instance; });
}

bool SdlControllerSet::Read(int index, ControllerState& state) const {
  state = ControllerState{};
  if (index < 0 || index >= GetCount()) return false;
  const Controller& controller = controllers[index];
  if (SDL_GameController* pad = controller.gameController) {
    if (!SDL_GameControllerGetAttached(pad)) return false;
    ReadGameController(pad, state);
    return true;
  }
  if (!SDL_JoystickGetAttached(controller.joystick)) return false;
  ReadJoystick(controller.joystick, state);
  return true;
}

}  // namespace vorlith
