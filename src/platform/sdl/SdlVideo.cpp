#include "platform/sdl/SdlVideo.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "base/ForeignAllocationScope.h"

namespace vorlith {
namespace {

const char* const kHowToRunHeadless =
    "; without a display, use --headless --replay FILE, or SDL_VIDEODRIVER=offscreen for "
    "pictures";

bool IsSet(const char* value) {
  return value && *value;
}

// Drivers that open no window anyone can see.
bool ShowsNothing(const char* driver) {
  return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
         std::strcmp(driver, "evdev") == 0;
}

}  // namespace

std::string SdlVideoProblem(const char* requestedDriver, const char* display,
                            const char* waylandDisplay, const char* chosenDriver,
                            const char* error) {
  if (IsSet(requestedDriver)) {
    if (chosenDriver || !error) return "";
    return std::string("no display: SDL_VIDEODRIVER=") + requestedDriver + " failed (" + error +
           ")";
  }
  if (!IsSet(display) && !IsSet(waylandDisplay)) {
    return std::string("no display: neither DISPLAY nor WAYLAND_DISPLAY is set") +
           kHowToRunHeadless;
  }
  if (chosenDriver && !ShowsNothing(chosenDriver)) return "";
  if (!chosenDriver && !error) return "";  // not started yet
  std::string where = IsSet(display) ? std::string("DISPLAY=") + display : std::string();
  if (IsSet(waylandDisplay)) {
    where += (where.empty() ? "" : " or ") + std::string("WAYLAND_DISPLAY=") + waylandDisplay;
  }
  std::string reason = chosenDriver ? std::string("only the '") + chosenDriver + "' driver started"
                                    : std::string(error);
  return "no display: cannot open " + where + " (" + reason + ")" + kHowToRunHeadless;
}

std::string OpenSdlVideo() {
  const char* requested = std::getenv("SDL_VIDEODRIVER");
#ifdef _WIN32
  // Windows always has its desktop (DISPLAY names nothing there).
  const char* display = "the desktop";
  const char* wayland = nullptr;
#else
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
#endif
  std::string problem = SdlVideoProblem(requested, display, wayland, nullptr, nullptr);
  if (!problem.empty()) return problem;
  int failed = 0;
  {
    ForeignAllocationScope driverAllocations;
    failed = SDL_InitSubSystem(SDL_INIT_VIDEO);
  }
  problem = SdlVideoProblem(requested, display, wayland,
                            failed ? nullptr : SDL_GetCurrentVideoDriver(), SDL_GetError());
  if (!problem.empty() && !failed) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return problem;
}

}  // namespace vorlith
