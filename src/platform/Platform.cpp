#include "platform/Platform.h"

#include "platform/headless/HeadlessRenderDevice.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/SilentAudioSystem.h"
#include "platform/headless/StderrDialogs.h"
#ifdef __EMSCRIPTEN__
#include "platform/web/WebClock.h"
#else
#include "platform/sdl/SdlClock.h"
#endif

namespace vorlith {
namespace {

class NoInputDevices : public InputDevices {
 public:
  bool ReadKeyboard(KeyboardState& state) override {
    state = KeyboardState{};
    return false;
  }
  int GetControllerCount() const override { return 0; }
  bool ReadController(int, ControllerState&) override { return false; }
};

}  // namespace

Platform::~Platform() = default;

std::unique_ptr<Platform> CreateHeadlessPlatform() {
  auto platform = std::make_unique<Platform>();
  platform->window = std::make_unique<HeadlessWindow>();
  platform->dialogs = std::make_unique<StderrDialogs>();
#ifdef __EMSCRIPTEN__
  platform->clock = std::make_unique<WebClock>();
#else
  platform->clock = std::make_unique<SdlClock>();
#endif
  platform->audioSystem = std::make_unique<SilentAudioSystem>();
  platform->inputDevices = std::make_unique<NoInputDevices>();
  platform->makeRenderDevice = [] { return std::make_unique<HeadlessRenderDevice>(); };
  return platform;
}

std::unique_ptr<Dialogs> CreateStderrDialogs() {
  return std::make_unique<StderrDialogs>();
}

}  // namespace vorlith
