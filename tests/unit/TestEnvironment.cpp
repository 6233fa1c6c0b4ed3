// The unit tests never need a display, a sound card or a sound server: point SDL and
// OpenAL Soft at their offscreen and silent back ends before any test runs, unless the
// caller chose otherwise.
#include <cstdlib>

namespace {

struct HeadlessEnvironment {
  HeadlessEnvironment() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
  }
};

const HeadlessEnvironment headlessEnvironment;

}  // namespace
