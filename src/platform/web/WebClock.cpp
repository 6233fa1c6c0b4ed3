#include "platform/web/WebClock.h"

#include <emscripten.h>

#include <cmath>

namespace vorlith {

std::uint32_t WebClock::GetTicks() {
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::floor(emscripten_get_now())));
}

void WebClock::Sleep(std::uint32_t milliseconds) {
  if (milliseconds > 0) emscripten_sleep(milliseconds);
}

}  // namespace vorlith
