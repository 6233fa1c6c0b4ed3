// The desktop's platform, on Linux and on Windows: SDL for the window, input, clock and
// message boxes, OpenGL for drawing, sound through OpenAL (Linux) or SDL's audio output
// (Windows, which has no OpenAL); and the headless one on the same clock.
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
#ifdef _WIN32
#include "platform/sdlaudio/SdlAudioSystem.h"
#else
#include "platform/openal/OpenAlAudioSystem.h"
#endif

namespace vorlith {
namespace {

#ifdef _WIN32
using SoundOutput = SdlAudioSystem;
#else
using SoundOutput = OpenAlAudioSystem;
#endif

// The SDL session outlives the members that use SDL.
struct DesktopPlatform : Platform {
  ~DesktopPlatform() override {
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
  auto platform = std::make_unique<DesktopPlatform>();
  if (!platform->session->GetVideoProblem().empty()) {
    std::fprintf(stderr, "vorlith: %s\n", platform->session->GetVideoProblem().c_str());
    return nullptr;
  }
  auto window = std::make_unique<SdlWindow>();
  SdlWindow* sdlWindow = window.get();
  platform->window = std::move(window);
  platform->dialogs = std::make_unique<SdlDialogs>();
  platform->clock = std::make_unique<SdlClock>();
  platform->audioSystem = std::make_unique<SoundOutput>(std::make_unique<SilentAudioSystem>());
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
