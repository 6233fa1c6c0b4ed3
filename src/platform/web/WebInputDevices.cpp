#include "platform/web/WebInputDevices.h"

#include "platform/web/WebWindow.h"

namespace vorlith {

bool WebInputDevices::ReadKeyboard(KeyboardState& state) {
  state = KeyboardState{};
  if (!window->HasInputFocus()) return false;
  state.up = window->IsKeyHeld("ArrowUp");
  state.down = window->IsKeyHeld("ArrowDown");
  state.left = window->IsKeyHeld("ArrowLeft");
  state.right = window->IsKeyHeld("ArrowRight");
  state.z = window->IsKeyHeld("KeyZ");
  state.x = window->IsKeyHeld("KeyX");
  state.c = window->IsKeyHeld("KeyC");
  state.v = window->IsKeyHeld("KeyV");
  state.e = window->IsKeyHeld("KeyE");
  state.d = window->IsKeyHeld("KeyD");
  state.s = window->IsKeyHeld("KeyS");
  state.f = window->IsKeyHeld("KeyF");
  state.h = window->IsKeyHeld("KeyH");
  return true;
}

int WebInputDevices::GetControllerCount() const {
  return window->GetGamepads().GetCount();
}

bool WebInputDevices::ReadController(int index, ControllerState& state) {
  state = ControllerState{};
  if (!window->HasInputFocus()) return false;
  return window->GetGamepads().Read(index, state);
}

}  // namespace vorlith
