// The Windows platform: SDL for the window, input, clock, message boxes and sound, OpenGL for
// drawing; and the headless one on the same clock.
#include <cstdio>
#include <memory>

#include "platform/Platform.h"
#include "platform/gl/GlRenderDevice.h"
#include "platform/gl/GlSdlContext.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/SilentAudioSystem.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlDialogs.h"
#include "platform/sdl/SdlInputDevices.h"
#include "platform/sdl/SdlSession.h"
#include "platform/sdl/SdlWindow.h"
#include "platform/sdlaudio/SdlAudioSystem.h"

namespace vorlith {
namespace {

// The SDL session outlives the members that use SDL.
struct WindowsPlatform : Platform {
  ~WindowsPlatform() override {
    inputDevices.reset();
    audioSystem.reset();
    window.reset();
    dialogs.reset();
    session.reset();
  }

  std::unique_ptr<SdlSession> session = std::make_unique<SdlSession>();
};

}  // namespace

std::unique_ptr<Platform> CreatePlatform() {
  auto platform = std::make_unique<WindowsPlatform>();
  if (!platform->session->GetVideoProblem().empty()) {
    std::fprintf(stderr, "vorlith: %s\n", platform->session->GetVideoProblem().c_str());
    return nullptr;
  }
  auto window = std::make_unique<SdlWindow>();
  SdlWindow* sdlWindow = window.get();
  platform->window = std::move(window);
  platform->dialogs = std::make_unique<SdlDialogs>();
  platform->clock = std::make_unique<SdlClock>();
  platform->audioSystem = std::make_unique<SdlAudioSystem>(std::make_unique<SilentAudioSystem>());
  platform->inputDevices = std::make_unique<SdlInputDevices>(sdlWindow);
  platform->makeRenderDevice = [sdlWindow] {
    return GlRenderDevice::Open(GlSdlContext::Open(sdlWindow->GetSdlWindow()));
  };
  platform->deviceFailureReason = [] { return GlSdlContext::GetError(); };
  return platform;
}

std::unique_ptr<Platform> CreateHeadlessPlatform() {
  return MakeHeadlessPlatform(std::make_unique<SdlClock>());
}

}  // namespace vorlith
