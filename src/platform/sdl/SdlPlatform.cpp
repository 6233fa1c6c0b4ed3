#include <SDL.h>
#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/ForeignAllocationScope.h"
#include "platform/Platform.h"
#include "platform/gl/GlRenderDevice.h"
#include "platform/openal/OpenAlAudioSystem.h"
#include "platform/sdl/FontConfigAhead.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlDialogs.h"
#include "platform/sdl/SdlInputDevices.h"
#include "platform/sdl/SdlVideo.h"
#include "platform/sdl/SdlWindow.h"

namespace vorlith {
namespace {

// Message boxes draw Japanese text only under a UTF-8 locale; SDL reads it from the
// environment when it shows a box.
void PreferUtf8Locale() {
  if (!std::setlocale(LC_CTYPE, "")) return;
  const char* codeset = nl_langinfo(CODESET);
  const bool utf8 = codeset && std::strcmp(codeset, "UTF-8") == 0;
  std::setlocale(LC_CTYPE, "C");
  if (!utf8) setenv("LC_ALL", "C.UTF-8", 1);
}

// Owns SDL's initialisation for the lifetime of the real platform.
struct SdlPlatform : Platform {
  SdlPlatform() {
    PreferUtf8Locale();
    StartFontConfigAhead();  // read while the video driver and the window start
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_Init(SDL_INIT_EVENTS);
    videoProblem = OpenSdlVideo();
    ForeignAllocationScope driverAllocations;
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  ~SdlPlatform() override {
    inputDevices.reset();
    window.reset();
    dialogs.reset();
    SDL_Quit();
  }

  std::string videoProblem;
};

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform() {
  auto platform = std::make_unique<SdlPlatform>();
  if (!platform->videoProblem.empty()) {
    std::fprintf(stderr, "vorlith: %s\n", platform->videoProblem.c_str());
    return nullptr;
  }
  auto window = std::make_unique<SdlWindow>();
  SdlWindow* sdlWindow = window.get();
  platform->window = std::move(window);
  platform->dialogs = std::make_unique<SdlDialogs>();
  platform->clock = std::make_unique<SdlClock>();
  platform->audioSystem = std::make_unique<OpenAlAudioSystem>();
  platform->inputDevices = std::make_unique<SdlInputDevices>(sdlWindow);
  platform->makeRenderDevice = [sdlWindow] { return CreateGlRenderDevice(sdlWindow); };
  platform->deviceFailureReason = [] { return std::string(SDL_GetError()); };
  return platform;
}

}  // namespace vorlith
