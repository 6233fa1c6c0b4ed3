#include "platform/sdl/SdlClock.h"

#include <SDL.h>

namespace vorlith {

std::uint32_t SdlClock::GetTicks() {
  return SDL_GetTicks();
}

void SdlClock::Sleep(std::uint32_t milliseconds) {
  SDL_Delay(milliseconds);
}

}  // namespace vorlith
