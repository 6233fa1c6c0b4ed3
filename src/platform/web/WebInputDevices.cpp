#include "platform/web/WebInputDevices.h"

#include "platform/web/WebKeyCodes.h"
#include "platform/web/WebWindow.h"

namespace vorlith {

bool WebInputDevices::ReadKeyboard(KeyboardState& state) {
  state = KeyboardState{};
  if (!window->HasInputFocus()) return false;
  for (const WebKeyCode& key : WebKeyCodes()) state.held[key.usage] = window->IsKeyHeld(key.code);

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
