#include "platform/web/WebGamepads.h"

#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vorlith {
namespace {

// The standard mapping's button numbers.
// The standard mapping's number of each button in ControllerState's order: A (bottom), B
// (right), X (left), Y (top), Back, Guide, Start, the sticks, the shoulders, the D-pad.
constexpr int kStandardButtons[ControllerState::kButtonCount] = {0,  1, 2, 3,  8,  16, 9, 10,
                                                                 11, 4, 5, 12, 13, 14, 15};

bool Pressed(const EmscriptenGamepadEvent& pad, int button) {
  return button < pad.numButtons && pad.digitalButton[button];
}

ControllerState Describe(const EmscriptenGamepadEvent& pad, bool standard) {
  ControllerState state;
  if (pad.numAxes > 0) state.axisX = WebGamepads::ScaleAxis(pad.axis[0]);
  if (pad.numAxes > 1) state.axisY = WebGamepads::ScaleAxis(pad.axis[1]);
  // Without the standard mapping only the first four buttons mean anything.
  const int count = standard ? ControllerState::kButtonCount : 4;
  for (int i = 0; i < count; ++i) state.buttons[i] = Pressed(pad, kStandardButtons[i]);
  return state;
}

}  // namespace

int WebGamepads::ScaleAxis(double value) {
  const double raw = std::clamp(std::round(value * 32767.0), -32768.0, 32767.0);
  const int scaled = static_cast<int>(raw) * 1000 / 32767;
  return std::clamp(scaled, -1000, 1000);
}

bool WebGamepads::Sample(const int (&pauseButtons)[2]) {
  pads.clear();
  if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return false;
  const int count = std::max(0, emscripten_get_num_gamepads());
  startHeld.resize(static_cast<std::size_t>(count), false);
  bool startPressed = false;
  for (int i = 0; i < count; ++i) {
    EmscriptenGamepadEvent pad;
    if (emscripten_get_gamepad_status(i, &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected) {
      startHeld[i] = false;
      continue;
    }
    const bool standard = std::strcmp(pad.mapping, "standard") == 0;
    pads.push_back(Describe(pad, standard));
    const ControllerState& state = pads.back();
    bool start = false;
    for (int button : pauseButtons) {
      start =
          start || (button >= 0 && button < ControllerState::kButtonCount && state.buttons[button]);
    }
    startPressed = startPressed || (start && !startHeld[i]);
    startHeld[i] = start;
  }
  return startPressed;
}

bool WebGamepads::Read(int index, ControllerState& state) const {
  state = ControllerState{};
  if (index < 0 || index >= GetCount()) return false;
  state = pads[static_cast<std::size_t>(index)];
  return true;
}

}  // namespace vorlith
