#pragma once

#include <string>

namespace vorlith {

// Starts SDL's video on a real display. A driver that shows nothing (offscreen, dummy) is
// used only when SDL_VIDEODRIVER asks for it. Returns "" on success, otherwise one line
// saying what is missing and how to run without a display (video then stays off).
std::string OpenSdlVideo();

// The same decision on given values: the environment's SDL_VIDEODRIVER, DISPLAY and
// WAYLAND_DISPLAY (null when unset) and, once SDL has started, the driver it chose (null
// before, or when it could not start: error is then SDL's reason).
std::string SdlVideoProblem(const char* requestedDriver, const char* display,
                            const char* waylandDisplay, const char* chosenDriver,
                            const char* error);

}  // namespace vorlith
