#include "platform/sdl/SdlEventWait.h"

#include <SDL.h>

#include <algorithm>

namespace vorlith {

bool SdlEventWait::Wait(SDL_Event& event, int timeoutMs) {
  if (!SDL_WasInit(SDL_INIT_JOYSTICK) || SDL_NumJoysticks() == 0) {
    return SDL_WaitEventTimeout(&event, timeoutMs) != 0;
  }
  SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
  const Uint32 start = SDL_GetTicks();
  const bool forever = timeoutMs < 0;
  bool got = false;
  for (;;) {
    SDL_JoystickUpdate();
    const int left =
        forever ? kJoystickStepMs + 1 : timeoutMs - static_cast<int>(SDL_GetTicks() - start);
    if (SDL_WaitEventTimeout(&event, std::clamp(left, 0, kJoystickStepMs))) {
      got = true;
      break;
    }
    if (left <= kJoystickStepMs) break;
  }
  SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "1");
  return got;
}

}  // namespace vorlith
