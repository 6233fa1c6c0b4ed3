// The unit tests never need a display, a sound card or a sound server: point SDL and
// OpenAL Soft at their offscreen and silent back ends before any test runs, unless the
// caller chose otherwise. The player's folders (high scores, replays, settings) lie under a
// scratch folder whatever the caller's environment, so no test reaches the real ones.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct HeadlessEnvironment {
  HeadlessEnvironment() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    const std::string scratch =
        (std::filesystem::temp_directory_path() / "vorlith-unit-tests").string();
    setenv("XDG_DATA_HOME", (scratch + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (scratch + "/config").c_str(), 1);
  }
};

const HeadlessEnvironment headlessEnvironment;

}  // namespace
