#pragma once

union SDL_Event;

namespace vorlith {

// Waiting for the next SDL event without spending CPU. While a joystick is attached,
// SDL_WaitEventTimeout does not sleep: it polls the joysticks every millisecond (a few per
// cent of a core, for as long as the game waits). Here SDL's own joystick updates are off
// during the wait; the joysticks are updated every kJoystickStepMs instead, which queues
// their button presses (Start) and devices coming or going as events.
class SdlEventWait {
 public:
  static constexpr int kJoystickStepMs = 100;

  // Like SDL_WaitEventTimeout: true with the event, false when timeoutMs passed (a negative
  // timeout waits for good).
  static bool Wait(SDL_Event& event, int timeoutMs);
};

}  // namespace vorlith
